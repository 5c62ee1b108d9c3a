// Decodes pictures for the viewers on a small pool shared by all of them: the
// newest request goes first, and one that is no longer wanted never starts.
#pragma once

#include "pictures/picture.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QThreadPool>
#include <atomic>
#include <functional>
#include <memory>

class PictureLoader final : public QObject {
public:
    /** What a decode gave: the whole picture and a copy that covers the screen,
        either of which may be null. */
    struct Result {
        QImage whole;
        QImage reduced;
        /** The whole picture was decoded (or tried) and gave nothing. */
        bool failed = false;
    };

    /** Lets the one who asked take back a request. */
    class Ticket {
    public:
        void cancel() { m_cancelled = true; }
        bool cancelled() const { return m_cancelled; }

    private:
        std::atomic<bool> m_cancelled{false};
    };

    /** The program's loader, made at first use; it lives until the application
        object ends, and waits for its work then. */
    static PictureLoader& instance();

    /** Decodes picture for a screen of screen pixels: a photo held as its file at
        the scale that covers it, unless whole is asked for; a much larger picture
        also as a copy that covers it. done runs on receiver's thread, never once
        receiver is gone or the ticket was cancelled. */
    std::shared_ptr<Ticket> request(QObject* receiver, const Picture& picture, QSize screen,
                                    bool whole, std::function<void(Result)> done);

    /** The same decode, on the caller's thread. */
    static Result decodeNow(const Picture& picture, QSize screen, bool whole);

    /** Decodes running at this moment, and the most at once so far. */
    int decoding() const { return m_decoding; }
    int mostDecoding() const { return m_mostDecoding; }

    /** Drops what has not started and waits for the rest. */
    void stop();

    ~PictureLoader() override;

private:
    PictureLoader();

    QThreadPool m_pool;
    std::atomic<int> m_decoding{0};
    std::atomic<int> m_mostDecoding{0};
    std::atomic<int> m_order{0};
};
