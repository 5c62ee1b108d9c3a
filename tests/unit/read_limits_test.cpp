#include "platform/qt/clipboard/read_limits.h"

#include <gtest/gtest.h>

TEST(ReadLimits, ARefusingOwnerIsLookedAtAgainSoonThenLessOften) {
    const ReadLimits limits;
    EXPECT_EQ(retryBackoffMs(limits, 1), 200) << "a busy owner is asked again at once";
    EXPECT_EQ(retryBackoffMs(limits, 2), 400);
    EXPECT_EQ(retryBackoffMs(limits, 5), 3200);
    EXPECT_EQ(retryBackoffMs(limits, 6), 5000) << "and at most every five seconds";
    EXPECT_EQ(retryBackoffMs(limits, 1000), 5000);
}
