#pragma once

#include <QWidget>
#include <functional>

namespace library {

// The game properties window: the full disc header of a game and its image path.
class TForm2 : public QWidget {
    Q_OBJECT

public:
    explicit TForm2(QWidget* mainWindow = nullptr);

    // The skin index in force (the main window's skins selector), read on every activation.
    void setSkinSource(std::function<int()> skinIndex);

    // Gameproperties1Click: reads the header of the game's disc and shows the window modally.
    // Returns false, opening nothing, when the image file no longer exists. Throws
    // platform::IoError when an existing file cannot be read.
    bool showFor(const QString& gamePath);
};

} // namespace library
