// Reads the X clipboard on a thread of its own, with its own connection, so that a
// slow, stalled or vanished owner can never block the window.
#pragma once

#include "platform/clipboard.h"
#include "platform/qt/clipboard/read_limits.h"

#include <QObject>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

class X11Presses;

class X11ClipboardReader final : public QObject {
    Q_OBJECT
public:
    using Limits = ReadLimits;

    X11ClipboardReader();
    /** presses, when given, tells whether a person pressed a key before a copy; it must
        outlive this object. */
    explicit X11ClipboardReader(Limits limits, const X11Presses* presses = nullptr);
    ~X11ClipboardReader() override;

    /** False when no X connection could be made (then nothing can be read). */
    bool isConnected() const;
    /** Empties the clipboard if ownership is what it was when taken was read. */
    void clearIfUnchanged(std::uint64_t ownership);
    /** The picture read with ownership was taken, and stays on the clipboard. */
    void noteTaken(std::uint64_t ownership);
    /** For tests: runs on the reader's thread between the check of the owner and the
        emptying, to widen that window. Set it while no emptying is under way. */
    void setBeforeEmptying(std::function<void()> hook);
    /** Looks at the clipboard; done runs later on this object's thread. */
    void look(bool readImage, std::function<void(ClipboardContent)> done);

signals:
    /** An owner that was too slow for the last look still holds the clipboard, and the
        back-off since has passed: it is worth another look. */
    void lookAgainWanted();

private:
    class Connection;
    using Job = std::function<void(Connection&)>;
    void post(Job job);
    void run();
    void scheduleRetry(Connection& x, std::uint64_t lateOwnership);

    Limits m_limits;
    std::unique_ptr<Connection> m_x;
    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;
    std::function<void()> m_beforeEmptying;
    std::atomic<bool> m_stop = false;
    // Reader thread only: a look again that is due, at the owner that was too slow.
    std::optional<std::chrono::steady_clock::time_point> m_retryAt;
    std::uint64_t m_retryOwnership = 0;
    std::thread m_thread;
};
