// The fit of a picture into a window's client area, as numbers in twips: the
// zoom window and the full-screen viewer share it.
#pragma once

#include <cstdint>

struct FitSize {
    /** The picture fills the client width (taken on equality too). */
    bool fillsWidth = true;
    /** The view's size to set; the window system then keeps it in whole pixels. */
    float width = 0;
    float height = 0;
};

/** The view's size for a client area W x H and a picture PW x PH in its own unit.
    A fitted height that cannot be computed (an empty picture) stays 0. */
FitSize fitSize(float W, float H, std::int32_t PW, std::int32_t PH);

/** The view's left (or top) edge: the free space rounded to a whole twip, then
    halved with truncation, so an odd remainder goes to the right (or bottom). */
std::int32_t centreOffset(float client, float view);
