#include "platform/qt/qt_jobs.h"

#include "platform/qt/background_thread.h"

#include <QMetaObject>

QtJobs::QtJobs() {
    // The commands run one job at a time; a second thread serves a job started
    // while the last one's thread is still being handed back.
    m_pool.setMaxThreadCount(2);
    m_pool.setObjectName(QStringLiteral("pictavo-jobs"));
}

QtJobs::~QtJobs() {
    m_pool.waitForDone();
}

void QtJobs::start(std::function<void()> work, std::function<void()> done) {
    const unsigned round = m_round;
    m_pool.start([this, work = std::move(work), done = std::move(done), round]() mutable {
        yieldToTheWindow();
        // The done step must come whatever happened: the window waits for it.
        try {
            work();
        } catch (...) {
        }
        QMetaObject::invokeMethod(
            this,
            [this, done = std::move(done), round] {
                if (round == m_round)
                    done();
            },
            Qt::QueuedConnection);
    });
}

void QtJobs::finishAll() {
    m_pool.waitForDone();
    ++m_round;
}
