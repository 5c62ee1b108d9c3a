// Reads the X clipboard on a thread of its own, with its own connection, so that a
// slow, stalled or vanished owner can never block the window.
#pragma once

#include "platform/clipboard.h"

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class X11ClipboardReader final : public QObject {
    Q_OBJECT
public:
    /** Limits of one look: a transfer that makes no progress for stallMs fails, and so
        does every look still unfinished after lookMs, however it progresses, so that an
        owner that drips its data cannot hold capture up. */
    struct Limits {
        int answerMs = 2000;
        int stallMs = 3000;
        qint64 maxBytes = qint64(1) << 30;
        int lookMs = 3000;
    };

    X11ClipboardReader();
    explicit X11ClipboardReader(Limits limits);
    ~X11ClipboardReader() override;

    /** False when no X connection could be made (then nothing can be read). */
    bool isConnected() const;
    /** Empties the clipboard if ownership is what it was when taken was read. */
    void clearIfUnchanged(std::uint64_t ownership);
    /** For tests: runs on the reader's thread between the check of the owner and the
        emptying, to widen that window. Set it while no emptying is under way. */
    void setBeforeEmptying(std::function<void()> hook);
    /** Looks at the clipboard; done runs later on this object's thread. */
    void look(bool readImage, std::function<void(ClipboardContent)> done);

private:
    class Connection;
    using Job = std::function<void(Connection&)>;
    void post(Job job);
    void run();

    Limits m_limits;
    std::unique_ptr<Connection> m_x;
    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;
    std::function<void()> m_beforeEmptying;
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};
