#include "viewers/fit_window.h"

#include "viewers/fit.h"

bool fitPictureWindow(IPictureWindow& window, const Picture& picture) {
    if (window.isMinimized())
        return false;
    // Hidden while it passes through its intermediate sizes.
    window.setImageVisible(false);
    const FitSize size = fitSize(window.clientWidthTwips(), window.clientHeightTwips(),
                                 picture.width(), picture.height());
    window.setImageSize(size.width, size.height);
    // The window system may have kept another size: centre what it kept.
    const float W = window.clientWidthTwips();
    const float H = window.clientHeightTwips();
    window.moveImage(centreOffset(W, window.imageWidthTwips()),
                     centreOffset(H, window.imageHeightTwips()));
    window.setImageVisible(true);
    return true;
}

void unloadPicture(bool& loaded, Picture& picture, IPictureWindow* window) {
    if (!loaded)
        return;
    loaded = false;
    picture = Picture();
    if (window)
        window->setPicture(picture);
}
