#include <QCoreApplication>
#include <gtest/gtest.h>

// Unit tests need an event loop for timers, but no display.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
