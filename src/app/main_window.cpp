#include "app/main_window.h"

TForm1::TForm1(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint) { resize(694, 503); }
