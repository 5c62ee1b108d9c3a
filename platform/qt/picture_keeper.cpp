#include "platform/qt/picture_keeper.h"

#include <QMetaObject>
#include <algorithm>
#include <malloc.h>

namespace {
// The user waits for a thumbnail; nobody waits for a packed form.
constexpr int kThumbnailPriority = 1;
constexpr int kPackPriority = 0;
// Blocks from this size on get a mapping of their own, given back when freed.
constexpr int kOwnMappingBytes = 256 * 1024;
} // namespace

PictureKeeper::PictureKeeper(std::function<void()> thumbnailsReady)
    : m_thumbnailsReady(std::move(thumbnailsReady)) {
    m_pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    // glibc raises its mapping threshold to the size of each mapped block freed:
    // after the first decoded picture was dropped, the next ones came from the
    // heap, and their freed space stayed resident behind the small packed forms
    // allocated after them (half again the packed size). A fixed threshold
    // keeps every picture-sized block in a mapping of its own.
    mallopt(M_MMAP_THRESHOLD, kOwnMappingBytes);
}

PictureKeeper::~PictureKeeper() {
    m_pool.clear();
    m_pool.waitForDone();
}

void PictureKeeper::keep(const Picture& picture, QSize thumbSize) {
    if (picture.isNull() || picture.isEmpty() || !picture.claimThumbnail(thumbSize))
        return;
    const Picture::Weak weak(picture);
    m_pool.start(
        [this, weak, thumbSize] {
            const Picture p = weak.lock();
            if (p.isNull())
                return;
            p.thumbnail(thumbSize);
            thumbnailDone();
            if (!p.isVector())
                m_pool.start(
                    [weak] {
                        if (const Picture q = weak.lock(); !q.isNull())
                            q.compact();
                    },
                    kPackPriority);
        },
        kThumbnailPriority);
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

bool PictureKeeper::waitForIdle(int ms) { return m_pool.waitForDone(ms); }
