#pragma once

#include "pictures/picture.h"

#include <QString>

/** Opens the viewers for the main window. */
class ViewerHost {
public:
    virtual ~ViewerHost() = default;
    /** Shows picture in the zoom window made last, or in a new one when a
        modifier is held (shift != 0) or none was made yet. */
    virtual void showInZoom(const Picture& picture, const QString& caption, int shift) = 0;
    /** Shows picture in the one full-screen viewer, owned by the main window; name
        is what a screen reader says of it. */
    virtual void showFullScreen(const Picture& picture, const QString& name) = 0;
    /** Closes every viewer; the program is ending. */
    virtual void closeAll() = 0;
};
