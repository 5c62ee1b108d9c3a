// How compactly the gallery holds pictures, and what that costs, on a real X
// server (DISPLAY with a window manager; xclip and ImageMagick):
//  - the packing itself on the benchmark screenshots: ratio, speed both ways;
//  - resident memory per picture after 56 captures of real-looking 1920 x 1080
//    and 3840 x 2160 screenshots and of noise, against W x H x 4;
//  - opening a zoom window on a packed 3840 x 2160 capture, to its first
//    painted frame, against the same picture held decoded;
//  - the longest stall of the event loop while a 16384 x 16384 capture
//    arrives, against the stall for a 1920 x 1080 one.
// Each capture child runs in a fresh process. Argument: a work folder for the
// pictures, kept between runs.
#include "app/form_capture.h"
#include "app/qt_viewer_host.h"
#include "bench_pictures.h"
#include "bench_support.h"
#include "integration/viewer_support.h"
#include "pictures/packed_image.h"

#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QWindow>
#include <cstdio>

namespace {

using bench::Clock;
using bench::msSince;
using bench::residentBytes;

bool writePng(const QImage& image, const QString& path) {
    QImageWriter writer(path, "png");
    writer.setQuality(80); // light deflate: these are only carried over the clipboard
    return writer.write(image);
}

// ImageMagick takes long for a screen: eight are made, and the others mixed from them.
constexpr int kBaseScreens = 8;

/** Screen i: base screen i mod 8 with a window cut from another one over it,
    somewhere else each time, and its number in the task bar. */
QImage mixedScreen(const std::vector<QImage>& base, int i) {
    QImage image = base[std::size_t(i % kBaseScreens)].copy();
    const QImage& other = base[std::size_t((i / kBaseScreens + i + 1) % kBaseScreens)];
    QPainter p(&image);
    const QRect from(40 + i * 11 % 300, 40, 900, 620);
    p.drawImage(QPoint(300 + i * 37 % 600, 200 + i * 23 % 200), other, from);
    p.setPen(Qt::white);
    p.drawText(QRect(1600, 1044, 300, 30), Qt::AlignCenter, QStringLiteral("capture %1").arg(i));
    return image;
}

QStringList screens1080(const QString& folder, int n) {
    const std::vector<QImage> base = bench::screens(folder, kBaseScreens);
    QStringList paths;
    for (int i = 0; i < n && !base.empty(); ++i) {
        const QString png = folder + QStringLiteral("/hd_%1.png").arg(i, 2, 10, QChar('0'));
        if (!QFileInfo::exists(png) && !writePng(mixedScreen(base, i), png))
            return {};
        paths << png;
    }
    return paths;
}

/** n real-looking 3840 x 2160 screens, each four mixed 1920 x 1080 ones. */
QStringList screens4k(const QString& folder, int n) {
    const std::vector<QImage> base = bench::screens(folder, kBaseScreens);
    QStringList paths;
    for (int i = 0; i < n && !base.empty(); ++i) {
        const QString png = folder + QStringLiteral("/uhd_%1.png").arg(i, 2, 10, QChar('0'));
        if (!QFileInfo::exists(png)) {
            QImage big(3840, 2160, QImage::Format_RGB32);
            QPainter p(&big);
            for (int k = 0; k < 4; ++k)
                p.drawImage(QPoint(k % 2 * 1920, k / 2 * 1080), mixedScreen(base, i * 4 + k));
            p.end();
            if (!writePng(big, png))
                return {};
        }
        paths << png;
    }
    return paths;
}

QStringList noiseScreens(const QString& folder, int n) {
    QStringList paths;
    for (int i = 0; i < n; ++i) {
        const QString png = folder + QStringLiteral("/noise_%1.png").arg(i, 2, 10, QChar('0'));
        if (!QFileInfo::exists(png)) {
            QImage image(1920, 1080, QImage::Format_RGB32);
            QRandomGenerator rng(quint32(i + 1));
            for (int y = 0; y < image.height(); ++y) {
                auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
                rng.fillRange(line, image.width());
                for (int x = 0; x < image.width(); ++x)
                    line[x] |= 0xff000000u;
            }
            if (!writePng(image, png))
                return {};
        }
        paths << png;
    }
    return paths;
}

/** A 16384 x 16384 screen of a few colours: a small PNG, a gigabyte decoded. */
QString hugeScreen(const QString& folder) {
    const QString png = folder + QStringLiteral("/huge.png");
    if (!QFileInfo::exists(png)) {
        QImage image(16384, 16384, QImage::Format_RGB32);
        image.fill(0xff3a6ea5);
        QPainter p(&image);
        for (int i = 0; i < 64; ++i)
            p.fillRect(i * 256, i * 200, 3000, 1800, QColor::fromHsv(i * 5 % 360, 90, 240));
        p.end();
        if (!writePng(image, png))
            return {};
    }
    return png;
}

/** The program's window and logic on the real platform. */
struct Rig {
    QtPlatform qt;
    FakeDialogs dialogs;
    Platform platform{qt.clipboard, qt.clock,    qt.files,   qt.pictures, dialogs,
                      qt.messages,  qt.shell,    qt.printer, qt.converter};
    CaptureWindow window;
    QtViewerHost viewers{window};
    formCapture form{window, platform, viewers};

    Rig() {
        window.attach(form.gallery(), form);
        window.resize(1000, 760); // room for more than 56 thumbnails
        form.Form_Load();
        window.show();
        waitFor([this] { return window.windowHandle() && window.windowHandle()->isExposed(); });
        waitFor([] { return false; }, 300); // the first layout and clipboard tick
    }

    /** Puts png on the clipboard and waits until it is in the gallery. */
    bool capture(const QString& png) {
        const int wanted = form.gallery().ImageCount + 1;
        QProcess xclip;
        xclip.setProgram(QStringLiteral("xclip"));
        xclip.setArguments({"-selection", "clipboard", "-t", "image/png", "-i", png});
        xclip.setStandardOutputFile(QProcess::nullDevice());
        xclip.setStandardErrorFile(QProcess::nullDevice());
        // It stays to serve the clipboard, and ends when the capture empties it.
        if (!xclip.startDetached())
            return false;
        return waitFor([&] { return form.gallery().ImageCount >= wanted; }, 60000);
    }

    /** Until every thumbnail is drawn and every picture packed. */
    bool settle() {
        if (!window.keeper().waitForIdle(120000))
            return false;
        waitFor([] { return false; }, 300);
        return true;
    }
};

/** Child: the captures, then "count before after packed" on stdout. */
int childCaptures(const QStringList& pngs) {
    Rig rig;
    rig.settle();
    const qint64 before = residentBytes();
    for (const QString& png : pngs) {
        if (!rig.capture(png))
            break;
    }
    rig.settle();
    int packed = 0;
    for (const Entry& e : rig.form.gallery().entries())
        packed += e.picture.isCompact();
    std::printf("%d %lld %lld %d\n", int(rig.form.gallery().ImageCount), before, residentBytes(),
                packed);
    return 0;
}

/** Child: the longest gap between two event-loop turns while png arrives, in ms. */
int childStall(const QString& png) {
    Rig rig;
    rig.settle();
    double longest = 0;
    Clock::time_point last = Clock::now();
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longest = std::max(longest, msSince(last));
        last = Clock::now();
    });
    ticker.start();
    last = Clock::now();
    const bool taken = rig.capture(png);
    const Entry& e = rig.form.gallery().imgView(0);
    // The whole arrival: the thumbnail on screen and the picture packed.
    const bool shown = waitFor(
        [&] {
            return !e.picture.cachedThumbnail(QSize(74, 58)).isNull() &&
                   rig.window.keeper().waitForIdle(0);
        },
        120000);
    waitFor([] { return false; }, 200);
    ticker.stop();
    std::printf("%d %.2f\n", taken && shown ? 1 : 0, longest);
    return 0;
}

QStringList runChild(const QStringList& args) {
    QStringList words;
    for (const QByteArray& word : bench::runSelf(args, 900000))
        words.append(QString::fromLatin1(word));
    return words;
}

void reportMemory(const char* what, const QStringList& pngs, QSize size) {
    const QStringList r = runChild(QStringList{"--child-captures"} + pngs);
    if (r.size() != 4) {
        std::printf("  %s: the child failed\n", what);
        return;
    }
    const int n = r[0].toInt();
    const double grown = double(r[2].toLongLong() - r[1].toLongLong());
    const double decoded = double(n) * size.width() * size.height() * 4;
    std::printf("  %s: %d taken, %d packed, %.1f MiB more resident = %.3f x W x H x 4 per "
                "picture\n",
                what, n, r[3].toInt(), grown / 1048576.0, grown / decoded);
}

/** Ms from asking for a zoom window to its first frame with the picture. */
double zoomOpening(ViewerRig& rig, const Picture& picture) {
    const auto t0 = Clock::now();
    rig.host.showInZoom(picture, QStringLiteral("Image 1"), 1);
    ZoomWindow* zoom = rig.lastZoom();
    if (!waitFor([&] { return zoom->isVisible() && zoom->imageView().framesPainted() > 0; }, 10000))
        return -1;
    const double ms = msSince(t0);
    rig.host.closeAll();
    waitFor([&] { return !zoom->isVisible(); });
    return ms;
}

/** Child: "decoded packed" medians of zoom windows opened on png. */
int childZoom(const QString& png) {
    ViewerRig rig;
    const QImage image = QImage(png).convertToFormat(QImage::Format_RGB32);
    const Picture decoded = Picture::fromImage(image);
    const Picture packed = Picture::fromImage(image.copy());
    packed.compact();
    // In turns, so that both see the same load of the machine.
    std::vector<double> a, b;
    for (int i = 0; i < 15; ++i) {
        a.push_back(zoomOpening(rig, decoded));
        b.push_back(zoomOpening(rig, packed));
    }
    std::printf("%.2f %.2f\n", bench::median(a), bench::median(b));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pictavo"));
    configureImageLimits();
    const QStringList args = app.arguments();
    if (args.size() > 1 && args[1] == QLatin1String("--child-captures"))
        return childCaptures(args.mid(2));
    if (args.size() == 3 && args[1] == QLatin1String("--child-stall"))
        return childStall(args[2]);
    if (args.size() == 3 && args[1] == QLatin1String("--child-zoom"))
        return childZoom(args[2]);

    const QString folder = args.size() > 1 ? args[1] : QDir::tempPath() + "/pictavo-store-bench";
    QDir().mkpath(folder);
    const QStringList hd = screens1080(folder, 56);
    const QStringList uhd = screens4k(folder, 56);
    const QStringList noisy = noiseScreens(folder, 56);
    const QString huge = hugeScreen(folder);
    if (hd.isEmpty() || uhd.isEmpty() || noisy.isEmpty() || huge.isEmpty()) {
        std::fprintf(stderr, "could not make the pictures in %s\n", qPrintable(folder));
        return 1;
    }

    std::printf("Packing (zstd over row-filtered byte planes), median of the first 8:\n");
    for (const QStringList* set : {&hd, &uhd}) {
        std::vector<double> ratio, packMs, unpackMs;
        QSize size;
        for (int i = 0; i < 8; ++i) {
            const QImage image = QImage(set->at(i)).convertToFormat(QImage::Format_RGB32);
            size = image.size();
            auto t0 = Clock::now();
            const auto packed = PackedImage::pack(image, 0.875);
            packMs.push_back(msSince(t0));
            if (!packed)
                continue;
            t0 = Clock::now();
            const QImage back = packed->unpack();
            unpackMs.push_back(msSince(t0));
            const bool same = back == image;
            ratio.push_back(double(packed->packedBytes()) / double(image.sizeInBytes()));
            if (!same)
                std::printf("  round trip of %s differs\n", qPrintable(set->at(i)));
        }
        const double mb = size.width() * size.height() * 4 / 1e6;
        std::printf("  %dx%d: ratio %.3f, pack %.1f ms (%.0f MB/s), unpack %.1f ms (%.0f MB/s)\n",
                    size.width(), size.height(), bench::median(ratio), bench::median(packMs),
                    mb * 1000 / bench::median(packMs), bench::median(unpackMs),
                    mb * 1000 / bench::median(unpackMs));
    }

    std::printf("\nResident memory per picture after 56 captures (targets <= 0.10, noise <= 1.02):\n");
    reportMemory("1920x1080 screens", hd, QSize(1920, 1080));
    reportMemory("3840x2160 screens", uhd, QSize(3840, 2160));
    reportMemory("1920x1080 noise  ", noisy, QSize(1920, 1080));

    const QStringList zoom = runChild({"--child-zoom", uhd[0]});
    if (zoom.size() == 2)
        std::printf("\nZoom window on a 3840x2160 capture to its first frame, median of 15: packed "
                    "%.1f ms, decoded %.1f ms, ratio %.2f (target <= 1.5)\n",
                    zoom[1].toDouble(), zoom[0].toDouble(),
                    zoom[1].toDouble() / zoom[0].toDouble());
    else
        std::printf("\nZoom: the child failed\n");

    const QStringList small = runChild({"--child-stall", hd[0]});
    const QStringList big = runChild({"--child-stall", huge});
    if (small.size() == 2 && big.size() == 2 && small[0] == "1" && big[0] == "1")
        std::printf("\nLongest event-loop stall while a capture arrives: 16384x16384 %.1f ms, "
                    "1920x1080 %.1f ms, ratio %.2f (target: under 100 ms)\n",
                    big[1].toDouble(), small[1].toDouble(), big[1].toDouble() / small[1].toDouble());
    else
        std::printf("\nStall: a capture child failed (%s / %s)\n", qPrintable(small.join(' ')),
                    qPrintable(big.join(' ')));
    return 0;
}
