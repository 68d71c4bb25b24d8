// Placeholder implementations; replaced by the real launch.
#include "launch/cd_window.h"
#include "launch/launcher.h"

namespace launch {

TForm3::TForm3(QWidget* mainWindow) : QWidget(mainWindow, Qt::Window | Qt::FramelessWindowHint) {}
void TForm3::setSkinSource(std::function<int()>) {}
int TForm3::chooseDisc(int, const QString&) { return 0; }

GameLauncher::GameLauncher(const QString& f, TForm3* cd, QWidget* mw, QObject* parent)
    : QObject(parent), folder_(f), cdWindow_(cd), mainWindow_(mw) {}
void GameLauncher::launch(const QString&, const QString&, const QString&) {}

} // namespace launch
