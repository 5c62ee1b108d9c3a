#pragma once

#include "platform/jobs.h"

#include <QObject>
#include <QThreadPool>
#include <atomic>

/** Jobs on a pool of its own; done steps come back as queued events to this
    object, so none runs once it is gone. */
class QtJobs final : public QObject, public IJobs {
public:
    QtJobs();
    /** Waits for running work, which holds references into the platform. */
    ~QtJobs() override;
    void start(std::function<void()> work, std::function<void(JobFailure)> done) override;
    void finishAll() override;

private:
    /** Queues done with failure for this object's thread; false once no done step is
        wanted any more. */
    bool report(const std::function<void(JobFailure)>& done, const JobFailure& failure,
                unsigned round);

    QThreadPool m_pool;
    // Done steps of an older round are dropped; touched on this object's thread only.
    unsigned m_round = 0;
    // Set while waiting for the pool: a report that cannot be queued stops trying.
    std::atomic<bool> m_waiting{false};
};
