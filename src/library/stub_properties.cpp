// Placeholder; replaced by the real properties window.
#include "library/properties_window.h"

namespace library {
TForm2::TForm2(QWidget* mainWindow) : QWidget(mainWindow, Qt::Window | Qt::FramelessWindowHint) {}
void TForm2::setSkinSource(std::function<int()>) {}
bool TForm2::showFor(const QString&) {
    return false;
}
} // namespace library
