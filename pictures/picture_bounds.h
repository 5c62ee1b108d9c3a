// The largest picture the program takes, wherever it comes from: a file, the
// clipboard or the JPEG converter. What can be loaded can then be saved.
#pragma once

/** JPEG's own limit on a side; BMP, GIF and PNG could claim more. */
inline constexpr int kMaxPictureSide = 65500;
/** Pixels at most: 1 GiB at four bytes a pixel, room for an 8K screen many times over. */
inline constexpr long long kMaxPicturePixels = 16384LL * 16384;

/** True when a picture of these sides is within both bounds. */
constexpr bool isWithinPictureBounds(long long width, long long height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}
