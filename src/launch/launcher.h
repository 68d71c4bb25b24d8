#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QProcess;
class QWidget;

namespace launch {

class TForm3;

// Starts the emulator on a game and waits for it without freezing the window: BIOS check,
// disc choice for playlists, then Core/mednafen(.exe) -force_module ss -which_medium N <path>
// from the Core folder. emulatorStarted and emulatorFinished let the main window hide and come
// back.
class GameLauncher : public QObject {
    Q_OBJECT

public:
    GameLauncher(const QString& applicationFolder, TForm3* cdWindow, QWidget* mainWindow,
                 QObject* parent = nullptr);
    ~GameLauncher() override;

    // Runs the whole launch; returns once the emulator has ended (or did not start).
    void launch(const QString& gamePath, const QString& japaneseBiosField,
                const QString& usaEuropeBiosField);

    // Whether an emulator started by this launcher is running (launch() is waiting for it).
    bool running() const { return running_; }
    // Asks the running emulator to end as closing its window does; launch() then returns as
    // after any end. Nothing happens when none runs.
    void stop();

signals:
    void emulatorStarted();
    void emulatorFinished();
    // The emulator ran on the game (its List.ini entry): started, and ended, normally (status 0)
    // or not. gameEnded follows emulatorFinished, before a failure is explained.
    void gameStarted(const QString& listedPath);
    void gameEnded(const QString& listedPath, bool normal);

private:
    TForm3* discWindow();

    QString folder_;
    TForm3* cdWindow_;
    QWidget* mainWindow_;
    QPointer<TForm3> ownedCdWindow_; // made on first need when no window was handed in
    bool running_ = false;
    QProcess* process_ = nullptr; // the running emulator, while launch() waits for it
};

} // namespace launch
