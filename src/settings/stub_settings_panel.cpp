// Placeholder; replaced by the real settings panel.
#include "settings/settings_panel.h"

#include <QWidget>

namespace settings {

SettingsPanel::SettingsPanel(SettingsModel* model, QWidget* parent)
    : QTabWidget(parent), model_(model) {
    setObjectName(QStringLiteral("PageControl1"));
    for (const char* name : {"General", "Video", "Audio", "Controls"})
        addTab(new QWidget, QString::fromLatin1(name));
}

} // namespace settings
