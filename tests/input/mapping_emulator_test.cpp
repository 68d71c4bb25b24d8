// The controller mapping against the real emulator (Debian's, or the Windows one under Wine):
// the defaults kept as data are the ones a fresh mednafen.cfg holds, and a file changed by the
// mapping loads with every setting.
#include "input/default_mappings.h"
#include "input/global_config.h"
#include "input/mapping_editor.h"
#include "test_support.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace input;

namespace {

class MappingEmulator : public ::testing::Test {
protected:
    void SetUp() override {
        if (testsupport::realEmulator().isEmpty())
            GTEST_SKIP() << "the emulator is not installed";
        ASSERT_FALSE(testsupport::installRealEmulator(app.path()).isEmpty());
        run(); // with no arguments it writes its configuration and ends
        cfg = app.file("Core/mednafen.cfg");
        ASSERT_TRUE(QFileInfo::exists(cfg));
    }

    QString run() { return testsupport::runRealEmulator(app.path(), {}); }

    // "Loaded N valid settings and 0 unknown settings." -> N; -1 when the line is missing.
    static int validSettings(const QString& output) {
        static const QRegularExpression loaded(
            QStringLiteral("Loaded (\\d+) valid settings and 0 unknown settings\\."));
        const QRegularExpressionMatch match = loaded.match(output);
        return match.hasMatch() ? match.captured(1).toInt() : -1;
    }

    testsupport::TempFolder app;
    QString cfg;
};

TEST_F(MappingEmulator, DefaultsAreTheFreshFilesValues) {
    const QByteArray bytes = testsupport::readAll(cfg);
    for (const char* device : {"gamepad", "3dpad", "mouse", "wheel", "mission", "dmission", "gun",
                               "keyboard", "jpkeyboard"}) {
        for (int port : {1, 2, 9}) {
            const QString prefix = QStringLiteral("ss.input.port%1.%2.").arg(port).arg(device);
            const QHash<QString, QString> file = readSettings(bytes, {prefix});
            for (const ButtonDefault& entry : defaultButtons(QString::fromLatin1(device))) {
                const QString name = prefix + QLatin1String(entry.name);
                ASSERT_TRUE(file.contains(name)) << name.toStdString();
                EXPECT_EQ(file.value(name),
                          QString::fromUtf8(port == 1 ? entry.port1 : entry.otherPorts))
                    << name.toStdString();
            }
        }
    }
    // The command keys are 1.29's; a later version may have dropped an alternative (1.32 quits
    // with F12 only, no longer with Escape).
    const QHash<QString, QString> commands = readSettings(bytes, {QStringLiteral("command.")});
    for (const CommandDefault& entry : defaultCommands()) {
        const QString file = commands.value("command." + QLatin1String(entry.name));
        const QString kept = QString::fromLatin1(entry.mapping);
        EXPECT_TRUE(file == kept || (!file.isEmpty() && kept.startsWith(file + " || ")))
            << entry.name << ": " << file.toStdString();
    }
}

TEST_F(MappingEmulator, ThreeChangedButtonsLoadWithEveryOtherLineKept) {
    const int fresh = validSettings(run());
    ASSERT_GT(fresh, 1000);
    const QByteArray before = testsupport::readAll(cfg);

    MappingEditor editor(1, QStringLiteral("gamepad"),
                         readSettings(before, MappingEditor::prefixes(1, "gamepad")));
    editor.setKey(5, 13, false); // A: J
    editor.setKey(4, 44, false); // START: Space
    editor.clear(7);             // C
    writeSettings(cfg, editor.changes());

    const QList<QByteArray> old = before.split('\n');
    const QList<QByteArray> now = testsupport::readAll(cfg).split('\n');
    ASSERT_EQ(now.size(), old.size());
    QStringList changed;
    for (qsizetype i = 0; i < now.size(); ++i)
        if (now[i] != old[i])
            changed << QString::fromLatin1(now[i]);
    EXPECT_EQ(changed,
              QStringList({"ss.input.port1.gamepad.a keyboard 0x0 13", "ss.input.port1.gamepad.c ",
                           "ss.input.port1.gamepad.start keyboard 0x0 44"}));

    EXPECT_EQ(validSettings(run()), fresh);
}

} // namespace
