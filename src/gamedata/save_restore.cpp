#include "gamedata/save_restore.h"

#include "platform/gzip.h"
#include "platform/io_error.h"
#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace gamedata {

namespace {

// No save file of the console comes near this; a backup that unpacks to more is refused.
constexpr qint64 MaxSaveBytes = 64 * 1024 * 1024;
// The emulator keeps its backups of a save file in turn under the numbers 0 to 9; a file kept
// under one of these would be overwritten by its next backup.
constexpr int EmulatorBackupNumbers = 10;

} // namespace

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
    if (!inUse) {
        result.current = QDir(saveFolder).filePath(info.dir().dirName() + '.' + info.suffix());
        // A file under that name that is not the game's save (other naming rules) stays.
        if (QFileInfo::exists(result.current)) {
            result.error =
                platform::fileErrorText(result.current, QStringLiteral("File already exists"));
            return result;
        }
    }

    if (inUse) {
        // Beside the other backups, under the next number.
        int next = EmulatorBackupNumbers;
        for (const QFileInfo& other : info.dir().entryInfoList(QDir::Files))
            next = std::max(next, other.completeBaseName().toInt() + 1);
        result.keptAs = info.dir().filePath(QString::number(next) + '.' + info.suffix());
        if (QFileInfo::exists(result.keptAs) || !QDir().rename(result.current, result.keptAs)) {
            result.error =
                platform::fileErrorText(result.current, QStringLiteral("Cannot be moved"));
            return result;
        }
    }
    // The emulator writes its backups compressed but reads a save file only as it is: the
    // backup goes back unpacked.
    try {
        QByteArray bytes = platform::readFileBytes(backup.path, MaxSaveBytes);
        if (platform::isGzip(bytes))
            bytes = platform::gunzip(bytes, MaxSaveBytes, backup.path);
        QDir().mkpath(QFileInfo(result.current).absolutePath());
        platform::writeFileAtomic(result.current, bytes);
    } catch (const platform::IoError& e) {
        result.error = e.text();
        if (inUse)
            QDir().rename(result.keptAs, result.current);
    }
    return result;
}

} // namespace gamedata
