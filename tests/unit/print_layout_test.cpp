#include "commands/print_layout.h"

#include <gtest/gtest.h>
#include <random>

TEST(PrintLayout, WideAndTallPicturesFillOneSideAndAreCentred) {
    // Letter paper's drawing area: 8 x 11 inches.
    EXPECT_EQ(fitToPage(11520, 15840, 4000, 1000), (PrintPlacement{0, 6480, 11520, 2880}));
    EXPECT_EQ(fitToPage(11520, 15840, 1000, 4000), (PrintPlacement{3780, 0, 3960, 15840}));
}

TEST(PrintLayout, EqualFittedHeightTakesTheWidthBranch) {
    // 11520 / 4 * 3 = 8640 exactly.
    EXPECT_EQ(fitToPage(11520, 8640, 4, 3), (PrintPlacement{0, 0, 11520, 8640}));
    EXPECT_EQ(fitToPage(11520, 8639, 4, 3), (PrintPlacement{0, 0, 11519, 8639}))
        << "one twip short: the height branch, W = round(11518.67), X = 1 / 2";
    // H1 = round(8228.57) = 8229 equals the page height: the height branch
    // would give W = round(11520.6), wider than the page.
    EXPECT_EQ(fitToPage(11520, 8229, 7, 5), (PrintPlacement{0, 0, 11520, 8229}));
}

TEST(PrintLayout, OddFreeSpaceIsHalvedWithTheRemainderDropped) {
    EXPECT_EQ(fitToPage(11521, 15840, 1000, 4000).x, 3780); // 7561 free
    EXPECT_EQ(fitToPage(11520, 15841, 4000, 1000).y, 6480); // 12961 free
}

TEST(PrintLayout, HalvesRoundToTheEvenNeighbour) {
    EXPECT_EQ(fitToPage(1001, 100000, 2, 1).height, 500); // 500.5
    EXPECT_EQ(fitToPage(1003, 100000, 2, 1).height, 502); // 501.5
    // A fractional page: W = 2880.5 -> 2880, X = round(0.5) / 2 = 0.
    const PrintPlacement even = fitToPage(2880.5f, 100000, 1, 1);
    EXPECT_EQ(even.width, 2880);
    EXPECT_EQ(even.x, 0);
    const PrintPlacement odd = fitToPage(2881.5f, 100000, 1, 1);
    EXPECT_EQ(odd.width, 2882);
    EXPECT_EQ(odd.x, 0) << "round(-0.5) is 0";
}

TEST(PrintLayout, PictureOfWidthZeroTakesTheWidthBranchWithHeightZero) {
    EXPECT_EQ(fitToPage(11520, 15840, 0, 0), (PrintPlacement{0, 7920, 11520, 0}));
    EXPECT_EQ(fitToPage(11520, 15841, 0, 500), (PrintPlacement{0, 7920, 11520, 0}));
}

TEST(PrintLayout, EveryFitStaysOnThePageKeepsItsRatioAndIsCentred) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> side(1, 20000);
    std::uniform_int_distribution<int> page(1000, 20000);
    for (int n = 0; n < 2000; ++n) {
        const int pw = page(random), ph = page(random);
        const int w = side(random), h = side(random);
        const PrintPlacement p = fitToPage(float(pw), float(ph), w, h);
        SCOPED_TRACE(testing::Message() << pw << "x" << ph << " page, " << w << "x" << h);
        ASSERT_TRUE(p.width == pw || p.height == ph) << "one side fills the page";
        ASSERT_LE(p.width, pw);
        ASSERT_LE(p.height, ph);
        ASSERT_GE(p.x, 0);
        ASSERT_GE(p.y, 0);
        const int right = pw - p.width - p.x, bottom = ph - p.height - p.y;
        ASSERT_TRUE(right == p.x || right == p.x + 1);
        ASSERT_TRUE(bottom == p.y || bottom == p.y + 1);
        // W / H equals w / h up to one twip of rounding on the computed side.
        ASSERT_LE(std::abs(double(p.width) * h - double(p.height) * w), 0.5 * std::max(w, h) + 1);
    }
}
