#include "app/single_instance.h"

#include <QDir>
#include <QStandardPaths>

QString SingleInstance::defaultLockPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/pictavo.lock");
}

std::unique_ptr<SingleInstance> SingleInstance::acquire(const QString& path) {
    std::unique_ptr<SingleInstance> instance(new SingleInstance(path));
    // QLockFile sees a lock whose process is gone as stale and takes it over.
    instance->m_lock.setStaleLockTime(0);
    if (!instance->m_lock.tryLock(0))
        return nullptr;
    return instance;
}
