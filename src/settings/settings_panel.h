#pragma once

#include <QTabWidget>

namespace settings {

class SettingsModel;

// The tabbed settings panel (design name PageControl1): "General", "Video", "Audio",
// "Controls", every control named by its design name. It shows the model's state and forwards
// the user's actions to it; the four "Path" buttons open the ROM file dialog themselves.
class SettingsPanel : public QTabWidget {
    Q_OBJECT

public:
    explicit SettingsPanel(SettingsModel* model, QWidget* parent = nullptr);
    SettingsModel* model() const { return model_; }

private:
    SettingsModel* model_;
};

} // namespace settings
