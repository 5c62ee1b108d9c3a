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
        QString notice;                        // when Locked over a lock that could not be checked
    };
    struct Place {
        QString path;   // empty when no folder of the user's own can hold the lock
        QString notice; // why the lock is not where it usually is, or why there is none
    };

    /** The lock in the user's runtime folder or, where there is no private one, in a folder
        of the user's own under the cache folder. Never in a folder others can write. */
    static Place defaultPlace();
    /** The same choice between the given runtime and cache folders (either may be empty). */
    static Place placeIn(const QString& runtime, const QString& cache);
    /** Takes the lock at path. A lock that names no live owner (left by a crash, empty or
        damaged) is stale and taken over; so is one naming another host, whose process
        cannot be checked, with a notice. */
    static Result acquire(const QString& path);

private:
    explicit SingleInstance(const QString& path) : m_lock(path) {}
    QLockFile m_lock;
};
