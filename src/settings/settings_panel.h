#pragma once

#include "settings/settings_model.h"

#include <QList>
#include <QSlider>
#include <QTabWidget>
#include <array>
#include <vector>

class QComboBox;
class QLineEdit;
class QMenu;

namespace settings {

class SettingsModel;

// A horizontal track bar that fills its channel from the low end up to the thumb, the way the
// original track bars show their highlighted selection range.
class TrackBar : public QSlider {
    Q_OBJECT

public:
    explicit TrackBar(QWidget* parent = nullptr);

    // The filled stretch of the channel in widget coordinates; empty at the low end.
    QRect selectionRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The tabbed settings panel (design name PageControl1): "General", "Video", "Audio",
// "Controls", every control named by its design name. It shows the model's state and forwards
// the user's actions to it; the four "Path" buttons open the ROM file dialog themselves.
class SettingsPanel : public QTabWidget {
    Q_OBJECT

public:
    explicit SettingsPanel(SettingsModel* model, QWidget* parent = nullptr);
    SettingsModel* model() const { return model_; }

    // The widget that shows a control of the model (QCheckBox, QComboBox, TrackBar or
    // controls::LabeledEdit).
    QWidget* widgetFor(Ctl ctl) const { return widgets_[static_cast<size_t>(ctl)]; }
    // The read-only value box beside a track bar; null for other controls.
    QLineEdit* valueBoxFor(Ctl bar) const { return valueBoxes_[static_cast<size_t>(bar)]; }

    // Shows the model's whole state again: every control, value box and enabled state.
    void showModel();

    // The settings the global configuration alone gives for the shown game (null: none known).
    // Every control whose setting differs from them carries a mark (a small dot in its corner)
    // and its tooltip ends with "Global: <value>"; the marks follow every change.
    void setGlobalSettings(const SettingsModel* global);
    const std::vector<Ctl>& markedControls() const { return marked_; }
    // The controls whose settings the emulator does not know: shown disabled, their tooltip
    // saying so; their lines are still written.
    void setUnknownSettings(const std::vector<Ctl>& unknown);
    // A control's setting, or every setting, back to the global value (unsaved until saved).
    void useGlobalValue(Ctl ctl);
    void resetToGlobal();
    // Fills the Controls tab's help lists from the message table (again after a translation).
    void showHelpLists();
    // The context menu a control offers: "Use the global value", enabled while it is marked
    // (a path edit's own entries come first). The caller owns it.
    QMenu* contextMenuFor(Ctl ctl);
    // A line under "Device type" saying that no input drives the shown device on the shown
    // port, with a link to the mapping window.
    void showNoKeysNotice(bool show);
signals:
    // "Map controls..." in the Controls tab's "Redefine controls" box was pressed.
    void mapControlsRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void fitTexts();
    void widenListForItems(QComboBox* list);
    void placeMapButton();
    void buildGeneral();
    void buildVideo();
    void buildAudio();
    void buildControls();

    QWidget* addPage(const char* objectName, const char* title);
    void bindCheckBox(Ctl ctl, QWidget* parent, const QString& caption, const QRect& geometry);
    void bindComboBox(Ctl ctl, QWidget* parent, const QRect& geometry);
    void bindTrackBar(Ctl ctl, const char* valueBoxName, QWidget* parent, const QRect& bar,
                      const QRect& valueBox);
    void bindPathEdit(Ctl ctl, QWidget* panel, const QString& caption, const char* buttonName,
                      int x, int y);

    void showControl(Ctl ctl);
    void showMarks();
    QString globalText(Ctl ctl) const;
    void showEnabled(EnableGroup group, bool enabled);
    bool isUnknown(Ctl ctl) const { return unknown_[static_cast<size_t>(ctl)]; }
    bool showsUnknownSetting(const QWidget* widget) const;
    void choosePath(Ctl edit);

    SettingsModel* model_;
    std::array<QWidget*, CtlCount> widgets_{};
    std::array<QLineEdit*, CtlCount> valueBoxes_{};
    std::array<QList<QWidget*>, 4> groups_;
    const SettingsModel* global_ = nullptr;
    std::vector<Ctl> marked_;
    std::array<QWidget*, CtlCount> dots_{};
    int noticeShift_ = 0; // how far the notice under "Device type" pushed the rows below it
    std::array<bool, CtlCount> unknown_{};
};

} // namespace settings
