#include "gamedata/save_restore.h"

#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace gamedata {

Restored restoreBackup(const std::vector<SaveFile>& files, const SaveFile& backup,
                       const QString& saveFolder) {
    Restored result;
    const QFileInfo info(backup.path);
    const QString suffix = info.suffix().toLower();
    // The save file of the backup's kind in use now; when there is none, the name the emulator
    // gives it: the backups' folder names the game and its hash ("Game.<hash>").
    for (const SaveFile& file : files) {
        if (file.kind != SaveKind::Backup && QFileInfo(file.path).suffix().toLower() == suffix) {
            result.current = file.path;
            break;
        }
    }
    const bool inUse = !result.current.isEmpty();
    if (!inUse)
        result.current = QDir(saveFolder).filePath(info.dir().dirName() + '.' + info.suffix());

    if (inUse) {
        // Beside the other backups, under the next number.
        int next = 0;
        for (const QFileInfo& other : info.dir().entryInfoList(QDir::Files))
            next = std::max(next, other.completeBaseName().toInt() + 1);
        result.keptAs = info.dir().filePath(QString::number(next) + '.' + info.suffix());
        if (QFileInfo::exists(result.keptAs) || !QDir().rename(result.current, result.keptAs)) {
            result.error =
                platform::fileErrorText(result.current, QStringLiteral("Cannot be moved"));
            return result;
        }
    }
    QDir().mkpath(QFileInfo(result.current).absolutePath());
    QFile source(backup.path);
    if (!source.copy(result.current)) {
        result.error = platform::fileErrorText(result.current, source.errorString());
        if (inUse)
            QDir().rename(result.keptAs, result.current);
    }
    return result;
}

} // namespace gamedata
