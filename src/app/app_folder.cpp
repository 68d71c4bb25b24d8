#include "app/app_folder.h"

#include "platform/paths.h"
#include "platform/user_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Whether a folder's Core holds an emulator installation: the emulator (a program, or a link to
// one) or its global configuration. A current folder that merely has some other "Core" is no
// application folder.
bool holdsEmulatorInstallation(const QString& folder) {
    const QString core = folder + QStringLiteral("/Core/");
    const QFileInfo emulator(core + platform::emulatorFileName());
    return (emulator.isFile() && emulator.isExecutable()) ||
           QFileInfo(core + QStringLiteral("mednafen.cfg")).isFile();
}

} // namespace

FolderChoice chooseApplicationFolder(const QString& currentFolder, const QString& folderOption,
                                     const QString& perUserFolder) {
    if (!folderOption.isEmpty()) {
        // A folder named on the command line without Core yet becomes an application folder
        // the way the per-user folder does, instead of ending at the missing emulator.
        const bool prepare =
            !perUserFolder.isEmpty() && !QFileInfo(folderOption + QStringLiteral("/Core")).isDir();
        return {folderOption, false, prepare};
    }
    if (perUserFolder.isEmpty() || holdsEmulatorInstallation(currentFolder))
        return {currentFolder, false, false};
    return {perUserFolder, true, true};
}

bool prepareUserFolder(const QString& folder, const QString& emulator,
                       const QString& languageFolder) {
    const QString core = folder + QStringLiteral("/Core");
    QDir dir;
    if (!dir.mkpath(core + QStringLiteral("/pgconfig")) ||
        !dir.mkpath(core + QStringLiteral("/firmware")))
        return false;

    const QString link = core + QLatin1Char('/') + platform::emulatorFileName();
    const QFileInfo linkInfo(link);
    if (linkInfo.isSymLink() && !linkInfo.exists()) // its emulator was removed or moved
        QFile::remove(link);
    if (!emulator.isEmpty() && !QFileInfo(link).exists() && !QFileInfo(link).isSymLink())
        platform::linkTo(emulator, link);

    const QString res = folder + QStringLiteral("/Res");
    if (!languageFolder.isEmpty() && !QFileInfo::exists(res) && dir.mkpath(res)) {
        for (const char* name : {"Lang.dat", "lang_pic.ico"})
            QFile::copy(languageFolder + QLatin1Char('/') + QLatin1String(name),
                        res + QLatin1Char('/') + QLatin1String(name));
    }
    return true;
}
