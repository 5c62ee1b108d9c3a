// The main window's longest stall while a command works, against that command's
// own time, on a real X server (DISPLAY): Save All of 24 photos, Print of a
// 24-megapixel photo (to the default CUPS printer), Copy of a 16384 x 16384
// capture held packed. A stall is the longest time the event loop went without
// serving a 5 ms timer; the window paints and answers the clipboard in that loop.
// Then the peak memory while the arrow keys move a zoom window through the 24
// photos, against what showing one of them takes.
// Usage: window_stall_bench [WORK_FOLDER]
#include "app/form_capture.h"
#include "app/qt_viewer_host.h"
#include "gallery/key_dispatch.h"
#include "bench_pictures.h"
#include "bench_support.h"
#include "integration/test_pictures.h"
#include "integration/viewer_support.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMimeData>
#include <QPainter>
#include <cstdio>

namespace {

struct Figures {
    double stallMs = -1;
    double totalMs = -1;
};

struct Window {
    QtPlatform qt;
    FakeDialogs dialogs;
    FakeMessageBox messages;
    Platform platform{qt.clipboard, qt.clock, qt.files,   qt.pictures, dialogs,
                      messages,     qt.shell, qt.printer, qt.converter};
    CaptureWindow window;
    QtViewerHost viewers{window};
    formCapture form{window, platform, viewers, &qt.jobs};

    Window() {
        viewers.attach(form.gallery(), platform);
        window.attach(form.gallery(), form);
        window.resize(1200, 900);
        window.show();
    }

    Figures run(Command command, const std::function<bool()>& finished) {
        Figures f;
        QElapsedTimer clock;
        clock.start();
        qint64 last = 0;
        qint64 longest = 0;
        QTimer beat;
        beat.setInterval(5);
        QObject::connect(&beat, &QTimer::timeout, [&] {
            longest = std::max(longest, clock.elapsed() - last);
            last = clock.elapsed();
        });
        beat.start();
        bool ran = false;
        QTimer::singleShot(0, &window, [this, command, &ran] {
            form.menuCommand(command);
            ran = true;
        });
        if (!bench::pumpUntil([&] { return ran && !form.jobRunning() && finished(); }, 600000))
            return f;
        f.totalMs = double(clock.elapsed());
        f.stallMs = double(std::max(longest, clock.elapsed() - last));
        return f;
    }
};

// One photo made, the others its copies: each is decoded on its own all the same.
Picture photoFile(const QString& path, const QString& first, IPictureFiles& files) {
    if (!QFileInfo::exists(first))
        testpics::writeFile(first, testpics::jpegOf(testpics::photoLike(6000, 4000, 1), false));
    if (!QFileInfo::exists(path))
        QFile::copy(first, path);
    return files.load(path, nullptr);
}

// A screen-like capture: smooth areas, packed fast and small.
QImage bigCapture() {
    QImage image(16384, 16384, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 16384, 16384);
    gradient.setColorAt(0, Qt::darkBlue);
    gradient.setColorAt(1, Qt::yellow);
    painter.fillRect(image.rect(), gradient);
    for (int i = 0; i < 64; ++i)
        painter.fillRect(i * 256, i * 200, 1200, 700, QColor::fromHsv(i * 5, 200, 220));
    return image;
}

/** Grows the memory of this process above `before` while the zoom window shows what
    the keys select; shown() says when the last one is on screen. */
double peakAbove(qint64 before, const std::function<bool()>& shown) {
    if (!bench::pumpUntil(shown, 120000))
        return -1;
    return bench::mib(bench::peakResidentBytes() - before);
}

/** A zoom window moved by the arrow keys through the 24 photos of the gallery, as a
    held key does: the presses come faster than photos decode. */
void arrowKeysThroughPhotos(Window& w) {
    Gallery& g = w.form.gallery();
    w.window.galleryChanged();
    w.window.keeper().waitForIdle(600000);
    g.SelectImage(0);
    bench::pumpFor(200);
    bench::resetPeakResident();
    const qint64 before = bench::residentBytes();
    w.form.Form_KeyDown(keys::Enter, 0);
    auto* zoom = dynamic_cast<ZoomWindow*>(w.viewers.viewers()->LastZoom()->view());
    const auto showing = [zoom](const Picture& p) {
        return [zoom, p] {
            return zoom->imageView().picture().sameAs(p) && !zoom->imageView().loading() &&
                   zoom->imageView().holdsDecodedCopy();
        };
    };
    const double one = peakAbove(before, showing(g.imgView(0).picture));
    bench::resetPeakResident();
    for (int i = 1; i < g.ImageCount; ++i) {
        w.form.Form_KeyDown(keys::Right, 0);
        w.form.Form_KeyDown(keys::Enter, 0);
    }
    const double all = peakAbove(before, showing(g.imgView(g.ImageCount - 1).picture));
    std::printf("Arrow keys through %d photos in a zoom window: peak %.0f MiB above the "
                "window before, one photo shown %.0f MiB, ratio %.2f\n",
                g.ImageCount, all, one, one > 0 ? all / one : -1.0);
    w.viewers.closeAll();
}

void report(const char* what, const Figures& f) {
    std::printf("%-44s longest stall %7.1f ms, the job %8.1f ms, stall / job %.3f\n", what,
                f.stallMs, f.totalMs, f.totalMs > 0 ? f.stallMs / f.totalMs : -1.0);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    configureImageLimits();
    const QString work = bench::workFolder(argc, argv);
    QDir().mkpath(work + "/photos");
    Window w;
    Gallery& g = w.form.gallery();

    for (int i = 0; i < 24; ++i) {
        const Picture p = photoFile(work + QStringLiteral("/photos/photo%1.jpg").arg(i),
                                    work + QStringLiteral("/photos/photo0.jpg"), w.qt.pictures);
        if (p.isNull())
            return 1;
        g.AddImage(p);
    }
    const QString saved = work + "/saved";
    bench::emptyFolder(saved);
    QDir().mkpath(saved);
    w.dialogs.answers.push_back(saved);
    const Figures saveAll = w.run(Command::SaveAll, [&] { return !w.messages.shown.empty(); });
    report("Save All, 24 photos of 6000 x 4000:", saveAll);

    g.SelectImage(0);
    const Figures print = w.run(Command::Print, [] { return true; });
    report("Print, one photo of 6000 x 4000:", print);
    arrowKeysThroughPhotos(w);

    QImage capture = bigCapture();
    const Picture big = Picture::fromImage(capture);
    capture = QImage();
    big.compact();
    w.form.Form_KeyDown(119, 0); // Clear
    g.AddImage(big);
    g.SelectImage(0);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    const Figures copy = w.run(Command::Copy, [&] {
        return clipboard->ownsClipboard() && clipboard->mimeData()->hasImage();
    });
    report(big.isCompact() ? "Copy, a 16384 x 16384 capture held packed:"
                           : "Copy, a 16384 x 16384 capture held decoded:",
           copy);
    return saveAll.totalMs > 0 && print.totalMs > 0 && copy.totalMs > 0 ? 0 : 1;
}
