// The system's words for an errno value, as the messages show them.
#pragma once

#include <QString>
#include <cerrno>
#include <cstring>

inline QString systemError(int code = errno) {
    return QString::fromLocal8Bit(std::strerror(code));
}
