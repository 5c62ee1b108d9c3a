#pragma once

#include <QDateTime>
#include <cstdint>

class IClock {
public:
    virtual ~IClock() = default;
    virtual QDateTime localNow() const = 0;
    /** Milliseconds from an arbitrary start, never going back. */
    virtual std::int64_t monotonicMs() const = 0;
};
