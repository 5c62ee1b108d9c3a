// Off the user-interface thread, makes the thumbnail of each picture that
// arrives in the gallery, then packs the picture to hold it compactly.
#pragma once

#include "pictures/picture.h"

#include <QObject>
#include <QSize>
#include <QThreadPool>
#include <atomic>
#include <functional>

class PictureKeeper final : public QObject {
public:
    /** thumbnailsReady runs on this object's thread after thumbnails were made. */
    explicit PictureKeeper(std::function<void()> thumbnailsReady);
    /** Work not yet started is dropped; running work is waited for. */
    ~PictureKeeper() override;

    /** Makes picture's thumbnail of thumbSize, then packs it; each at most once.
        The work holds the picture only while it runs on it: a picture deleted
        before its turn is not kept alive. */
    void keep(const Picture& picture, QSize thumbSize);
    /** Waits until every piece of work is done; false after ms without that. */
    bool waitForIdle(int ms);

private:
    void thumbnailDone();

    QThreadPool m_thumbnails;
    QThreadPool m_packing;
    std::function<void()> m_thumbnailsReady;
    std::atomic<bool> m_readyPosted{false};
    std::atomic<bool> m_stopping{false};
};
