// The controller mapping: mapping values, the in-place write of the global configuration and
// the window's capture.
#include "i18n/messages.h"
#include "input/global_config.h"
#include "input/mapping.h"
#include "input/mapping_editor.h"
#include "input/mapping_window.h"
#include "test_support.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

using namespace input;

namespace {

const QString pad = QStringLiteral("joystick 0x0003046dc21a01100002000a00000000 button_3");

// A global configuration as the emulator writes it, with CR LF and LF lines, a port 10 line
// that begins like port 1's, and no line for port 1's "ls".
const QByteArray config = "; Mednafen configuration\r\n"
                          "\r\n"
                          ";ss, Virtual Port 1, Digital Gamepad: A\r\n"
                          "ss.input.port1.gamepad.a keyboard 0x0 89\r\n"
                          "ss.input.port1.gamepad.b keyboard 0x0 90 || " +
                          pad.toLatin1() +
                          "\n"
                          "ss.input.port1.gamepad.c keyboard 0x0 91\r\n"
                          "ss.input.port1.gamepad.up keyboard 0x0 26\r\n"
                          "ss.input.port10.gamepad.a keyboard 0x0 89\r\n"
                          "command.save_state keyboard 0x0 62\r\n"
                          "video.fs 0";

QHash<QString, QString> fileSettings() {
    return readSettings(config, MappingEditor::prefixes(1, QStringLiteral("gamepad")));
}

quint32 nativeCodeOf(int evdev, int windowsSet1) {
#ifdef Q_OS_WIN
    Q_UNUSED(evdev);
    return static_cast<quint32>(windowsSet1);
#else
    Q_UNUSED(windowsSet1);
    return static_cast<quint32>(evdev + 8);
#endif
}

void press(QWidget* target, Qt::Key key, quint32 nativeScanCode) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, nativeScanCode, 0, 0);
    QApplication::sendEvent(target, &event);
}

TEST(GlobalConfig, ChangedButtonsRewriteOnlyTheirLines) {
    MappingEditor editor(1, QStringLiteral("gamepad"), fileSettings());
    // gamepad order: up down left right start a b c x y z ls rs
    editor.setKey(5, 13, false);  // A: J
    editor.clear(7);              // C
    editor.setKey(11, 20, false); // Left Shoulder, which has no line: Q
    const QByteArray written = replaceSettings(config, editor.changes());

    const QByteArray expected = "; Mednafen configuration\r\n"
                                "\r\n"
                                ";ss, Virtual Port 1, Digital Gamepad: A\r\n"
                                "ss.input.port1.gamepad.a keyboard 0x0 13\r\n"
                                "ss.input.port1.gamepad.b keyboard 0x0 90 || " +
                                pad.toLatin1() +
                                "\n"
                                "ss.input.port1.gamepad.c \r\n"
                                "ss.input.port1.gamepad.up keyboard 0x0 26\r\n"
                                "ss.input.port10.gamepad.a keyboard 0x0 89\r\n"
                                "command.save_state keyboard 0x0 62\r\n"
                                "video.fs 0\r\n"
                                "ss.input.port1.gamepad.ls keyboard 0x0 20\r\n";
    EXPECT_EQ(written, expected);
    // Nothing changed: not a byte differs.
    EXPECT_EQ(replaceSettings(config, {}), config);
}

TEST(Mapping, KeyChangesKeepGamepadParts) {
    i18n::initMessageTable();
    MappingEditor editor(1, QStringLiteral("gamepad"), fileSettings());
    editor.setKey(6, 13, false); // B: J replaces the key, the pad's button stays
    EXPECT_EQ(editor.value(6), "keyboard 0x0 13 || " + pad);
    editor.setKey(6, 14, true); // "Add key": K beside J
    EXPECT_EQ(editor.value(6), "keyboard 0x0 13 || " + pad + " || keyboard 0x0 14");

    const QHash<QString, QString> names =
        parseJoystickNames("Initializing joysticks...\n ID: 0x0003046dc21a01100002000a00000000 - "
                           "Logitech Precision Gamepad \n");
    EXPECT_EQ(describeMapping(editor.value(6), names),
              "Keyboard: J or Gamepad Logitech Precision Gamepad: button 3 or Keyboard: K");
    EXPECT_EQ(describeMapping("keyboard 0x0 89", {}), "Keyboard: Keypad 1");
    EXPECT_EQ(describeMapping(QString(), {}), "(not mapped)");
}

class MappingWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        i18n::initMessageTable();
        path = folder.write("Core/mednafen.cfg", config);
    }
    testsupport::TempFolder folder;
    testsupport::FakeDialogs dialogs;
    QString path;
};

TEST_F(MappingWindowTest, KeysAreCapturedConfirmedAndWritten) {
    bool running = false;
    MappingWindow window(MappingEditor(1, QStringLiteral("gamepad"), fileSettings()),
                         QStringLiteral("Digital gamepad"), path, {}, [&] { return running; });
    QTreeWidget* list = window.buttonList();

    list->setCurrentItem(list->topLevelItem(5)); // A
    window.startCapture();
    press(list, Qt::Key_J, nativeCodeOf(36, 0x24));
    EXPECT_FALSE(window.capturing());
    EXPECT_EQ(window.editor().value(5), "keyboard 0x0 13");
    EXPECT_EQ(list->currentItem(), list->topLevelItem(6)); // on to B

    // W drives UP: named, and taken only on a second press.
    window.startCapture();
    press(list, Qt::Key_W, nativeCodeOf(17, 0x11));
    EXPECT_TRUE(window.capturing());
    EXPECT_TRUE(window.statusText().contains("UP")) << window.statusText().toStdString();
    press(list, Qt::Key_W, nativeCodeOf(17, 0x11));
    EXPECT_EQ(window.editor().value(6), "keyboard 0x0 26 || " + pad);

    // F5 saves a state while a game runs; Escape then gives up.
    list->setCurrentItem(list->topLevelItem(7)); // C
    window.startCapture();
    press(list, Qt::Key_F5, nativeCodeOf(63, 0x3F));
    EXPECT_TRUE(window.statusText().contains("F5 save state")) << window.statusText().toStdString();
    press(list, Qt::Key_Escape, nativeCodeOf(1, 0x01));
    EXPECT_FALSE(window.capturing());
    EXPECT_EQ(window.editor().value(7), "keyboard 0x0 91");

    // Not while the emulator runs: it rewrites the file when it ends.
    running = true;
    window.okClick();
    EXPECT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(testsupport::readAll(path), config);
    EXPECT_EQ(window.result(), QDialog::Rejected);

    running = false;
    window.okClick();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(testsupport::readAll(path),
              QByteArray(config)
                  .replace("port1.gamepad.a keyboard 0x0 89", "port1.gamepad.a keyboard 0x0 13")
                  .replace("port1.gamepad.b keyboard 0x0 90", "port1.gamepad.b keyboard 0x0 26"));
}

TEST_F(MappingWindowTest, MissingGlobalFileOpensNothing) {
    QFile::remove(path);
    EXPECT_FALSE(mapControls(nullptr, folder.path(), 1, QStringLiteral("gamepad"),
                             QStringLiteral("Digital gamepad"), {}));
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_FALSE(QFile::exists(path));
}

#ifndef Q_OS_WIN
// The emulator's lock is a flock on Linux; Windows locks differently (tested there by hand).
TEST_F(MappingWindowTest, LockedFolderMeansTheEmulatorRuns) {
    const QString lock = folder.write("Core/mednafen.lck", QByteArray());
    EXPECT_FALSE(emulatorHoldsFolder(folder.path()));
    const int fd = ::open(QFile::encodeName(lock).constData(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    EXPECT_TRUE(emulatorHoldsFolder(folder.path()));
    EXPECT_FALSE(mapControls(nullptr, folder.path(), 1, QStringLiteral("gamepad"),
                             QStringLiteral("Digital gamepad"), {}));
    EXPECT_EQ(dialogs.errors.size(), 1);
    ::close(fd);
    EXPECT_FALSE(emulatorHoldsFolder(folder.path()));
}
#endif

} // namespace

// The emulator maps no key to the 3D pad: the window copies the port's digital pad mapping to
// the buttons both share, and writes only those lines.
TEST_F(MappingWindowTest, TheThreeDPadTakesTheSharedButtonsFromTheDigitalPad) {
    const auto settings = readSettings(config, MappingEditor::prefixes(1, "3dpad"));
    EXPECT_TRUE(deviceMapsNothing(1, "3dpad", [&](const QString& name) -> std::optional<QString> {
        return settings.contains(name) ? std::optional(settings.value(name)) : std::nullopt;
    }));
    MappingWindow window(MappingEditor(1, "3dpad", settings), "3D Control Pad", path, {}, {});
    auto* copy = window.findChild<QPushButton*>("CopyFromPadButton");
    ASSERT_TRUE(copy);
    copy->click();
    QHash<QString, QString> written;
    for (const Setting& change : window.editor().changes())
        written.insert(change.first, change.second);
    EXPECT_EQ(written.size(), 13);
    EXPECT_EQ(written.value("ss.input.port1.3dpad.b"), "keyboard 0x0 90 || " + pad);
    EXPECT_EQ(written.value("ss.input.port1.3dpad.ls"), "keyboard 0x0 95");
    EXPECT_FALSE(written.contains("ss.input.port1.3dpad.mode"));
    window.okClick();
    const QByteArray file = testsupport::readAll(path);
    EXPECT_TRUE(file.contains("ss.input.port1.3dpad.rs keyboard 0x0 97"));
    EXPECT_FALSE(file.contains("3dpad.mode"));
}
