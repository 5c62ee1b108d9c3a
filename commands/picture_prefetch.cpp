#include "commands/picture_prefetch.h"

#include <QThread>
#include <algorithm>
#include <chrono>
#include <memory>
#include <new>

PicturePrefetch::PicturePrefetch(IPictureFiles& pictures, QStringList paths, int ahead)
    : m_pictures(pictures), m_paths(std::move(paths)), m_ahead(std::max(ahead, 1)) {
    m_pool.setMaxThreadCount(m_ahead);
    // Idle workers end at once, so no thread outlives a Browse for long.
    m_pool.setExpiryTimeout(0);
    startLoads();
}

PicturePrefetch::~PicturePrefetch() {
    m_pool.waitForDone();
}

int PicturePrefetch::defaultAhead() {
    return std::max(QThread::idealThreadCount(), 1);
}

void PicturePrefetch::startLoads() {
    // At most `ahead` loads at once: while the caller works on one result,
    // the next `ahead` files load.
    while (m_started < m_paths.size() && m_started < m_next + m_ahead) {
        auto promise = std::make_shared<std::promise<LoadedPicture>>();
        m_pending.push_back(promise->get_future());
        const QString path = m_paths.at(m_started++);
        m_pool.start([this, promise, path] {
            LoadedPicture result;
            try {
                result.picture = m_pictures.load(path, &result.error);
            } catch (const std::bad_alloc&) {
                result = {Picture(), QStringLiteral("there is not enough memory for the picture")};
            } catch (...) {
                result = {Picture(), QStringLiteral("the file could not be read")};
            }
            promise->set_value(std::move(result));
        });
    }
}

LoadedPicture PicturePrefetch::takeNext(const std::function<void()>& whileWaiting) {
    if (atEnd())
        return {};
    startLoads();
    if (whileWaiting) {
        // Short enough that the window paints and answers smoothly meanwhile.
        constexpr std::chrono::milliseconds kPoll(10);
        while (m_pending.front().wait_for(kPoll) != std::future_status::ready)
            whileWaiting();
    }
    LoadedPicture result = m_pending.front().get();
    m_pending.pop_front();
    ++m_next;
    startLoads();
    return result;
}
