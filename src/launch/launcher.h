#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace launch {

class TForm3;

// Starts the emulator on a game and waits for it without freezing the window: BIOS check,
// disc choice for playlists, then Core/mednafen(.exe) -which_medium N <path> from the Core
// folder. emulatorStarted and emulatorFinished let the main window hide and come back.
class GameLauncher : public QObject {
    Q_OBJECT

public:
    GameLauncher(const QString& applicationFolder, TForm3* cdWindow, QWidget* mainWindow,
                 QObject* parent = nullptr);

    // Runs the whole launch; returns once the emulator has ended (or did not start).
    void launch(const QString& gamePath, const QString& japaneseBiosField,
                const QString& usaEuropeBiosField);

signals:
    void emulatorStarted();
    void emulatorFinished();

private:
    QString folder_;
    TForm3* cdWindow_;
    QWidget* mainWindow_;
};

} // namespace launch
