#include "app/single_instance.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
    for (const QByteArray& damaged : {QByteArray(), QByteArray("\x01\xff garbage\n\n\n", 13),
                                      "999999999\npictavo\n" + QSysInfo::machineHostName().toUtf8() +
                                          "\n"}) {
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
    for (const QString& path : {folder, underFile + QStringLiteral("/pictavo.lock")}) {
        const SingleInstance::Result r = SingleInstance::acquire(path);
        EXPECT_EQ(r.outcome, SingleInstance::Outcome::Unavailable) << path.toStdString();
        EXPECT_TRUE(r.reason.contains(path)) << r.reason.toStdString();
    }
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/keep"))) << "nothing of the user's removed";
}
