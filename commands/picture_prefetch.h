// Loads the pictures of a list of files ahead of the one the caller waits for,
// on worker threads, and hands them out strictly in list order.
#pragma once

#include "platform/picture_files.h"

#include <QStringList>
#include <QThreadPool>
#include <functional>
#include <memory>
#include <optional>

struct LoadedPicture {
    Picture picture; // null when the file could not be loaded
    QString error;
};

class PicturePrefetch {
public:
    /** ahead: how many loads may be started past the last result taken. The loads
        run on pool, which must outlive them all (its owner waits for it at exit);
        without one, on a pool of this object's own. */
    PicturePrefetch(IPictureFiles& pictures, QStringList paths, int ahead,
                    QThreadPool* pool = nullptr);
    /** Abandons the loads not taken: those not begun never begin, those running
        end on their workers and are dropped. Waits only for a pool of its own. */
    ~PicturePrefetch();
    PicturePrefetch(const PicturePrefetch&) = delete;
    PicturePrefetch& operator=(const PicturePrefetch&) = delete;

    bool atEnd() const;
    /** The next file's result once its load has ended. keepWaiting, if given, is
        called every few milliseconds meanwhile; when it says false, nothing is
        taken and nullopt comes back. */
    std::optional<LoadedPicture> takeNext(const std::function<bool()>& keepWaiting = {});

    /** A result ready while the caller works on the one it took, with every core
        loading: one more than the cores. */
    static int defaultAhead();
    /** A pool of one thread a core, its threads kept between loads. */
    static void configure(QThreadPool& pool);

private:
    struct State;
    void startWorkers();

    std::unique_ptr<QThreadPool> m_ownPool;
    QThreadPool& m_pool;
    std::shared_ptr<State> m_state;
};
