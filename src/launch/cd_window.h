#pragma once

#include "controls/borderless_window.h"

#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;

namespace controls {
class GradientBar;
class TXiButton;
class TXiPanel;
} // namespace controls

namespace launch {

// The CD selection window: asks which disc of a multi-disc game to boot.
class TForm3 : public controls::BorderlessWindow {
    Q_OBJECT

public:
    explicit TForm3(QWidget* mainWindow = nullptr);

    // The skin index in force (the main window's skins selector), read on every activation.
    void setSkinSource(std::function<int()> skinIndex);

    // Shows the window modally over the main window with "CD #1" .. "CD #n" and the playlist
    // name; returns the chosen disc's 0-based index, or -1 when the window was closed without
    // "Launch" (the launch is then cancelled).
    int chooseDisc(int discCount, const QString& playlistName);

    // The activation steps: title width, language, skin, label, disc entries, first entry.
    void FormActivate();
    // "Launch": the selected entry becomes the answer and the window closes.
    void XiButton6Click();

    controls::GradientBar* BarTitle;
    QLabel* BTitle;
    controls::TXiPanel* Xpanel15;
    QLabel* Label1;
    QComboBox* ComboBox1;
    controls::TXiButton* XiButton6;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void activated() override { FormActivate(); }

private:
    std::function<int()> skinIndex_;
    int discCount_ = 0;
    QString playlistName_;
    int medium_ = -1;
    bool listFilled_ = false;
};

} // namespace launch
