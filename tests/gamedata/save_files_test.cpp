#include "gamedata/save_files.h"
#include "gamedata/save_restore.h"
#include "test_support.h"

#include <QDir>
#include <algorithm>
#include <gtest/gtest.h>

using namespace gamedata;
using testsupport::TempFolder;

namespace {

const QByteArray md5 = "0123456789abcdef0123456789abcdef";

// The files found, as paths below the folder, with their kind and slot.
QStringList found(const TempFolder& app, const SaveRules& rules, const QString& game) {
    QStringList names;
    for (const SaveFile& file : findSaveFiles(app.file("Core"), rules, game))
        names << QDir(app.file("Core")).relativeFilePath(file.path) + " " +
                     QString::number(static_cast<int>(file.kind)) + " " +
                     QString::number(file.slot);
    return names;
}

} // namespace

TEST(SaveFiles, FoundByTheEmulatorsDefaultRules) {
    TempFolder app;
    const QString game = app.file("games/Panzer Dragoon.cue");
    app.write("Core/sav/Panzer Dragoon." + md5 + ".bkr", "b");
    app.write("Core/sav/Panzer Dragoon." + md5 + ".bcr", "c");
    app.write("Core/sav/Panzer Dragoon.smpc", "clock without the hash");
    app.write("Core/mcs/Panzer Dragoon." + md5 + ".mc3", "s");
    app.write("Core/mcs/Panzer Dragoon." + md5 + ".mc0", "s");
    app.write("Core/b/Panzer Dragoon." + md5 + "/0.bkr", "old");
    // Not this game's: another base, a short hash, another kind of file.
    app.write("Core/sav/Panzer Dragoon II." + md5 + ".bkr", "x");
    app.write("Core/sav/Panzer Dragoon.0123.bkr", "x");
    app.write("Core/sav/Panzer Dragoon." + md5 + ".sav", "x");
    EXPECT_EQ(found(app, SaveRules(), game),
              QStringList({"sav/Panzer Dragoon." + md5 + ".bkr 0 -1",
                           "sav/Panzer Dragoon." + md5 + ".bcr 1 -1",
                           "sav/Panzer Dragoon.smpc 2 -1", "mcs/Panzer Dragoon." + md5 + ".mc0 3 0",
                           "mcs/Panzer Dragoon." + md5 + ".mc3 3 3",
                           "b/Panzer Dragoon." + md5 + "/0.bkr 4 0"}));
}

TEST(SaveFiles, CustomRulesFromTheGlobalFileAndTheProfile) {
    TempFolder app;
    const QString game = app.file("games/Gamma.m3u");
    const QString saves = app.file("elsewhere");
    app.write("Core/mednafen.cfg", ("filesys.path_sav " + saves +
                                    "\nfilesys.fname_state %s-%f.%X\n"
                                    "filesys.path_state mcs\n")
                                       .toUtf8());
    app.write("Core/pgconfig/Gamma.ss.cfg", "filesys.path_state states\n");
    app.write("elsewhere/Gamma." + md5 + ".bkr", "b");
    app.write("Core/states/ss-Gamma.mc1", "s");
    app.write("Core/mcs/ss-Gamma.mc2", "not read: the profile moves the states");
    const SaveRules rules = readSaveRules(app.file("Core"), app.file("Core/pgconfig/Gamma.ss.cfg"));
    EXPECT_EQ(rules.pathState, "states");
    EXPECT_EQ(found(app, rules, game),
              QStringList({"../elsewhere/Gamma." + md5 + ".bkr 0 -1", "states/ss-Gamma.mc1 3 1"}));
    EXPECT_EQ(saveFolder(app.file("Core"), rules, game), saves);
}

TEST(SaveFiles, RestoreMovesTheCurrentSaveAsideAndDeletesNothing) {
    TempFolder app;
    const QString game = app.file("games/G.cue");
    const QString current = app.write("Core/sav/G." + md5 + ".bkr", "now");
    // The emulator's backups are gzip streams, and it takes the backup under 0 to 9 in turn.
    const QByteArray oldPacked("\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\x03\xcb\xcf\x49\x51\x28"
                               "\x4e\x2c\x4b\x05\x00\x65\xcc\x79\x06\x08\x00\x00\x00",
                               28);
    app.write("Core/b/G." + md5 + "/0.bkr", oldPacked);
    app.write("Core/b/G." + md5 + "/1.bkr", "older");
    app.write("Core/b/G." + md5 + "/C.bkr", QByteArray(1, '\1'));
    const std::vector<SaveFile> files = findSaveFiles(app.file("Core"), SaveRules(), game);
    const auto backup = std::find_if(files.begin(), files.end(), [](const SaveFile& f) {
        return f.kind == SaveKind::Backup && f.slot == 0;
    });
    ASSERT_NE(backup, files.end());
    const Restored restored = restoreBackup(files, *backup, app.file("Core/sav"));
    EXPECT_TRUE(restored.error.isEmpty()) << restored.error.toStdString();
    EXPECT_EQ(restored.current, current);
    EXPECT_EQ(restored.keptAs, app.file("Core/b/G." + md5 + "/10.bkr"));
    EXPECT_EQ(testsupport::readAll(current), "old save");
    EXPECT_EQ(testsupport::readAll(restored.keptAs), "now");
    EXPECT_EQ(testsupport::readAll(app.file("Core/b/G." + md5 + "/0.bkr")), oldPacked);
    EXPECT_EQ(testsupport::readAll(app.file("Core/b/G." + md5 + "/1.bkr")), "older");

    // Where no save file of the kind is the game's, a file under the emulator's default name
    // (kept by other naming rules) is not written over.
    app.write("Core/sav/G." + md5 + ".bkr", "not the game's");
    const Restored refused = restoreBackup({*backup}, *backup, app.file("Core/sav"));
    EXPECT_FALSE(refused.error.isEmpty());
    EXPECT_EQ(testsupport::readAll(current), "not the game's");
}
