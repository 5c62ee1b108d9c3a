#include "platform/qt/qt_application.h"
#include "platform/qt/qt_platform.h"
#include "tests/child_reports.h"

#include <QApplication>
#include <gtest/gtest.h>

// Integration tests run on a real X server (the test script starts Xvfb and openbox).
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QtApplication app(argc, argv);
    configureImageLimits();
    ::testing::InitGoogleTest(&argc, argv);
    return runAllTestsWatchingChildren();
}
