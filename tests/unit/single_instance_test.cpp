#include "app/single_instance.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <future>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}
} // namespace

TEST(SingleInstanceTest, LockWithoutLiveOwnerIsTakenOverAndLiveOneKeepsOthersOut) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("pictavo.lock"));
    for (const QByteArray& damaged :
         {QByteArray(), QByteArray("\x01\xff garbage\n\n\n", 13),
          QByteArray("999999999\npictavo\n" + QSysInfo::machineHostName().toUtf8() + "\n")}) {
        writeFile(path, damaged);
        SingleInstance::Result first = SingleInstance::acquire(path);
        ASSERT_EQ(first.outcome, SingleInstance::Outcome::Locked) << damaged.toStdString();
        // While it is held, a second start is turned away, silently.
        const SingleInstance::Result second = SingleInstance::acquire(path);
        EXPECT_EQ(second.outcome, SingleInstance::Outcome::RunningElsewhere);
        EXPECT_TRUE(second.reason.isEmpty());
    }
}

TEST(SingleInstanceTest, NoLockPossibleMeansRunningUnprotectedWithAReason) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The lock's path is a folder, or lies under a file.
    const QString folder = dir.filePath(QStringLiteral("pictavo.lock"));
    ASSERT_TRUE(QDir().mkdir(folder));
    writeFile(folder + QStringLiteral("/keep"), "x");
    const QString underFile = dir.filePath(QStringLiteral("file"));
    writeFile(underFile, "x");
    for (const QString& path : {folder, QString(underFile + QStringLiteral("/pictavo.lock"))}) {
        const SingleInstance::Result r = SingleInstance::acquire(path);
        EXPECT_EQ(r.outcome, SingleInstance::Outcome::Unavailable) << path.toStdString();
        EXPECT_TRUE(r.reason.contains(path)) << r.reason.toStdString();
    }
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/keep"))) << "nothing of the user's removed";
}

// A lock naming another host may be left by an instance long gone; trusting it would keep
// the user out at every start.
TEST(SingleInstanceTest, LockOfAnotherHostIsTakenOverWithANotice) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("pictavo.lock"));
    writeFile(path, "4242\npictavo\nsome-other-host.example\n");
    const SingleInstance::Result first = SingleInstance::acquire(path);
    ASSERT_EQ(first.outcome, SingleInstance::Outcome::Locked);
    EXPECT_TRUE(first.notice.contains(QStringLiteral("some-other-host.example")))
        << first.notice.toStdString();
    const SingleInstance::Result second = SingleInstance::acquire(path);
    EXPECT_EQ(second.outcome, SingleInstance::Outcome::RunningElsewhere);
    EXPECT_TRUE(second.notice.isEmpty());
}

// Without a private runtime folder the lock goes to a folder of the user's own, created for
// it and said so; a folder another user took or others can write is never used.
TEST(SingleInstanceTest, LockIsOnlyEverInAFolderOfTheUsersOwn) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString cache = dir.filePath(QStringLiteral("cache"));
    const QString folder = cache + QStringLiteral("/pictavo");
    const QString lock = folder + QStringLiteral("/pictavo.lock");

    SingleInstance::Place place = SingleInstance::placeIn({}, cache);
    EXPECT_EQ(place.path, lock);
    EXPECT_TRUE(place.notice.contains(folder)) << place.notice.toStdString();
    struct stat info {};
    ASSERT_EQ(stat(QFile::encodeName(folder).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);

    ASSERT_EQ(chmod(QFile::encodeName(folder).constData(), 0777), 0);
    place = SingleInstance::placeIn({}, cache);
    EXPECT_TRUE(place.path.isEmpty());
    EXPECT_TRUE(place.notice.contains(QStringLiteral("others can write")))
        << place.notice.toStdString();
    // The user's own runtime folder is used as it is, without a word.
    const QString runtime = dir.filePath(QStringLiteral("run"));
    ASSERT_TRUE(QDir().mkdir(runtime));
    ASSERT_EQ(chmod(QFile::encodeName(runtime).constData(), 0700), 0);
    place = SingleInstance::placeIn(runtime, cache);
    EXPECT_EQ(place.path, runtime + QStringLiteral("/pictavo.lock"));
    EXPECT_TRUE(place.notice.isEmpty());
    // Group members could put their own lock there, or a FIFO.
    ASSERT_EQ(chmod(QFile::encodeName(runtime).constData(), 0720), 0);
    EXPECT_NE(SingleInstance::placeIn(runtime, cache).path, runtime + QStringLiteral("/pictavo.lock"));
    ASSERT_EQ(chmod(QFile::encodeName(runtime).constData(), 0700), 0);

    if (geteuid() != 0)
        return; // only root can hand a folder to another user
    const passwd* nobody = getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    for (const QString& taken : {runtime, folder}) {
        ASSERT_EQ(chmod(QFile::encodeName(taken).constData(), 0700), 0);
        ASSERT_EQ(chown(QFile::encodeName(taken).constData(), nobody->pw_uid, nobody->pw_gid), 0);
    }
    place = SingleInstance::placeIn(runtime, cache);
    EXPECT_TRUE(place.path.isEmpty());
    EXPECT_TRUE(place.notice.contains(QStringLiteral("another user")))
        << place.notice.toStdString();
}

// The lock library opens what it finds at the path to read its owner: a FIFO there
// would keep the start waiting for a writer for ever.
TEST(SingleInstanceTest, SomethingOtherThanAFileAtThePathIsLeftAloneWithAReason) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("pictavo.lock"));
    ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    auto pending = std::async(std::launch::async, [&path] { return SingleInstance::acquire(path); });
    if (pending.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        ADD_FAILURE() << "the start waits on the FIFO";
        // A writer that comes and goes lets the reader go.
        ::close(::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK));
    }
    const SingleInstance::Result result = pending.get();
    EXPECT_EQ(result.outcome, SingleInstance::Outcome::Unavailable);
    EXPECT_TRUE(result.reason.contains(path)) << result.reason.toStdString();
    struct stat info {};
    ASSERT_EQ(lstat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "nothing of the user's replaced";
}

// A live holder's lock is never taken over: neither when it names no host, which is
// this one, nor when it names another host while its holder keeps it.
TEST(SingleInstanceTest, ALockHeldByALiveOwnerIsNeverTakenOver) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("pictavo.lock"));
    SingleInstance::Result holder = SingleInstance::acquire(path);
    ASSERT_EQ(holder.outcome, SingleInstance::Outcome::Locked);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    file.close();
    ASSERT_GE(lines.size(), 3);
    writeFile(path, lines[0] + '\n' + lines[1] + "\n\n");
    SingleInstance::Result second = SingleInstance::acquire(path);
    EXPECT_EQ(second.outcome, SingleInstance::Outcome::RunningElsewhere) << "no host";
    // The other host's lock cannot be removed while it is held: no takeover, no notice.
    writeFile(path, lines[0] + '\n' + lines[1] + "\nsome-other-host.example\n");
    second = SingleInstance::acquire(path);
    EXPECT_NE(second.outcome, SingleInstance::Outcome::Locked);
    EXPECT_TRUE(second.notice.isEmpty()) << second.notice.toStdString();
}
