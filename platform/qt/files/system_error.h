// The system's words for an errno value, as the messages show them, and the reason a
// call failed handed to a caller that asked for it.
#pragma once

#include <QString>
#include <cerrno>
#include <cstring>

inline QString systemError(int code = errno) {
    return QString::fromLocal8Bit(std::strerror(code));
}

inline void setError(QString* error, const QString& text) {
    if (error)
        *error = text;
}
