#include "platform/qt/picture_keeper.h"

#include <QMetaObject>
#include <algorithm>

namespace {
// The user waits for a thumbnail; nobody waits for a packed form.
constexpr int kThumbnailPriority = 1;
constexpr int kPackPriority = 0;
} // namespace

PictureKeeper::PictureKeeper(std::function<void()> thumbnailsReady)
    : m_thumbnailsReady(std::move(thumbnailsReady)) {
    m_pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
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
