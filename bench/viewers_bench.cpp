// Speed of the viewers on a real X server (DISPLAY, with a window manager):
//  - one live-resize step of a zoom window showing a 7680 x 4320 picture, from
//    the new size to the picture painted at its new fit (aim: median < 16 ms);
//  - opening the full-screen viewer on that picture, to its first painted frame
//    (aim: < 100 ms).
// Each is compared with the same work on a 640 x 360 picture in the same run.
#include "integration/viewer_support.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <algorithm>
#include <cstdio>

namespace {
/** Processes events without pausing until cond holds; false after 10 s. */
bool spinUntil(const std::function<bool()>& cond) {
    QElapsedTimer t;
    t.start();
    while (!cond()) {
        if (t.elapsed() > 10000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return true;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

/** Median milliseconds from a new window size to the picture painted at its new fit. */
double resizeSteps(ViewerRig& rig, const Picture& picture, int steps) {
    rig.host.showInZoom(picture, QStringLiteral("Image 1"), 1);
    ZoomWindow* zoom = rig.lastZoom();
    if (!spinUntil([&] { return zoom->isVisible() && zoom->imageView().framesPainted() > 0; }))
        return -1;
    std::vector<double> ms;
    QElapsedTimer t;
    for (int i = 0; i < steps; ++i) {
        // A drag that grows and shrinks the window by a few pixels per step.
        const int k = i % 40 < 20 ? i % 20 : 20 - i % 20;
        const QSize size(600 + 9 * k, 400 + 5 * k);
        if (size == zoom->size())
            continue;
        const int painted = zoom->imageView().framesPainted();
        t.start();
        zoom->resize(size);
        if (!spinUntil([&] {
                return zoom->size() == size && zoom->imageView().framesPainted() > painted &&
                       zoom->imageView().geometry() == expectedImageRect(*zoom, picture);
            }))
            return -1;
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    return median(ms);
}

/** Median milliseconds from opening the viewer to its first frame with the picture. */
double fullScreenOpenings(ViewerRig& rig, const Picture& picture, int times) {
    std::vector<double> ms;
    QElapsedTimer t;
    for (int i = 0; i < times; ++i) {
        t.start();
        rig.host.showFullScreen(picture, QStringLiteral("Image 1"));
        FullScreenWindow* fs = rig.fullScreen();
        if (!spinUntil([&] {
                return fs->imageView().framesPainted() > 0 &&
                       fs->geometry() == fs->screen()->geometry() &&
                       fs->imageView().geometry() == expectedImageRect(*fs, picture);
            }))
            return -1;
        ms.push_back(t.nsecsElapsed() / 1e6);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
        QApplication::sendEvent(fs, &key);
        if (!spinUntil([&] { return !fs->isVisible(); }))
            return -1;
    }
    return median(ms);
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    configureImageLimits();
    ViewerRig rig;
    const Picture large = solidPicture(7680, 4320, 0xff2060a0);
    const Picture small = solidPicture(640, 360, 0xff2060a0);

    const double resizeSmall = resizeSteps(rig, small, 120);
    const double resizeLarge = resizeSteps(rig, large, 120);
    const double openSmall = fullScreenOpenings(rig, small, 15);
    const double openLarge = fullScreenOpenings(rig, large, 15);
    if (resizeSmall < 0 || resizeLarge < 0 || openSmall < 0 || openLarge < 0) {
        std::fprintf(stderr, "a step did not complete within 10 s\n");
        return 1;
    }
    std::printf("zoom window resize step, median: 7680x4320 %.2f ms, 640x360 %.2f ms, ratio %.2f "
                "(aim < 16 ms)\n",
                resizeLarge, resizeSmall, resizeLarge / resizeSmall);
    std::printf("full-screen viewer to first frame, median: 7680x4320 %.2f ms, 640x360 %.2f ms, "
                "ratio %.2f (aim < 100 ms)\n",
                openLarge, openSmall, openLarge / openSmall);
    return 0;
}
