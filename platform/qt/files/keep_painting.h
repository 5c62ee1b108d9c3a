// Keeps the windows painted while the window's thread waits seconds for another
// process, and lets nothing else run meanwhile: input stays queued, no timer
// fires and no clipboard answer is taken, so the waiting command's steps stay
// one uninterrupted whole.
#pragma once

#include <QElapsedTimer>

class KeepPainting {
public:
    /** Shows the busy pointer; does nothing off the window's thread. */
    KeepPainting();
    ~KeepPainting();
    KeepPainting(const KeepPainting&) = delete;
    KeepPainting& operator=(const KeepPainting&) = delete;

    /** Call often while waiting: paints every visible window now and then. */
    void operator()();

    /** How long a wait may go without a call. */
    static constexpr int kIntervalMs = 100;

private:
    bool m_active = false;
    QElapsedTimer m_sincePaint;
};
