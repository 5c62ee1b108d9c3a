#include "pictures/picture_keeper.h"

#include <QDeadlineTimer>
#include <QMetaObject>
#include <algorithm>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {
// Blocks from this size on get a mapping of their own, given back when freed.
constexpr int kOwnMappingBytes = 256 * 1024;
// Nobody waits for a packed form: the clipboard reader, the window and the
// thumbnails, which the user does wait for, get the cores first. Linux gives
// each thread its own nice value.
constexpr int kWorkerNice = 10;

void yieldToWaitedOnThreads() {
    thread_local bool lowered = false;
    if (!lowered) {
        setpriority(PRIO_PROCESS, id_t(gettid()), kWorkerNice);
        lowered = true;
    }
}
} // namespace

PictureKeeper::PictureKeeper(std::function<void()> thumbnailsReady)
    : m_thumbnailsReady(std::move(thumbnailsReady)) {
    m_thumbnails.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    // One at a time: packing a huge picture takes seconds, and must not hold
    // up the thumbnails of the captures that follow it.
    m_packing.setMaxThreadCount(1);
    // glibc raises its mapping threshold to the size of each mapped block freed:
    // after the first decoded picture was dropped, the next ones came from the
    // heap, and their freed space stayed resident behind the small packed forms
    // allocated after them (half again the packed size). A fixed threshold
    // keeps every picture-sized block in a mapping of its own.
    mallopt(M_MMAP_THRESHOLD, kOwnMappingBytes);
}

PictureKeeper::~PictureKeeper() {
    m_stopping = true;
    m_thumbnails.clear();
    m_packing.clear();
    m_thumbnails.waitForDone();
    m_packing.waitForDone();
}

void PictureKeeper::keep(const Picture& picture, QSize thumbSize) {
    if (picture.isNull() || picture.isEmpty() || !picture.claimThumbnail(thumbSize))
        return;
    const Picture::Weak weak(picture);
    // A throw must not leave a pool's thread: it would end the program. With memory
    // short, the entry stays without its thumbnail or unpacked, its picture whole.
    m_thumbnails.start([this, weak, thumbSize] {
        try {
            const Picture p = weak.lock();
            if (p.isNull())
                return;
            p.thumbnail(thumbSize);
            thumbnailDone();
            if (p.isVector() || m_stopping)
                return;
            m_packing.start([weak] {
                yieldToWaitedOnThreads();
                try {
                    if (const Picture q = weak.lock(); !q.isNull())
                        q.compact();
                } catch (...) {
                }
            });
        } catch (...) {
        }
    });
}

void PictureKeeper::thumbnailDone() {
    // One pending notice serves every thumbnail made until it runs.
    if (m_readyPosted.exchange(true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_readyPosted = false;
            if (m_thumbnailsReady)
                m_thumbnailsReady();
        },
        Qt::QueuedConnection);
}

bool PictureKeeper::waitForIdle(int ms) {
    QDeadlineTimer deadline(ms);
    // Thumbnails first: their work queues the packing.
    return m_thumbnails.waitForDone(int(deadline.remainingTime())) &&
           m_packing.waitForDone(int(deadline.remainingTime()));
}
