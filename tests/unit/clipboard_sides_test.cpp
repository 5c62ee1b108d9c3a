#include "platform/qt/clipboard/clipboard_sides.h"

#include <gtest/gtest.h>

using Side = ClipboardSides::Side;

namespace {
constexpr std::uint64_t kShot = 0x5407;
constexpr std::uint64_t kOther = 0x07e4;
} // namespace

// A compositor's hand-over comes within 2 s of the take; the same picture copied again
// from a program on the other side later than that is a new copy.
TEST(ClipboardSides, SamePictureOnTheOtherSideIsTheHandOverOnlyJustAfterTheTake) {
    ClipboardSides sides;
    sides.lookBegins(0);
    EXPECT_FALSE(sides.bridgedFrom(Side::X, kShot)) << "nothing taken yet";

    sides.taken(Side::X, kShot, 10'000);
    sides.lookBegins(10'000 + 1'999);
    EXPECT_TRUE(sides.bridgedFrom(Side::X, kShot));
    EXPECT_FALSE(sides.bridgedFrom(Side::X, kOther)) << "another picture is a new copy";
    EXPECT_FALSE(sides.bridgedFrom(Side::X, 0)) << "a picture without a fingerprint is never matched";
    EXPECT_FALSE(sides.bridgedFrom(Side::Wayland, kShot)) << "taken from X, not from Wayland";
    sides.lookBegins(10'000 + 2'000);
    EXPECT_FALSE(sides.bridgedFrom(Side::X, kShot)) << "copied again by the user";

    // Read through the compositor with an X program holding it behind: either side.
    sides.taken(Side::Both, kOther, 20'000);
    sides.lookBegins(20'500);
    EXPECT_TRUE(sides.bridgedFrom(Side::X, kOther));
    EXPECT_TRUE(sides.bridgedFrom(Side::Wayland, kOther));
    sides.taken(Side::Wayland, kShot, 21'000);
    sides.lookBegins(21'100);
    EXPECT_TRUE(sides.bridgedFrom(Side::Wayland, kShot));
    EXPECT_FALSE(sides.bridgedFrom(Side::X, kShot));
}

// KWin keeps offering its copy of an X copy after the X side was emptied, but cannot
// hand it over: that offer is cleared; one that was there beside the X copy is not.
TEST(ClipboardSides, UnreadableOfferIsTheXTakesLeftoverOnlyIfMadeSinceTheTake) {
    ClipboardSides sides;
    constexpr std::uint64_t kBeside = 41;
    constexpr std::uint64_t kNew = 42;
    sides.taken(Side::X, kShot, 5'000, kBeside);
    sides.lookBegins(5'300);
    EXPECT_TRUE(sides.leftOverFromXTake(kNew));
    EXPECT_FALSE(sides.leftOverFromXTake(kBeside)) << "a slow Wayland copy waiting its turn";
    sides.lookBegins(7'100);
    EXPECT_FALSE(sides.leftOverFromXTake(kNew)) << "long after the take: a program's own copy";
    sides.taken(Side::Wayland, kOther, 8'000);
    sides.lookBegins(8'100);
    EXPECT_FALSE(sides.leftOverFromXTake(kNew)) << "the last take was not from X";
}
