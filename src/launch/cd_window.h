#pragma once

#include <QWidget>
#include <functional>

namespace launch {

// The CD selection window: asks which disc of a multi-disc game to boot.
class TForm3 : public QWidget {
    Q_OBJECT

public:
    explicit TForm3(QWidget* mainWindow = nullptr);

    // The skin index in force (the main window's skins selector), read on every activation.
    void setSkinSource(std::function<int()> skinIndex);

    // Shows the window modally over the main window with "CD #1" .. "CD #n" and the playlist
    // name; returns the chosen disc's 0-based index, or -1 when the window was closed without
    // "Launch" (the launch is then cancelled).
    int chooseDisc(int discCount, const QString& playlistName);
};

} // namespace launch
