#include "platform/qt/qt_jobs.h"

#include "platform/qt/background_thread.h"

#include <QMetaObject>
#include <QThread>
#include <QTimer>

QtJobs::QtJobs() {
    // The commands run one job at a time; a second thread serves a job started
    // while the last one's thread is still being handed back.
    m_pool.setMaxThreadCount(2);
    m_pool.setObjectName(QStringLiteral("pictavo-jobs"));
}

QtJobs::~QtJobs() {
    m_waiting = true;
    m_pool.waitForDone();
}

bool QtJobs::report(const std::function<void(JobFailure)>& done, const JobFailure& failure,
                    unsigned round) {
    try {
        QMetaObject::invokeMethod(
            this,
            [this, done, failure, round] {
                if (round == m_round)
                    done(failure);
            },
            Qt::QueuedConnection);
        return true;
    } catch (...) {
        return false;
    }
}

void QtJobs::start(std::function<void()> work, std::function<void(JobFailure)> done) {
    const unsigned round = m_round;
    // Shared, so that a start that fails halfway can still report.
    const auto doneStep = std::make_shared<const std::function<void(JobFailure)>>(std::move(done));
    auto task = [this, work = std::move(work), doneStep, round]() mutable {
        yieldToTheWindow();
        const JobFailure failure = runCaught(work);
        // What the work holds (whole pictures) goes here, off the window's thread,
        // and makes room for the report.
        work = nullptr;
        // The window waits for the done step: with memory short, the few bytes of
        // the report come free again as other work ends.
        while (!report(*doneStep, failure, round)) {
            if (m_waiting)
                return;
            QThread::msleep(20);
        }
    };
    try {
        m_pool.start(std::move(task));
    } catch (...) {
        // Not even started: the done step says so, after the event being handled.
        const JobFailure failure = std::current_exception();
        if (!report(*doneStep, failure, round))
            (*doneStep)(failure);
    }
}

void QtJobs::finishAll() {
    m_waiting = true;
    m_pool.waitForDone();
    m_waiting = false;
    ++m_round;
}
