// Jobs run on the test's own thread: at once, or held until the test lets them end.
#pragma once

#include "platform/jobs.h"

#include <deque>
#include <utility>

class FakeJobs final : public IJobs {
public:
    /** When set, started jobs wait for finishNext(). */
    bool hold = false;
    int started = 0;
    int finishAllCalls = 0;

    void start(std::function<void()> work, std::function<void(JobFailure)> done) override {
        ++started;
        if (hold) {
            m_held.emplace_back(std::move(work), std::move(done));
            return;
        }
        done(runCaught(work));
    }
    /** Runs the oldest held job's work and then its done step. */
    bool finishNext() {
        if (m_held.empty())
            return false;
        auto job = std::move(m_held.front());
        m_held.pop_front();
        job.second(runCaught(job.first));
        return true;
    }
    /** Drops the oldest held job's work unrun and still runs its done step, as an
        executor that gives a job up does. */
    bool cancelNext() {
        if (m_held.empty())
            return false;
        auto job = std::move(m_held.front());
        m_held.pop_front();
        job.second(nullptr);
        return true;
    }
    /** Runs every held job's work; their done steps never come. */
    void finishAll() override {
        ++finishAllCalls;
        while (!m_held.empty()) {
            auto job = std::move(m_held.front());
            m_held.pop_front();
            runCaught(job.first);
        }
    }
    std::size_t heldCount() const { return m_held.size(); }

private:
    std::deque<std::pair<std::function<void()>, std::function<void(JobFailure)>>> m_held;
};
