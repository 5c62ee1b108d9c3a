// Slow work of a command, run off the window's thread and reported back to it.
#pragma once

#include <functional>

class IJobs {
public:
    IJobs() = default;
    IJobs(const IJobs&) = delete;
    IJobs& operator=(const IJobs&) = delete;
    virtual ~IJobs() = default;
    /** Runs work on another thread, then done on the caller's thread, after the
        event being handled. work must not touch the window or the gallery. */
    virtual void start(std::function<void()> work, std::function<void()> done) = 0;
    /** Waits until every work started so far has ended; their done steps that
        have not run yet never run. */
    virtual void finishAll() = 0;
    /** True while a started job's done step has yet to run. */
    virtual bool running() const { return false; }
};

/** Runs every job in place, done right after work. */
class InlineJobs final : public IJobs {
public:
    void start(std::function<void()> work, std::function<void()> done) override {
        work();
        done();
    }
    void finishAll() override {}
};
