#include "i18n/messages.h"
#include "library/disc_image.h"
#include "library/game_list.h"
#include "test_support.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace library;

namespace {

int run(const QString& program, const QStringList& arguments,
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace

TEST(Mkdisc, WritesTheHeaderFieldsAndVariantsAskedFor) {
    testsupport::TempFolder dir;
    const QString mkdisc = testsupport::toolPath("mkdisc");
    ASSERT_EQ(run(mkdisc, {"cue", dir.path(), "Lower", "--product", "GS-9001", "--area", "JT",
                           "--cooked", "--lower", "--lf"}),
              0);
    DiscHeader header;
    const ResolvedImage image = resolveImage(dir.file("Lower.cue"), &header);
    EXPECT_TRUE(image.isSaturn);
    EXPECT_EQ(image.headerOffset, 0);
    EXPECT_EQ(header.fields[ProductNumber], "GS-9001   ");
    EXPECT_EQ(header.fields[AreaSymbols].trimmed(), "JT");
    EXPECT_FALSE(testsupport::readAll(dir.file("Lower.cue")).contains("\r"));

    ASSERT_EQ(run(mkdisc, {"ccd", dir.path(), "Other", "--not-saturn"}), 0);
    EXPECT_FALSE(resolveImage(dir.file("Other.ccd")).isSaturn);
    ASSERT_EQ(run(mkdisc, {"ccd", dir.path(), "Cut", "--truncate", "20"}), 0);
    EXPECT_FALSE(resolveImage(dir.file("Cut.ccd")).isSaturn);
    EXPECT_NE(run(mkdisc, {"iso", dir.path(), "X"}), 0);
}

TEST(DemoGames, ScriptFillsAnApplicationFolderThatLoadsThreeGames) {
#ifdef Q_OS_WIN
    GTEST_SKIP() << "scripts/demo-games.sh is a shell script of the Linux demo (the Windows "
                    "demo folder is made on Linux)";
#endif
    i18n::initMessageTable();
    testsupport::TempFolder app;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("MKDISC", testsupport::toolPath("mkdisc"));
    ASSERT_EQ(run("bash", {QStringLiteral(VARNIX_SOURCE_DIR "/scripts/demo-games.sh"), app.path()},
                  environment),
              0);
    EXPECT_TRUE(testsupport::readAll(app.file("List.ini")).endsWith("Twin Discs.m3u\r\n"));
    GameList list(app.path());
    list.startUp();
    ASSERT_TRUE(list.waitForStartUpCheck());
    ASSERT_EQ(list.model()->count(), 3);
    EXPECT_EQ(list.model()->at(0).gameName, "Demo");
    EXPECT_EQ(list.model()->at(1).gameName, "Sample Game");
    EXPECT_EQ(list.model()->at(2).gameName, "Twin Discs (Disc 1)");
    EXPECT_EQ(list.model()->at(2).gameId, "T-00002G");
}
