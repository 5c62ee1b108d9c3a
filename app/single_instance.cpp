#include "app/single_instance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kLockName = QStringLiteral("pictavo.lock");

// Empty when the folder is the user's own and nobody else can write in it.
QString privateFolderProblem(const QString& folder) {
    struct stat info {};
    if (lstat(QFile::encodeName(folder).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return QStringLiteral("%1 is not a folder").arg(folder);
    if (info.st_uid != geteuid())
        return QStringLiteral("%1 belongs to another user").arg(folder);
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return QStringLiteral("others can write in %1").arg(folder);
    return {};
}

} // namespace

SingleInstance::Place SingleInstance::defaultPlace() {
    return placeIn(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation),
                   QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation));
}

SingleInstance::Place SingleInstance::placeIn(const QString& runtime, const QString& cache) {
    if (!runtime.isEmpty() && privateFolderProblem(runtime).isEmpty())
        return {runtime + QLatin1Char('/') + kLockName, {}};

    const QString folder = cache + QStringLiteral("/pictavo");
    if (!cache.isEmpty() && QDir().mkpath(cache))
        mkdir(QFile::encodeName(folder).constData(), 0700); // an existing one is checked below
    const QString problem = cache.isEmpty() ? QStringLiteral("the user has no cache folder")
                                            : privateFolderProblem(folder);
    if (!problem.isEmpty())
        return {{}, QStringLiteral("no private runtime folder, and %1").arg(problem)};
    return {folder + QLatin1Char('/') + kLockName,
            QStringLiteral("no private runtime folder; the instance lock is in %1").arg(folder)};
}

SingleInstance::Result SingleInstance::acquire(const QString& path) {
    Result result;
    // The lock library would open a FIFO at the path for reading and wait for a writer
    // for ever, and a device or socket is nothing it could hold either.
    struct stat info {};
    if (lstat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISREG(info.st_mode)) {
        result.reason = QStringLiteral("%1 is in the way and is not an ordinary file").arg(path);
        return result;
    }
    std::unique_ptr<SingleInstance> instance(new SingleInstance(path));
    QLockFile& lock = instance->m_lock;
    // Staleness by age would let a second instance in beside a long-running one;
    // QLockFile still sees a lock whose process is gone as stale.
    lock.setStaleLockTime(0);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (lock.tryLock(0)) {
            result.outcome = Outcome::Locked;
            result.lock = std::move(instance);
            return result;
        }
        if (lock.error() != QLockFile::LockFailedError)
            break;
        qint64 pid = 0;
        QString host, app;
        if (lock.getLockInfo(&pid, &host, &app)) {
            // Only a process of this host can be checked; one elsewhere may be long gone,
            // and trusting it would keep the user out for good.
            if (host.isEmpty() || host == QSysInfo::machineHostName()) {
                result.outcome = Outcome::RunningElsewhere;
                return result;
            }
            result.notice = QStringLiteral("%1 names process %2 on host %3, which cannot be "
                                           "checked; it is taken over")
                                .arg(path)
                                .arg(pid)
                                .arg(host);
        }
        // The removal is refused while another process holds the file's system lock, so a
        // live owner keeps it.
        if (!QFileInfo(path).isFile() || !lock.removeStaleLockFile())
            break;
    }
    result.outcome = Outcome::Unavailable;
    result.notice.clear();
    switch (lock.error()) {
    case QLockFile::PermissionError:
        result.reason = QStringLiteral("%1 cannot be created there").arg(path);
        break;
    case QLockFile::LockFailedError:
        result.reason = QStringLiteral("%1 is in the way and cannot be replaced").arg(path);
        break;
    default:
        result.reason = QStringLiteral("%1 cannot be written").arg(path);
        break;
    }
    return result;
}
