#include "platform/single_instance.h"
#include "test_support.h"

#include <QFile>
#include <QLockFile>
#include <QSignalSpy>
#include <gtest/gtest.h>

#ifndef Q_OS_WIN
#include <sys/wait.h>
#include <unistd.h>
#endif

using platform::SingleInstance;

TEST(SingleInstance, SecondStartAsksTheRunningOneAndAStaleLockNeverBlocks) {
    testsupport::TempFolder dir;
    const QString lockPath = dir.file(SingleInstance::lockFileName());
#ifndef Q_OS_WIN
    // A launcher that crashed while it held the folder leaves its lock file behind.
    const pid_t crashed = ::fork();
    if (crashed == 0) {
        QLockFile lock(lockPath);
        ::_exit(lock.tryLock(0) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(crashed, &status, 0);
    ASSERT_TRUE(QFile::exists(lockPath));
#endif
    SingleInstance first(dir.path());
    ASSERT_EQ(first.start(), SingleInstance::Outcome::First);
    QSignalSpy asked(&first, &SingleInstance::activationRequested);

    SingleInstance second(dir.path());
    EXPECT_EQ(second.start(), SingleInstance::Outcome::Running);
    EXPECT_TRUE(asked.size() == 1 || asked.wait(5000));

    // The restart: the ending launcher gives the folder up, the new one owns it.
    first.release();
    SingleInstance third(dir.path());
    EXPECT_EQ(third.start(), SingleInstance::Outcome::First);
}

TEST(SingleInstance, ALockNoLauncherAnswersForIsTakenOverWhateverItHolds) {
    // An empty lock, a damaged one, and one a launcher on another computer left behind (a
    // portable folder carried over after a crash): no launcher answers for any of them.
    for (const QByteArray& contents :
         {QByteArray(), QByteArray("\x01garbage"), QByteArray("4242\nvarnix\nanother-pc\n")}) {
        testsupport::TempFolder dir;
        QFile lock(dir.file(SingleInstance::lockFileName()));
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.write(contents);
        lock.close();
        SingleInstance instance(dir.path());
        EXPECT_EQ(instance.start(), SingleInstance::Outcome::First) << contents.constData();
    }
}
