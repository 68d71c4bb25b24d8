// The controller mapping: the Controls tab's "Map controls..." opens the mapping window for the
// virtual port and device type the tab shows, and the tab tells when that device has nothing
// mapped on that port.

#include "app/main_window.h"

#include "input/mapping_editor.h"
#include "input/mapping_window.h"
#include "launch/launcher.h"
#include "settings/profiles.h"
#include "settings/settings_model.h"
#include "settings/settings_panel.h"
#include "settings/settings_table.h"

#include <QComboBox>

namespace {

QString deviceWord(int device) {
    const QStringList& words = settings::deviceWords();
    return device >= 0 && device < words.size() ? words[device] : QString();
}

} // namespace

void TForm1::MapControlsClick() {
    const int port = settingsModel_->currentPort();
    const QString word = deviceWord(settingsModel_->portDevice(port));
    const auto* list = static_cast<QComboBox*>(PageControl1->widgetFor(settings::Ctl::ComboBox15));
    input::mapControls(this, paths_.folder, port + 1, word, list->currentText(),
                       [this] { return launcher_ && launcher_->running(); });
    showNoKeysNotice();
}

void TForm1::buildInputCommands() {
    connect(settingsModel_.get(), &settings::SettingsModel::controlChanged, this,
            [this](settings::Ctl ctl) {
                if (ctl == settings::Ctl::ComboBox15 || ctl == settings::Ctl::ComboBox4)
                    showNoKeysNotice();
            });
}

// A device that no input drives on the shown port (the emulator maps keys only to port 1's
// digital pad) cannot be played there: the tab says so under the device type.
void TForm1::showNoKeysNotice() {
    const int port = settingsModel_->currentPort();
    const QString word = deviceWord(settingsModel_->portDevice(port));
    const settings::ConfigView global = profiles_->globalConfig();
    PageControl1->showNoKeysNotice(input::deviceMapsNothing(
        port + 1, word, [&](const QString& name) -> std::optional<QString> {
            if (const auto found = global.find(name + QLatin1Char(' ')))
                return found->value;
            return std::nullopt;
        }));
}
