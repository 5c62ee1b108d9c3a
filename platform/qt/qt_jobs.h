#pragma once

#include "platform/jobs.h"

#include <QObject>
#include <QThreadPool>

/** Jobs on a pool of its own; done steps come back as queued events to this
    object, so none runs once it is gone. */
class QtJobs final : public QObject, public IJobs {
public:
    QtJobs();
    /** Waits for running work, which holds references into the platform. */
    ~QtJobs() override;
    void start(std::function<void()> work, std::function<void()> done) override;
    void finishAll() override;

private:
    QThreadPool m_pool;
    // Done steps of an older round are dropped; touched on this object's thread only.
    unsigned m_round = 0;
};
