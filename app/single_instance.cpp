#include "app/single_instance.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString SingleInstance::defaultLockPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/pictavo.lock");
}

SingleInstance::Result SingleInstance::acquire(const QString& path) {
    Result result;
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
            result.outcome = Outcome::RunningElsewhere;
            return result;
        }
        // Empty or damaged: it names no owner. The removal is refused while another
        // process holds the file's system lock, so a live owner keeps it.
        if (!QFileInfo(path).isFile() || !lock.removeStaleLockFile())
            break;
    }
    result.outcome = Outcome::Unavailable;
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
