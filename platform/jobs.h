// Slow work of a command, run off the window's thread and reported back to it.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

/** The end of a job's work as its done step learns it: null when the work returned,
    else what it threw (memory running out included). */
using JobFailure = std::exception_ptr;

class IJobs {
public:
    IJobs() = default;
    IJobs(const IJobs&) = delete;
    IJobs& operator=(const IJobs&) = delete;
    virtual ~IJobs() = default;
    /** Runs work on another thread, then done on the caller's thread, after the
        event being handled, with what the work ended with: nothing it throws is
        lost. A job given up before its work ran gets done with no failure and
        nothing delivered. work must not touch the window or the gallery. */
    virtual void start(std::function<void()> work, std::function<void(JobFailure)> done) = 0;
    /** Waits until every work started so far has ended; their done steps that
        have not run yet never run. */
    virtual void finishAll() = 0;
    /** True while a started job's done step has yet to run. */
    virtual bool running() const { return false; }
};

/** Runs work and tells what it threw. */
inline JobFailure runCaught(const std::function<void()>& work) noexcept {
    try {
        work();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

/** Runs every job in place, done right after work. */
class InlineJobs final : public IJobs {
public:
    void start(std::function<void()> work, std::function<void(JobFailure)> done) override {
        done(runCaught(work));
    }
    void finishAll() override {}
};

/** What a job that makes a T ended with: the value, or the failure. Until the
    job has delivered its value it counts as failed, never as done. */
template <class T>
class JobOutcome {
public:
    bool succeeded() const { return m_value.has_value(); }
    /** Only when succeeded(). */
    const T& value() const { return *m_value; }
    T& value() { return *m_value; }
    /** What the work threw; null also when it never delivered a value. */
    JobFailure failure() const { return m_failure; }

    void setValue(T value) { m_value.emplace(std::move(value)); }
    void setFailure(JobFailure failure) {
        m_value.reset();
        m_failure = std::move(failure);
    }

private:
    std::optional<T> m_value;
    JobFailure m_failure;
};

/** Runs work through jobs and hands done what it ended with, on the caller's thread. */
template <class T>
void startJob(IJobs& jobs, std::function<T()> work, std::function<void(JobOutcome<T>&)> done) {
    auto outcome = std::make_shared<JobOutcome<T>>();
    jobs.start([outcome, work = std::move(work)] { outcome->setValue(work()); },
               [outcome, done = std::move(done)](JobFailure failure) {
                   if (failure)
                       outcome->setFailure(std::move(failure));
                   done(*outcome);
               });
}
