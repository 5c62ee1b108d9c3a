// AddImage at any gallery size, and a full repaint of a window of 56 thumbnails.
#include "app/form_capture.h"
#include "fakes/fake_platform.h"
#include "gallery/gallery.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/windows/capture_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Nanoseconds of the AddImage that fills entry `index`, in a window with room for all.
double addImageAt(int index, const Picture& picture) {
    std::vector<double> samples;
    for (int round = 0; round < 15; ++round) {
        Gallery g([] { return OuterSize{1 << 30, 1 << 30}; });
        for (int i = 0; i < index; ++i)
            g.AddImage(picture);
        QElapsedTimer t;
        t.start();
        for (int k = 0; k < 1; ++k)
            g.AddImage(picture);
        samples.push_back(double(t.nsecsElapsed()));
    }
    return median(samples);
}

QImage screenLike(int seed) {
    QImage image(1920, 1080, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qRgb((x + seed * 37) & 255, (y * 3) & 255, ((x ^ y) + seed) & 255);
    }
    return image;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "xcb" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const Picture small = solidPicture(4, 3);

    const double first = addImageAt(1, small);
    const double thousandth = addImageAt(1000, small);
    std::printf("AddImage into entry 1: %.0f ns; into entry 1000: %.0f ns; ratio %.2f (target <= 1.5)\n",
                first, thousandth, thousandth / first);

    FakePlatform fake;
    CaptureWindow window;
    FakeViewerHost viewers;
    formCapture form(window, fake.platform, viewers);
    window.attach(form.gallery(), form);
    window.resize(632, 453);
    window.show();
    QElapsedTimer shown;
    shown.start();
    while (shown.elapsed() < 500)
        QCoreApplication::processEvents();

    auto repaintMedian = [&] {
        std::vector<double> samples;
        for (int i = 0; i < 60; ++i) {
            QElapsedTimer t;
            t.start();
            window.repaint();
            samples.push_back(t.nsecsElapsed() / 1e6);
        }
        return median(samples);
    };
    const double empty = repaintMedian();
    // What a capture adds to its latency after the clipboard is emptied: the
    // first paint of the new entry; its scaled copy is made on another thread.
    std::vector<double> firstPaints;
    for (int i = 0; i < 15; ++i) {
        form.gallery().imgView(0).picture = Picture::fromImage(screenLike(100 + i));
        QElapsedTimer t;
        t.start();
        window.galleryChanged();
        window.repaint();
        firstPaints.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("First paint of a new 1920x1080 entry: %.2f ms median\n", median(firstPaints));
    form.gallery().imgView(0).picture = Picture();
    for (int i = 0; i < 56; ++i)
        form.gallery().AddImage(Picture::fromImage(screenLike(i)));
    // Every thumbnail made and every picture packed, as after a while in use.
    window.galleryChanged();
    window.keeper().waitForIdle(120000);
    const double full = repaintMedian();
    std::printf("Full repaint, empty window: %.2f ms; with 56 thumbnails of 1920x1080: %.2f ms "
                "(target < 5 ms); ratio %.2f\n",
                empty, full, full / empty);
    return 0;
}
