#include "commands/picture_prefetch.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <new>

struct PicturePrefetch::State {
    State(IPictureFiles& p, QStringList files, qsizetype n)
        : pictures(p), paths(std::move(files)), ahead(n) {}

    IPictureFiles& pictures;
    const QStringList paths;
    const qsizetype ahead;
    std::mutex mutex;
    std::condition_variable loaded;
    qsizetype taken = 0;   // results handed out
    qsizetype started = 0; // loads begun
    int workers = 0;       // pool tasks that may still begin loads
    bool abandoned = false;
    std::map<qsizetype, LoadedPicture> results; // ended, not yet taken

    bool mayStart() const {
        return !abandoned && started < paths.size() && started < taken + ahead;
    }
};

namespace {

LoadedPicture loadOne(IPictureFiles& pictures, const QString& path) {
    LoadedPicture result;
    try {
        result.picture = pictures.load(path, &result.error);
    } catch (const std::bad_alloc&) {
        result = {Picture(), QCoreApplication::translate(
                                 "Pictures", "there is not enough memory for the picture")};
    } catch (...) {
        result = {Picture(), QCoreApplication::translate("Pictures", "the file could not be read")};
    }
    return result;
}

// Threads idle this long end; a Browse keeps them busy, so they last for all of it.
constexpr int kIdleThreadMs = 60000;

} // namespace

PicturePrefetch::PicturePrefetch(IPictureFiles& pictures, QStringList paths, int ahead,
                                 QThreadPool* pool)
    : m_ownPool(pool ? nullptr : std::make_unique<QThreadPool>()),
      m_pool(pool ? *pool : *m_ownPool),
      m_state(std::make_shared<State>(pictures, std::move(paths), std::max(ahead, 1))) {
    if (m_ownPool) {
        configure(*m_ownPool);
        m_ownPool->setMaxThreadCount(std::max(ahead, 1));
    }
    startWorkers();
}

PicturePrefetch::~PicturePrefetch() {
    std::map<qsizetype, LoadedPicture> dropped;
    {
        std::lock_guard lock(m_state->mutex);
        m_state->abandoned = true;
        dropped.swap(m_state->results);
    }
    if (m_ownPool)
        m_ownPool->waitForDone();
}

int PicturePrefetch::defaultAhead() {
    return std::max(QThread::idealThreadCount(), 1) + 1;
}

void PicturePrefetch::configure(QThreadPool& pool) {
    pool.setMaxThreadCount(std::max(QThread::idealThreadCount(), 1));
    pool.setExpiryTimeout(kIdleThreadMs);
}

bool PicturePrefetch::atEnd() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->taken >= m_state->paths.size();
}

void PicturePrefetch::startWorkers() {
    int wanted = 0;
    {
        std::lock_guard lock(m_state->mutex);
        State& s = *m_state;
        const qsizetype startable = std::min(s.paths.size(), s.taken + s.ahead) - s.started;
        wanted = int(std::min<qsizetype>(m_pool.maxThreadCount(), startable)) - s.workers;
        s.workers += std::max(wanted, 0);
    }
    // Each task loads file after file while the window allows, so a thread that
    // ends one load begins the next without waiting for the caller.
    for (; wanted > 0; --wanted) {
        m_pool.start([state = m_state] {
            std::unique_lock lock(state->mutex);
            while (state->mayStart()) {
                const qsizetype index = state->started++;
                const QString path = state->paths.at(index);
                lock.unlock();
                LoadedPicture result = loadOne(state->pictures, path);
                lock.lock();
                if (!state->abandoned)
                    state->results.emplace(index, std::move(result));
                state->loaded.notify_all();
                if (state->abandoned) {
                    // An abandoned picture is freed here, not under the lock.
                    lock.unlock();
                    result = {};
                    lock.lock();
                }
            }
            --state->workers;
        });
    }
}

std::optional<LoadedPicture> PicturePrefetch::takeNext(const std::function<bool()>& keepWaiting) {
    if (atEnd())
        return LoadedPicture{};
    startWorkers();
    // Short enough that the window paints and answers smoothly meanwhile.
    constexpr std::chrono::milliseconds kPoll(10);
    State& s = *m_state;
    std::unique_lock lock(s.mutex);
    const auto ready = [&s] { return s.results.count(s.taken) > 0; };
    while (!ready()) {
        if (!keepWaiting) {
            s.loaded.wait(lock, ready);
            break;
        }
        if (s.loaded.wait_for(lock, kPoll, ready))
            break;
        lock.unlock();
        const bool wait = keepWaiting();
        lock.lock();
        if (!wait)
            return std::nullopt;
    }
    const auto it = s.results.find(s.taken);
    LoadedPicture result = std::move(it->second);
    s.results.erase(it);
    ++s.taken;
    lock.unlock();
    startWorkers();
    return result;
}
