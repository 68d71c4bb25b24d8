#pragma once

#include "controls/borderless_window.h"
#include "library/disc_image.h"

#include <QWidget>
#include <array>
#include <functional>

class QLabel;
class QToolButton;

namespace controls {
class GradientBar;
class LabeledEdit;
class TXiButton;
class TXiPanel;
} // namespace controls

namespace library {

// The game properties window: the full disc header of a game and its image path.
class TForm2 : public controls::BorderlessWindow {
    Q_OBJECT

public:
    explicit TForm2(QWidget* mainWindow = nullptr);

    // The skin index in force (the main window's skins selector), read on every activation.
    void setSkinSource(std::function<int()> skinIndex);

    // Gameproperties1Click: reads the header of the game's disc and shows the window modally.
    // Returns false, opening nothing, when the image file no longer exists. Throws
    // platform::IoError when an existing file cannot be read.
    bool showFor(const QString& gamePath);

    // Adds a panel below the header fields, the window growing to hold it; `fill` runs with the
    // game's path each time the window opens for a game. Buttons on the panel take the skin.
    void setExtension(QWidget* panel, std::function<void(const QString& gamePath)> fill);

    // The activation steps: title bar layout, language, fields, "?" enabling, skin.
    void FormActivate();
    void XiButton1Click();
    void XiButton6Click();
    void BExitClick();

    // What an edit shows for a header field: trimmed, and ending at a zero byte.
    static QString fieldText(const QString& field);

    controls::GradientBar* BarTitle;
    QLabel* BTitle;
    controls::GradientBar* BarExit;
    QToolButton* BExit;
    controls::TXiPanel* Xpanel15;
    QLabel* Label1;
    std::array<controls::LabeledEdit*, 10> LabeledEdits{};
    controls::TXiButton* XiButton1;
    controls::TXiButton* XiButton6;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void activated() override { FormActivate(); }

private:
    std::function<int()> skinIndex_;
    QWidget* extension_ = nullptr;
    std::function<void(const QString&)> fillExtension_;
    DiscHeader header_;
    QString path_;
};

} // namespace library
