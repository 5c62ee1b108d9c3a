// Loads the pictures of a list of files ahead of the one the caller waits for,
// on worker threads, and hands them out strictly in list order.
#pragma once

#include "platform/picture_files.h"

#include <QStringList>
#include <QThreadPool>
#include <deque>
#include <functional>
#include <future>

struct LoadedPicture {
    Picture picture; // null when the file could not be loaded
    QString error;
};

class PicturePrefetch {
public:
    /** ahead: how many loads may run while the caller works on the current one. */
    PicturePrefetch(IPictureFiles& pictures, QStringList paths, int ahead);
    /** Waits for any load still running: the loader must outlive none of them. */
    ~PicturePrefetch();
    PicturePrefetch(const PicturePrefetch&) = delete;
    PicturePrefetch& operator=(const PicturePrefetch&) = delete;

    bool atEnd() const { return m_next >= m_paths.size(); }
    /** The next file's result, waiting for its load to end; whileWaiting, if
        given, is called every few milliseconds meanwhile. */
    LoadedPicture takeNext(const std::function<void()>& whileWaiting = {});

    /** Loads ahead by the number of cores, leaving one for the window. */
    static int defaultAhead();

private:
    void startLoads();

    IPictureFiles& m_pictures;
    QStringList m_paths;
    int m_ahead;
    qsizetype m_next = 0;    // index of the next result handed out
    qsizetype m_started = 0; // loads started so far
    std::deque<std::future<LoadedPicture>> m_pending;
    QThreadPool m_pool;
};
