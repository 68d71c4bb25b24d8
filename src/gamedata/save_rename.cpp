#include "gamedata/save_rename.h"

#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace gamedata {

namespace {

// The name with the first occurrence of the old base replaced; empty when it has none.
QString renamed(const QString& name, const QString& oldBase, const QString& newBase) {
    const qsizetype at = name.indexOf(oldBase);
    if (oldBase.isEmpty() || at < 0)
        return QString();
    return name.left(at) + newBase + name.mid(at + oldBase.size());
}

bool exists(const QString& path) {
    return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
}

} // namespace

RenamePlan planSaveRenames(const std::vector<SaveFile>& files, const QString& oldBase,
                           const QString& newBase) {
    RenamePlan plan;
    if (oldBase == newBase)
        return plan;
    QSet<QString> planned;
    for (const SaveFile& file : files) {
        const QFileInfo info(file.path);
        QString from = file.path;
        QString to;
        const QString newName = renamed(info.fileName(), oldBase, newBase);
        if (!newName.isEmpty()) {
            to = info.dir().filePath(newName);
        } else {
            // A backup in a folder named after the game: the folder goes whole.
            const QFileInfo folder(info.absolutePath());
            const QString newFolder = renamed(folder.fileName(), oldBase, newBase);
            if (newFolder.isEmpty())
                continue;
            from = folder.absoluteFilePath();
            to = folder.dir().filePath(newFolder);
        }
        ++plan.files;
        if (planned.contains(from))
            continue;
        planned.insert(from);
        if (exists(to)) {
            plan.clashes.append(QDir::toNativeSeparators(to));
            continue;
        }
        plan.renames.push_back({from, to});
    }
    return plan;
}

RenamePlan planGameSaveRenames(const QString& applicationFolder, const QString& oldGamePath,
                               const QString& profilePath, const QString& newGamePath) {
    const QString oldBase = saveFileBase(oldGamePath);
    const QString newBase = saveFileBase(newGamePath);
    if (oldBase == newBase)
        return {};
    const QString core = QDir(applicationFolder).filePath(QStringLiteral("Core"));
    const QString oldPath = QDir(applicationFolder).absoluteFilePath(oldGamePath);
    return planSaveRenames(findSaveFiles(core, readSaveRules(core, profilePath), oldPath), oldBase,
                           newBase);
}

QString runRenames(const std::vector<Rename>& renames) {
    for (size_t i = 0; i < renames.size(); ++i) {
        // A name taken since the plan is never overwritten.
        QString failure;
        if (exists(renames[i].to))
            failure = platform::fileErrorText(renames[i].to, QStringLiteral("File exists"));
        else if (!QDir().rename(renames[i].from, renames[i].to))
            failure = platform::fileErrorText(renames[i].from, QStringLiteral("Cannot be renamed"));
        if (failure.isEmpty())
            continue;
        for (size_t j = i; j-- > 0;)
            QDir().rename(renames[j].to, renames[j].from);
        return failure;
    }
    return QString();
}

std::vector<Rename> reversedRenames(const std::vector<Rename>& renames) {
    std::vector<Rename> back;
    back.reserve(renames.size());
    for (auto it = renames.rbegin(); it != renames.rend(); ++it)
        back.push_back({it->to, it->from});
    return back;
}

} // namespace gamedata
