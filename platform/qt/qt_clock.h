#pragma once

#include "platform/clock.h"

#include <QElapsedTimer>

class QtClock final : public IClock {
public:
    QtClock() { m_started.start(); }
    QDateTime localNow() const override { return QDateTime::currentDateTime(); }
    std::int64_t monotonicMs() const override { return m_started.elapsed(); }

private:
    QElapsedTimer m_started;
};
