// Parts of a path as the logic and the files layer both take them.
#pragma once

#include <QString>

namespace paths {
/** The folder part of a path: "/" for a file in the root, "." for a bare name. */
inline QString folderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QStringLiteral(".");
    if (slash == 0)
        return QStringLiteral("/");
    return path.left(slash);
}
} // namespace paths
