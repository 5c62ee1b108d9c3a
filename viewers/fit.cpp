#include "viewers/fit.h"

#include "platform/units.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// Whether a rounded value fits a 32-bit integer; a conversion that does not fit fails.
bool fitsInt32(double value) {
    return std::isfinite(value) && value >= std::numeric_limits<std::int32_t>::min() &&
           value <= std::numeric_limits<std::int32_t>::max();
}
} // namespace

FitSize fitSize(float W, float H, std::int32_t PW, std::int32_t PH) {
    // A client area has no negative size; this keeps the height branch away from PH = 0.
    W = std::max(W, 0.0f);
    H = std::max(H, 0.0f);
    // Divide first: (W / PW) * PH can round differently from W * PH / PW.
    std::int32_t FH = 0;
    if (PW != 0) {
        const double fitted = roundHalfEven((static_cast<double>(W) / PW) * PH);
        if (fitsInt32(fitted))
            FH = static_cast<std::int32_t>(fitted);
    }
    if (static_cast<double>(H) >= FH)
        return {true, W, static_cast<float>(FH)};
    // Only reached with FH > H >= 0, hence PH != 0. Narrowed, not rounded.
    const double width = (static_cast<double>(H) / PH) * PW;
    return {false, static_cast<float>(width), H};
}

std::int32_t centreOffset(float client, float view) {
    const double free = roundHalfEven(static_cast<double>(client) - view);
    if (!fitsInt32(free))
        return 0;
    return static_cast<std::int32_t>(free) / 2;
}
