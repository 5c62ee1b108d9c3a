#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

/** Holds the program-wide lock for the life of the instance. */
class SingleInstance {
public:
    enum class Outcome {
        Locked,      // this instance holds the lock
        RunningElsewhere,
        Unavailable, // no lock can be made here; the program runs without one
    };
    struct Result {
        Outcome outcome = Outcome::Unavailable;
        std::unique_ptr<SingleInstance> lock; // when Locked
        QString reason;                        // when Unavailable
    };

    /** The lock in the user's runtime folder. */
    static QString defaultLockPath();
    /** Takes the lock at path. A lock that names no live owner (left by a crash,
        empty or damaged) is stale and taken over. */
    static Result acquire(const QString& path);

private:
    explicit SingleInstance(const QString& path) : m_lock(path) {}
    QLockFile m_lock;
};
