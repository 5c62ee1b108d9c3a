#pragma once

#include "pictures/picture.h"

/** The default printer, in twips. */
class IPrinter {
public:
    virtual ~IPrinter() = default;
    /** Size of the printable area; false when there is no printer. */
    virtual bool pageSizeTwips(float* width, float* height) = 0;
    /** Draws picture into the rectangle; the document starts with the first drawing. */
    virtual bool drawPicture(const Picture& picture, float x, float y, float width,
                             float height) = 0;
    /** Ends the document so that the page goes to the printer. */
    virtual bool endDocument() = 0;
};
