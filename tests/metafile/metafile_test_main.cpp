// QtSvg needs a GUI application for its fonts: one, offscreen, around the whole test run.
#include "tests/child_reports.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return runAllTestsWatchingChildren();
}
