// The controller mapping: the Controls tab's "Map controls..." opens the mapping window for the
// virtual port and device type the tab shows.

#include "app/main_window.h"

#include "input/mapping_window.h"
#include "launch/launcher.h"
#include "settings/settings_model.h"
#include "settings/settings_panel.h"
#include "settings/settings_table.h"

#include <QComboBox>

void TForm1::MapControlsClick() {
    const int port = settingsModel_->currentPort();
    const int device = settingsModel_->portDevice(port);
    const QStringList& words = settings::deviceWords();
    const QString word = device >= 0 && device < words.size() ? words[device] : QString();
    const auto* list = static_cast<QComboBox*>(PageControl1->widgetFor(settings::Ctl::ComboBox15));
    input::mapControls(this, paths_.folder, port + 1, word, list->currentText(),
                       [this] { return launcher_ && launcher_->running(); });
}
