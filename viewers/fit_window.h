#pragma once

#include "pictures/picture.h"
#include "platform/viewer_windows.h"

/** Fits picture into the window's client area and centres it. False, with
    nothing changed, while the window is minimized. */
bool fitPictureWindow(IPictureWindow& window, const Picture& picture);

/** A closed window keeps nothing alive: lets go of its picture, once, when it was loaded. */
void unloadPicture(bool& loaded, Picture& picture, IPictureWindow* window);
