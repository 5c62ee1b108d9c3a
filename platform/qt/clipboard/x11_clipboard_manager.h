// Stands in as the X clipboard manager while no other runs. Screenshot tools copy and quit
// at once, handing their picture to the manager; with none there it would be gone before
// it could be taken. Here the tool is kept waiting until the picture has been taken.
#pragma once

#include <QObject>
#include <atomic>
#include <thread>

class X11Presses;

class X11ClipboardManager final : public QObject {
    Q_OBJECT
public:
    struct Limits {
        // A tool waits for the manager's answer; this keeps it from waiting longer
        // than its own patience when the picture cannot be taken.
        int saveMs = 8000;
    };

    X11ClipboardManager();
    /** presses, when given, is kept up to date from this object's thread; it must
        outlive this object. */
    explicit X11ClipboardManager(Limits limits, X11Presses* presses = nullptr);
    ~X11ClipboardManager() override;

    /** False when no X connection could be made. */
    bool isConnected() const;
    /** True while this program is the clipboard manager. */
    bool isManager() const { return m_manager; }

signals:
    /** A program that is about to quit asked for its copy to be kept: look now. */
    void saveRequested();
    /** The clipboard changed hands, as the server announces it to every client. */
    void clipboardChanged();

private:
    class Connection;
    void run();

    Limits m_limits;
    std::unique_ptr<Connection> m_x;
    std::atomic<bool> m_manager = false;
    std::atomic<bool> m_stop = false;
    int m_wakeFd = -1; // ends the thread's wait when we leave
    std::thread m_thread;
};
