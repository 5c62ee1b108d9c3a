// Watches, reads and empties the Wayland selection through the compositor's clipboard-manager
// protocol, on a thread and a connection of its own: no window of ours needs the focus, and
// a slow or vanished owner never blocks the window.
#pragma once

#include "platform/clipboard.h"
#include "platform/qt/clipboard/read_limits.h"

#include <QImage>
#include <QObject>
#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class WaylandClipboardReader final : public QObject {
    Q_OBJECT
public:
    /** The same deadlines and size bound as on X11. */
    using Limits = ReadLimits;

    WaylandClipboardReader();
    explicit WaylandClipboardReader(Limits limits);
    ~WaylandClipboardReader() override;

    /** True when the compositor lets us watch and change its selection. */
    bool isAvailable() const;
    /** The compositor's data-control protocol in use, when available. */
    QByteArray protocolName() const { return m_protocolName; }
    /** Looks at the selection; done runs later on this object's thread. With quick, the
        owner's first byte is waited for only as long as an answer, not a slow encoder. */
    void look(bool readImage, bool quick, std::function<void(ClipboardContent)> done);
    /** Empties the selection if it is still the offer that ownership names. */
    void clearIfUnchanged(std::uint64_t ownership);
    /** The offer that ownership names was taken. */
    void noteTaken(std::uint64_t ownership);
    void clear();
    /** Puts the image on the selection as PNG, served from the reader's thread. */
    void setImage(const QImage& image);

signals:
    /** The selection changed hands. */
    void changed();

private:
    class Session;
    QByteArray m_protocolName;
    using Job = std::function<void(Session&)>;
    void post(Job job);
    void run();
    std::unique_ptr<Session> openSession();
    /** After the compositor dropped us: a new connection once the back-off has passed;
        true when it stands. */
    bool reconnectWhenDue();
    /** Sleeps until the next attempt, or a job comes. */
    void waitForRetry();

    static constexpr int kFirstRetryMs = 100;
    static constexpr int kLongestRetryMs = 1000;
    // A connection that stood this long was not dropped for what it met at once.
    static constexpr int kSettledS = 10;

    Limits m_limits;
    std::unique_ptr<Session> m_session;
    std::mutex m_lock;
    std::deque<Job> m_jobs;
    int m_wakeFd = -1;
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
    // Reconnection, on the reader's thread only.
    std::chrono::steady_clock::time_point m_connectedAt;
    std::chrono::steady_clock::time_point m_lostAt;
    std::chrono::steady_clock::time_point m_nextAttempt;
    int m_retryMs = kFirstRetryMs;
    QImage m_lostOwnImage;
};
