#pragma once

#include "input/mapping_editor.h"

#include <QDialog>
#include <QHash>
#include <functional>

class QLabel;
class QRadioButton;
class QTreeWidget;
class QPushButton;

namespace input {

// The controller mapping window: every button of one device on one virtual port with its
// mapping in words. Clicking a button (or Enter, or "Set key") waits for a key; the key's scan
// code replaces the button's keys or is added to them. Escape cancels the wait, Delete clears
// the button, "Defaults" puts back the emulator's defaults, "Copy from the digital pad" (for
// pad-like devices) gives the buttons they share the port's pad mapping. A key that another button
// of the port or a command key of the emulator uses is named, and taken on a second press. "OK"
// writes the changed lines into the global configuration, unless the emulator runs.
class MappingWindow : public QDialog {
    Q_OBJECT

public:
    MappingWindow(MappingEditor editor, const QString& deviceLabel, const QString& configPath,
                  const QHash<QString, QString>& joystickNames,
                  std::function<bool()> emulatorRunning, QWidget* parent = nullptr);

    const MappingEditor& editor() const { return editor_; }
    QTreeWidget* buttonList() const { return list_; }
    QString statusText() const;
    bool capturing() const { return capturing_; }
    QRadioButton* addKeyChoice() const { return addKey_; }

    void startCapture();
    void cancelCapture();
    void clearButton();
    void restoreDefaults();
    // The buttons the device shares with the digital pad take the port's pad mapping.
    void copyFromPad();
    // Writes the changes and closes; stays open after an error box.
    void okClick();
    // A key pressed while the window waits for one, by its native scan code.
    void keyPressed(quint32 nativeScanCode);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int currentButton() const;
    void showButton(int button);
    void setStatus(const QString& text, bool warning);

    MappingEditor editor_;
    QString configPath_;
    QHash<QString, QString> joysticks_;
    std::function<bool()> emulatorRunning_;
    bool capturing_ = false;
    int confirmUsage_ = 0; // a conflicting key pressed once, taken when pressed again
    QTreeWidget* list_ = nullptr;
    QLabel* status_ = nullptr;
    QRadioButton* replace_ = nullptr;
    QRadioButton* addKey_ = nullptr;
};

// Opens the window for a port (from 1) and a device word of the emulator, modally, over the
// application folder's Core/mednafen.cfg. A missing or unreadable file, a running emulator or a
// device without buttons is told in a box and opens nothing. Returns whether the file changed.
bool mapControls(QWidget* parent, const QString& applicationFolder, int port, const QString& device,
                 const QString& deviceLabel, std::function<bool()> emulatorRunning);

// Whether the emulator runs on this application folder: it holds its lock file while it runs.
bool emulatorHoldsFolder(const QString& applicationFolder);

} // namespace input
