#include "app/emulator_check.h"

#include "app/app_paths.h"
#include "i18n/messages.h"
#include "platform/process.h"
#include "platform/user_folder.h"

#include <QFileInfo>

EmulatorCheck::Result EmulatorCheck::run() {
    const AppPaths paths{folder_};
    if (!QFileInfo(paths.emulator()).isFile())
        return Result::EmulatorMissing;
    if (QFileInfo::exists(paths.globalConfig()))
        return Result::Ready;
    if (platform::processRunning(writerPid_))
        return Result::ConfigWriterRunning;
    // Started without arguments from its own folder, the emulator writes its default
    // configuration and ends; the launcher does not wait for it.
    writerPid_ = platform::startDetachedWithPid(paths.emulator(), {}, paths.coreFolder(),
                                                platform::emulatorEnvironment(paths.coreFolder()));
    return Result::ConfigWriterStarted;
}

QString EmulatorCheck::missingText() const {
    if (!platform::hasPerUserFolder())
        return i18n::message(0) + QChar(13) + i18n::message(1);
    const AppPaths paths{folder_};
    return i18n::message(i18n::Extra::EmulatorNotIn)
               .arg(platform::emulatorFileName(), platform::displayPath(paths.coreFolder())) +
           QChar(13) +
           i18n::message(i18n::Extra::InstallEmulator).arg(platform::displayPath(paths.emulator()));
}
