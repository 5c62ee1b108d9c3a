// Small helpers shared by the benchmarks that drive the real window.
#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <functional>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double msSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

/** Runs the event loop until condition holds or ms have passed, without spinning. */
inline bool pumpUntil(const std::function<bool()>& condition, int ms) {
    const auto t0 = Clock::now();
    while (!condition() && msSince(t0) < ms) {
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return condition();
}

inline void pumpFor(int ms) {
    pumpUntil([] { return false; }, ms);
}

/** A memory figure of this process from /proc/self/status, in bytes. */
inline qint64 statusBytes(const QByteArray& field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(QByteArray(field + ':')))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

/** Resident memory of this process in bytes. */
inline qint64 residentBytes() { return statusBytes("VmRSS"); }

/** The most resident memory since the process began or since resetPeakResident(). */
inline qint64 peakResidentBytes() { return statusBytes("VmHWM"); }

/** Starts the peak over from the present resident memory. */
inline bool resetPeakResident() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

/** Runs this benchmark again with args, in a fresh process, and gives the words
    it printed; its stderr goes through. */
inline QList<QByteArray> runSelf(const QStringList& args, int timeoutMs) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), args);
    child.waitForFinished(timeoutMs);
    return child.readAllStandardOutput().trimmed().split(' ');
}

inline double mib(qint64 bytes) { return double(bytes) / (1024.0 * 1024.0); }

} // namespace bench
