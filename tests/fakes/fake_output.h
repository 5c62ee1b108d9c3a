// Fakes for the output commands: the fake platform made safe for Save All's
// worker threads, and a clock that moves on at every read.
#pragma once

#include "fakes/fake_platform.h"

#include <atomic>
#include <mutex>

/** Serialises every call into the fake files, pictures and converter, which
    share one in-memory file system. */
class LockedFileSystem final : public IFileSystem {
public:
    LockedFileSystem(IFileSystem& inner, std::mutex& lock) : m_inner(inner), m_lock(lock) {}
    std::int64_t fileLength(const QString& path) const override {
        std::lock_guard g(m_lock);
        return m_inner.fileLength(path);
    }
    bool remove(const QString& path) override {
        std::lock_guard g(m_lock);
        return m_inner.remove(path);
    }
    bool renameNew(const QString& from, const QString& to, QString* error) override {
        std::lock_guard g(m_lock);
        return m_inner.renameNew(from, to, error);
    }
    QString saveTarget(const QString& path, QString* error) const override {
        std::lock_guard g(m_lock);
        return m_inner.saveTarget(path, error);
    }
    QStringList listFiles(const QString& folder, const QString& pattern) const override {
        std::lock_guard g(m_lock);
        return m_inner.listFiles(folder, pattern);
    }
    QString uniqueName(const QString& folder, const QString& stem,
                       const QString& suffix) const override {
        std::lock_guard g(m_lock);
        return m_inner.uniqueName(folder, stem, suffix);
    }

private:
    IFileSystem& m_inner;
    std::mutex& m_lock;
};

class LockedPictureFiles final : public IPictureFiles {
public:
    LockedPictureFiles(IPictureFiles& inner, std::mutex& lock) : m_inner(inner), m_lock(lock) {}
    Picture load(const QString& path, QString* error) override {
        std::lock_guard g(m_lock);
        return m_inner.load(path, error);
    }
    bool writeBmp(const Picture& picture, const QString& path, QString* error) override {
        std::lock_guard g(m_lock);
        return m_inner.writeBmp(picture, path, error);
    }
    std::unique_ptr<IntermediateBmp> writeIntermediateBmp(const Picture& picture,
                                                          const QString& folder,
                                                          QString* error) override {
        std::lock_guard g(m_lock);
        return m_inner.writeIntermediateBmp(picture, folder, error);
    }

private:
    IPictureFiles& m_inner;
    std::mutex& m_lock;
};

class LockedConverter final : public IConverter {
public:
    LockedConverter(IConverter& inner, std::mutex& lock) : m_inner(inner), m_lock(lock) {}
    bool BmpToJpeg(const QString& bmp, const QString& jpeg, int setting, QString* error) override {
        std::lock_guard g(m_lock);
        return m_inner.BmpToJpeg(bmp, jpeg, setting, error);
    }

private:
    IConverter& m_inner;
    std::mutex& m_lock;
};

/** Reads start at start and move on by stepMs each. */
class SteppingClock final : public IClock {
public:
    QDateTime start = FakeClock().now;
    int stepMs = 0;
    QDateTime localNow() const override { return start.addMSecs(qint64(stepMs) * m_reads++); }
    std::int64_t monotonicMs() const override { return 0; }
    int reads() const { return m_reads; }

private:
    mutable std::atomic<int> m_reads{0};
};

/** The fake platform with its file side serialised. */
struct ThreadSafeFakes {
    FakePlatform fake;
    std::mutex lock;
    LockedFileSystem files{fake.files, lock};
    LockedPictureFiles pictures{fake.pictures, lock};
    LockedConverter converter{fake.converter, lock};
    SteppingClock clock;
    Platform platform{fake.clipboard, clock,      files,        pictures, fake.dialogs,
                      fake.messages,  fake.shell, fake.printer, converter};
};
