#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

/** Holds the program-wide lock for the life of the instance. */
class SingleInstance {
public:
    /** The lock in the user's runtime folder. */
    static QString defaultLockPath();
    /** Takes the lock at path, taking over one left by a crashed instance.
        Null when another live instance holds it. */
    static std::unique_ptr<SingleInstance> acquire(const QString& path);

private:
    explicit SingleInstance(const QString& path) : m_lock(path) {}
    QLockFile m_lock;
};
