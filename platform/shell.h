#pragma once

#include <QString>

class IShell {
public:
    virtual ~IShell() = default;
    /** Opens a web address in the user's browser; false when nothing took it. */
    virtual bool openUrl(const QString& url) = 0;
};
