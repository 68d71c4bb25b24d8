#include "app/emulator_check.h"
#include "test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// An application folder whose Core/mednafen is the stub emulator.
struct StubApp {
    testsupport::TempFolder dir;
    QString log;

    explicit StubApp(bool withEmulator = true) {
        dir.mkdir("Core");
        log = dir.file("stub.log");
        if (withEmulator)
            testsupport::installStubEmulator(dir.path());
        qputenv("VARNIX_STUB_LOG", log.toLocal8Bit());
    }
    ~StubApp() {
        qunsetenv("VARNIX_STUB_LOG");
        qunsetenv("VARNIX_STUB_WRITE_CFG");
        qunsetenv("VARNIX_STUB_SLEEP_MS");
    }
    // Waits for the detached stub to leave its record (it runs on its own).
    QString waitForLog(int starts = 1) const {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 10000) {
            const QString text = QString::fromLocal8Bit(testsupport::readAll(log));
            if (text.count("home=") >= starts)
                return text;
            QThread::msleep(20);
        }
        return QString::fromLocal8Bit(testsupport::readAll(log));
    }
};

} // namespace

TEST(EmulatorCheck, MissingEmulatorEndsTheLauncher) {
    StubApp app(false);
    EmulatorCheck check(app.dir.path());
    EXPECT_EQ(check.run(), EmulatorCheck::Result::EmulatorMissing);
}

TEST(EmulatorCheck, PresentConfigurationStartsNothing) {
    StubApp app;
    app.dir.write("Core/mednafen.cfg", ";cfg\n");
    EmulatorCheck check(app.dir.path());
    EXPECT_EQ(check.run(), EmulatorCheck::Result::Ready);
    QThread::msleep(100);
    EXPECT_FALSE(QFile::exists(app.log));
}

TEST(EmulatorCheck, MissingConfigurationStartsTheEmulatorOnceFromItsFolder) {
    StubApp app;
    qputenv("VARNIX_STUB_WRITE_CFG", "1");
    qputenv("VARNIX_STUB_SLEEP_MS", "400");
    const QString before = QDir::currentPath();
    EmulatorCheck check(app.dir.path());
    EXPECT_EQ(check.run(), EmulatorCheck::Result::ConfigWriterStarted);
    // A second activation while the first start still runs starts nothing.
    EXPECT_EQ(check.run(), EmulatorCheck::Result::ConfigWriterRunning);
    EXPECT_EQ(QDir::currentPath(), before);
    const QString record = app.waitForLog();
    const QString core = QDir(app.dir.file("Core")).canonicalPath();
    EXPECT_TRUE(record.contains("cwd=" + core)) << record.toStdString();
    EXPECT_TRUE(
        record.contains("home=" + testsupport::expectedEmulatorHome(app.dir.file("Core")) + "\n"))
        << record.toStdString();
    EXPECT_FALSE(record.contains("arg=")) << record.toStdString();
#ifdef Q_OS_WIN
    // "No command-line arguments specified." must not wait in a box of the emulator's own.
    EXPECT_TRUE(record.contains("nopopups=1\n")) << record.toStdString();
#endif
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(app.dir.file("Core/mednafen.cfg")) && timer.elapsed() < 10000)
        QThread::msleep(20);
    QThread::msleep(100);
    EXPECT_EQ(check.run(), EmulatorCheck::Result::Ready);
    EXPECT_EQ(app.waitForLog().count("start"), 1);
}
