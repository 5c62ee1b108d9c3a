#include "viewers/fit.h"

#include <gtest/gtest.h>

// The design client area of a zoom window: 457 x 324 pixels.
constexpr float W = 6855, H = 4860;

TEST(Fit, BranchesAndEquality) {
    // Same ratio as the client area: the width branch, filling it exactly.
    FitSize same = fitSize(W, H, 457, 324);
    EXPECT_TRUE(same.fillsWidth);
    EXPECT_EQ(same.width, W);
    EXPECT_EQ(same.height, H);

    // Exact height 4860.40 rounds to H: still the width branch, whose width is W,
    // where the height branch would have given 6854.43.
    FitSize rounded = fitSize(W, H, 299, 212);
    EXPECT_TRUE(rounded.fillsWidth);
    EXPECT_EQ(rounded.width, W);
    EXPECT_EQ(rounded.height, H);

    // Wider: fills the width.
    FitSize wide = fitSize(W, H, 1600, 900);
    EXPECT_TRUE(wide.fillsWidth);
    EXPECT_EQ(wide.width, W);
    EXPECT_EQ(wide.height, 3856); // 3855.9375 rounded

    // Taller: fills the height; the width is narrowed, not rounded to a whole twip.
    FitSize tall = fitSize(W, H, 3, 7);
    EXPECT_FALSE(tall.fillsWidth);
    EXPECT_EQ(tall.height, H);
    EXPECT_EQ(tall.width, static_cast<float>(4860.0 / 7 * 3));
    EXPECT_NE(tall.width, 2083.0f);
}

TEST(Fit, RoundingTiesToEvenAfterDividingFirst) {
    EXPECT_EQ(fitSize(W, H, 2, 1).height, 3428);    // 3427.5
    EXPECT_EQ(fitSize(6825, H, 2, 1).height, 3412); // 3412.5, not 3413
    // 15 / 22 * 11 is just below 7.5 in double precision; 15 * 11 / 22 would be 7.5 -> 8.
    EXPECT_EQ(fitSize(15, 100, 22, 11).height, 7);
}

TEST(Fit, DegeneratePicturesNeverFault) {
    // Empty picture: the fitted height stays 0, so the width branch with height 0.
    FitSize empty = fitSize(W, H, 0, 0);
    EXPECT_TRUE(empty.fillsWidth);
    EXPECT_EQ(empty.width, W);
    EXPECT_EQ(empty.height, 0);
    EXPECT_EQ(centreOffset(H, empty.height), 2430); // at the middle height
    EXPECT_EQ(fitSize(W, H, 0, 5).height, 0);

    // 1 x 10000: fills the height with a sliver well under a pixel.
    FitSize sliver = fitSize(W, H, 1, 10000);
    EXPECT_FALSE(sliver.fillsWidth);
    EXPECT_FLOAT_EQ(sliver.width, 0.486f);
    // 10000 x 1: a line of one twip.
    EXPECT_EQ(fitSize(W, H, 10000, 1).height, 1);
    // A fitted height beyond 32 bits cannot be converted: it stays 0.
    FitSize huge = fitSize(19200, 15360, 1, 2147483647);
    EXPECT_TRUE(huge.fillsWidth);
    EXPECT_EQ(huge.height, 0);
    // 8K on a 1280 x 1024 screen: the width, with bars of 152 pixels above and below.
    FitSize eightK = fitSize(19200, 15360, 7680, 4320);
    EXPECT_EQ(eightK.height, 10800);
    EXPECT_EQ(centreOffset(15360, eightK.height), 2280);
    // 1 x 1 on that screen: enlarged to the full height.
    FitSize dot = fitSize(19200, 15360, 1, 1);
    EXPECT_FALSE(dot.fillsWidth);
    EXPECT_EQ(dot.width, 15360);
}

TEST(Fit, CentreRoundsThenHalvesWithTruncation) {
    EXPECT_EQ(centreOffset(6855, 6855), 0);
    // One pixel free: the left bar gets 7 twips (0 pixels), the right one the pixel.
    EXPECT_EQ(centreOffset(6855, 6840), 7);
    EXPECT_EQ(centreOffset(6855, 6825), 15);
    // Rounded to even before halving: 2.5 -> 2 -> 1, 3.5 -> 4 -> 2.
    EXPECT_EQ(centreOffset(102.5f, 100), 1);
    EXPECT_EQ(centreOffset(103.5f, 100), 2);
    // Truncation toward zero when the view is the larger.
    EXPECT_EQ(centreOffset(100, 115), -7);
}
