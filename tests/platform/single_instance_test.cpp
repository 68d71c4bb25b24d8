#include "platform/single_instance.h"
#include "test_support.h"

#include <QFile>
#include <QLockFile>
#include <QSignalSpy>
#include <gtest/gtest.h>

#ifndef Q_OS_WIN
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
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

// Two starts in one folder never both own it: not with different temporary folders, and not
// beside a process that holds the lock without answering (its lock is never taken away).
TEST(SingleInstance, OneOwnerWhateverTheTemporaryFolderAndNoLiveLockIsTaken) {
    testsupport::TempFolder dir, tmpA, tmpB;
    const QByteArray tmpdir = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(tmpA.path()));
    SingleInstance first(dir.path());
    ASSERT_EQ(first.start(), SingleInstance::Outcome::First);
    qputenv("TMPDIR", QFile::encodeName(tmpB.path()));
    SingleInstance second(dir.path());
    EXPECT_EQ(second.start(500), SingleInstance::Outcome::Running);
    qputenv("TMPDIR", tmpdir);
    if (tmpdir.isNull())
        qunsetenv("TMPDIR");
    first.release();

#ifndef Q_OS_WIN
    // A live process holds the lock and never answers (hung, or another user's launcher).
    const QByteArray lockPath = QFile::encodeName(dir.file(SingleInstance::lockFileName()));
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT, 0644);
        ::flock(fd, LOCK_EX);
        (void)!::write(ready[1], "h", 1);
        ::pause();
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    SingleInstance third(dir.path());
    EXPECT_EQ(third.start(300), SingleInstance::Outcome::Busy);
    EXPECT_TRUE(QFile::exists(dir.file(SingleInstance::lockFileName())));
    // Once the holder is gone its lock is free at once.
    ::kill(holder, SIGKILL);
    int status = 0;
    ::waitpid(holder, &status, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    SingleInstance fourth(dir.path());
    EXPECT_EQ(fourth.start(0), SingleInstance::Outcome::First);
#endif
}
