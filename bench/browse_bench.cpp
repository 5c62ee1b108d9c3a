// Browse of a folder of 56 full-HD JPEG files against djpeg decoding the same
// files one after another and against the limit (the first decode that loading
// makes of each file, from memory, on all cores); Esc latency; resident memory
// after the Browse and after 56 captures. Then a folder of 24 camera photos of
// 6000 x 4000: Browse against djpeg and the limit, the memory it holds and its
// peak, and a zoom window's first frame on one of them against djpeg of that
// file. Then Esc in a Browse of files that take over a second each to decode.
// "--fullhd", "--photos" and "--slow-esc" run one part alone. Needs DISPLAY
// (Xvfb + openbox), djpeg, jpegtran, xclip and ImageMagick's convert.
#include "app/form_capture.h"
#include "app/qt_viewer_host.h"
#include "bench_support.h"
#include "integration/viewer_support.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/windows/capture_window.h"
#include "pictures/jpeg_decoding.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageWriter>
#include <QKeyEvent>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <turbojpeg.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kFiles = 56;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kRounds = 3;

using bench::Clock;
using bench::mib;
using bench::msSince;
using bench::pumpFor;
using bench::pumpUntil;
using bench::residentBytes;

/** A photo-like picture: gradients, shapes, text and fine noise, different per seed. */
QImage makePicture(quint32 seed) {
    QRandomGenerator rng(seed);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, kWidth, kHeight);
    g.setColorAt(0, QColor::fromHsv(int(rng.bounded(360)), 120, 220));
    g.setColorAt(1, QColor::fromHsv(int(rng.bounded(360)), 200, 90));
    p.fillRect(image.rect(), g);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 60; ++i) {
        p.setBrush(QColor::fromHsv(int(rng.bounded(360)), 160, int(rng.bounded(256))));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(rng.bounded(kWidth), rng.bounded(kHeight)), rng.bounded(300.0),
                      rng.bounded(200.0));
    }
    p.setPen(Qt::black);
    QFont font = p.font();
    font.setPixelSize(18);
    p.setFont(font);
    for (int y = 40; y < kHeight; y += 120)
        p.drawText(40, y, QStringLiteral("Pictavo benchmark picture %1, line %2").arg(seed).arg(y));
    p.end();
    for (int y = 0; y < kHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            const int n = int(rng.bounded(17)) - 8;
            const QRgb c = line[x];
            line[x] = qRgb(std::clamp(qRed(c) + n, 0, 255), std::clamp(qGreen(c) + n, 0, 255),
                           std::clamp(qBlue(c) + n, 0, 255));
        }
    }
    return image;
}

/** Answers every folder dialog with one folder. */
class FolderDialogs final : public IDialogs {
public:
    QString folder;
    QString saveFile(IWindow*, const QList<FileFilter>&, const QString&, const QString&,
                     const QString&) override {
        return {};
    }
    QString openFile(IWindow*, const QList<FileFilter>&, const QString&, const QString&) override {
        return {};
    }
    QString chooseFolder(IWindow*, const QString&) override { return folder; }
};

/** The program's real window, platform and logic, with a scripted folder dialog. */
struct Rig {
    QtPlatform qt;
    FolderDialogs dialogs;
    Platform platform{qt.clipboard, qt.clock, qt.files,   qt.pictures, dialogs,
                      qt.messages,  qt.shell, qt.printer, qt.converter};
    CaptureWindow window;
    QtViewerHost viewers{window};
    formCapture form{window, platform, viewers};

    explicit Rig(const QString& folder) {
        dialogs.folder = folder;
        window.attach(form.gallery(), form);
        window.resize(900, 700); // room for more than 56 thumbnails
        form.Form_Load();
        window.show();
        pumpUntil([this] { return window.windowHandle() && window.windowHandle()->isExposed(); },
                  5000);
        pumpFor(300); // the first layout and clipboard tick
    }
    double browse() {
        const auto t0 = Clock::now();
        form.menuCommand(Command::Browse);
        return msSince(t0);
    }
};

double runDjpeg(const QStringList& files) {
    const auto t0 = Clock::now();
    for (const QString& f : files) {
        const QByteArray path = QFile::encodeName(f);
        const char* argv[] = {"djpeg", "-outfile", "/dev/null", path.constData(), nullptr};
        pid_t pid = 0;
        if (posix_spawnp(&pid, "djpeg", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
            return -1;
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return -1;
    }
    return msSince(t0);
}

/** The limit for a Browse of files: the first decode that loading makes of each,
    from bytes already in memory, on all cores. Nothing else is done with them. */
double runLimit(const QStringList& files) {
    std::vector<QByteArray> bytes;
    for (const QString& f : files) {
        QFile file(f);
        if (!file.open(QIODevice::ReadOnly))
            return -1;
        bytes.push_back(file.readAll());
    }
    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    const auto t0 = Clock::now();
    std::vector<std::thread> threads;
    for (int t = 0; t < std::max(QThread::idealThreadCount(), 1); ++t)
        threads.emplace_back([&] {
            for (size_t i = next++; i < bytes.size(); i = next++) {
                const auto size = turboJpegSize(bytes[i]);
                if (!size || decodeJpeg(bytes[i], jpegScaleCovering(*size, kJpegPreviewCover),
                                        nullptr)
                                 .isNull())
                    failed = true;
            }
        });
    for (std::thread& t : threads)
        t.join();
    return failed ? -1 : msSince(t0);
}

/** CPU time used so far, in ms: this process's threads, or its waited-for children. */
double cpuMs(int who) {
    rusage u{};
    getrusage(who, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

/** CPU time the X server of DISPLAY has used, in ms, read through its lock file; 0
    when that cannot be read (another user's server, a display not local). */
double xServerCpuMs() {
    const QByteArray display = qgetenv("DISPLAY");
    const qsizetype colon = display.lastIndexOf(':');
    if (colon < 0)
        return 0;
    const QByteArray number = display.mid(colon + 1).split('.').value(0);
    QFile lock(QStringLiteral("/tmp/.X%1-lock").arg(QString::fromLatin1(number)));
    if (!lock.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray pid = lock.readAll().trimmed();
    QFile stat(QStringLiteral("/proc/%1/stat").arg(QString::fromLatin1(pid)));
    if (pid.isEmpty() || !stat.open(QIODevice::ReadOnly))
        return 0;
    // The fields after the command's name, which is in parentheses and may hold spaces.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return 0;
    return (fields[11].toDouble() + fields[12].toDouble()) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

/** Child: one Browse, then the resident memory. */
int childBrowse(const QString& folder) {
    Rig rig(folder);
    const qint64 before = residentBytes();
    rig.browse();
    pumpFor(300);
    std::printf("%d %lld %lld\n", int(rig.form.gallery().ImageCount), before, residentBytes());
    return 0;
}

/** Child: 56 captures through the real X clipboard, each a different PNG, then the memory. */
int childCaptures(const QString& folder) {
    Rig rig(folder);
    const qint64 before = residentBytes();
    const QStringList pngs =
        QDir(folder).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    for (const QString& name : pngs) {
        const int wanted = rig.form.gallery().ImageCount + 1;
        // xclip stays behind to serve the selection; no pipes are kept to it.
        QProcess xclip;
        xclip.setProgram(QStringLiteral("xclip"));
        xclip.setArguments({QStringLiteral("-selection"), QStringLiteral("clipboard"),
                            QStringLiteral("-t"), QStringLiteral("image/png"), QStringLiteral("-i"),
                            folder + QLatin1Char('/') + name});
        xclip.setStandardOutputFile(QProcess::nullDevice());
        xclip.setStandardErrorFile(QProcess::nullDevice());
        xclip.startDetached();
        pumpUntil([&] { return rig.form.gallery().ImageCount >= wanted; }, 10000);
    }
    pumpFor(300);
    std::printf("%d %lld %lld\n", int(rig.form.gallery().ImageCount), before, residentBytes());
    return 0;
}

struct ChildResult {
    int count = -1;
    qint64 before = 0, after = 0;
};

ChildResult runChild(const QString& mode, const QString& folder) {
    const QList<QByteArray> parts = bench::runSelf({mode, folder}, 300000);
    ChildResult r;
    if (parts.size() == 3)
        r = {parts[0].toInt(), parts[1].toLongLong(), parts[2].toLongLong()};
    return r;
}

constexpr int kPhotos = 24;
constexpr int kPhotoSources = 6;

/** Peak resident memory of this process in bytes. */
bool runTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(program, args);
    return p.waitForFinished(600000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

/** 24 camera-like photos of 6000 x 4000, quality 90: fractal plasma enlarged
    with noise over it, six of them, each also mirrored and turned (losslessly). */
QStringList writePhotos(const QString& folder) {
    QStringList photos;
    const QStringList turns[] = {
        {}, {"-flip", "horizontal"}, {"-flip", "vertical"}, {"-rotate", "180"}};
    for (int s = 0; s < kPhotoSources; ++s) {
        const QString source = folder + QStringLiteral("/photo_%1_0.jpg").arg(s);
        if (!runTool(QStringLiteral("convert"),
                     {"-seed", QString::number(s + 1), "-size", "1500x1000", "plasma:fractal",
                      "-resize", "6000x4000!", "-attenuate", "0.5", "+noise", "Gaussian",
                      "-quality", "90", source}))
            return {};
        photos.append(source);
        for (int t = 1; t < 4; ++t) {
            const QString turned = folder + QStringLiteral("/photo_%1_%2.jpg").arg(s).arg(t);
            if (!runTool(QStringLiteral("jpegtran"),
                         turns[t] + QStringList{"-perfect", "-outfile", turned, source}))
                return {};
            photos.append(turned);
        }
    }
    return photos;
}

/** Child: one Browse of the photos; "count before settled peak" in bytes, the
    memory once thumbnails are made and the pictures are compacted. */
int childPhotos(const QString& folder) {
    Rig rig(folder);
    const qint64 before = residentBytes();
    rig.browse();
    rig.window.keeper().waitForIdle(120000);
    pumpFor(500);
    std::printf("%d %lld %lld %lld\n", int(rig.form.gallery().ImageCount), before, residentBytes(),
                bench::peakResidentBytes());
    return 0;
}

/** Child: median ms from asking for a zoom window on the loaded photo to its first frame. */
int childZoomPhoto(const QString& path) {
    ViewerRig rig;
    QString error;
    const Picture photo = rig.qt.pictures.load(path, &error);
    if (photo.isNull() || !photo.compact())
        return 1;
    std::vector<double> ms;
    for (int i = 0; i < 7; ++i) {
        const auto t0 = Clock::now();
        rig.host.showInZoom(photo, QStringLiteral("Image 1"), 1);
        ZoomWindow* zoom = rig.lastZoom();
        if (!pumpUntil([&] { return zoom->isVisible() && zoom->imageView().framesPainted() > 0; },
                       20000))
            return 1;
        ms.push_back(msSince(t0));
        rig.host.closeAll();
        pumpUntil([&] { return !zoom->isVisible(); }, 5000);
    }
    std::printf("%.2f\n", median(ms));
    return 0;
}

int photoFolder() {
    QTemporaryDir dir;
    std::printf("\nWriting %d photos of 6000x4000, quality 90...\n", kPhotos);
    const QStringList photos = writePhotos(dir.path());
    if (photos.size() != kPhotos) {
        std::fprintf(stderr, "cannot write the photos (convert, jpegtran)\n");
        return 1;
    }
    qint64 bytes = 0;
    for (const QString& p : photos)
        bytes += QFileInfo(p).size();
    std::printf("  %.1f MiB of JPEG, %.1f MiB per file\n", mib(bytes), mib(bytes) / kPhotos);

    runDjpeg(photos);
    std::vector<double> djpegMs, browseMs, djpegCpu, browseCpu, limitMs;
    {
        Rig rig(dir.path());
        for (int round = 0; round < kRounds; ++round) {
            limitMs.push_back(runLimit(photos));
            const double children = cpuMs(RUSAGE_CHILDREN);
            djpegMs.push_back(runDjpeg(photos));
            djpegCpu.push_back(cpuMs(RUSAGE_CHILDREN) - children);
            const double self = cpuMs(RUSAGE_SELF);
            browseMs.push_back(rig.browse());
            browseCpu.push_back(cpuMs(RUSAGE_SELF) - self);
            if (rig.form.gallery().ImageCount != kPhotos) {
                std::fprintf(stderr, "Browse loaded %d photos, not %d\n",
                             int(rig.form.gallery().ImageCount), kPhotos);
                return 1;
            }
            rig.window.keeper().waitForIdle(120000);
        }
    }
    const double d = median(djpegMs), b = median(browseMs), l = median(limitMs);
    std::printf("Photos, median of %d rounds:\n", kRounds);
    std::printf("  djpeg, one file after another: %7.1f ms\n", d);
    std::printf("  the limit, first decodes from memory on %d cores: %7.1f ms\n",
                QThread::idealThreadCount(), l);
    std::printf("  Browse into the window:        %7.1f ms\n", b);
    std::printf("  ratio Browse/djpeg throughput: %.2fx\n", d / b);
    std::printf("  Browse / the limit:            %.2fx (target at most 1.15x)\n", b / l);
    std::printf("  CPU time: djpeg %.0f ms, Browse %.0f ms\n", median(djpegCpu), median(browseCpu));

    const QList<QByteArray> r =
        bench::runSelf({QStringLiteral("--child-photos"), dir.path()}, 600000);
    if (r.size() == 4) {
        const qint64 before = r[1].toLongLong(), after = r[2].toLongLong(),
                     peak = r[3].toLongLong();
        std::printf(
            "  resident after Browse of %d, settled: %.1f MiB more = %.2f x the files' size "
            "(%.1f MiB a photo)\n",
            r[0].toInt(), mib(after - before), double(after - before) / bytes,
            mib(after - before) / kPhotos);
        std::printf(
            "  peak resident during Browse: %.1f MiB; bound 2 x files + 500 MiB = %.1f MiB\n",
            mib(peak), mib(2 * bytes) + 500);
    } else {
        std::printf("  memory: the child failed\n");
    }

    std::vector<double> oneDjpeg;
    for (int i = 0; i < 7; ++i)
        oneDjpeg.push_back(runDjpeg({photos[0]}));
    const QList<QByteArray> z =
        bench::runSelf({QStringLiteral("--child-zoom-photo"), photos[0]}, 600000);
    if (z.size() == 1 && z[0].toDouble() > 0)
        std::printf("Zoom window on one photo to its first frame, median of 7: %.1f ms; djpeg of "
                    "the file %.1f ms; ratio %.2fx\n",
                    z[0].toDouble(), median(oneDjpeg), z[0].toDouble() / median(oneDjpeg));
    else
        std::printf("Zoom on a photo: the child failed\n");
    return 0;
}

/** 4096 x 4096 CMYK, progressive: Qt's reader, which decodes CMYK, takes over a
    second for it; smooth colours under noise, as a scan would be. */
QByteArray slowJpeg() {
    constexpr int side = 4096;
    QByteArray cmyk(qsizetype(side) * side * 4, Qt::Uninitialized);
    QRandomGenerator rng(3);
    auto* p = reinterpret_cast<uchar*>(cmyk.data());
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x, p += 4) {
            const int n = int(rng.bounded(32));
            p[0] = uchar((x / 16 + n) & 0xff);
            p[1] = uchar((y / 16 + n) & 0xff);
            p[2] = uchar(((x + y) / 32 + n) & 0xff);
            p[3] = uchar(n);
        }
    tjhandle handle = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    QByteArray jpeg;
    if (tjCompress2(handle, reinterpret_cast<const uchar*>(cmyk.constData()), side, 0, side,
                    TJPF_CMYK, &out, &size, TJSAMP_444, 90, TJFLAG_PROGRESSIVE) == 0)
        jpeg = QByteArray(reinterpret_cast<const char*>(out), qsizetype(size));
    tjFree(out);
    tjDestroy(handle);
    return jpeg;
}

/** Esc pressed at a random moment of a Browse of four slow files: how long until the
    Browse ends, against the time one of them takes to load (what Esc waited for when
    the file being loaded was still added). */
int slowEsc() {
    QTemporaryDir dir;
    const QByteArray jpeg = slowJpeg();
    if (jpeg.isEmpty())
        return 1;
    QStringList files;
    for (int i = 0; i < 4; ++i) {
        files.append(dir.path() + QStringLiteral("/slow_%1.jpg").arg(i));
        QFile f(files.last());
        if (!f.open(QIODevice::WriteOnly) || f.write(jpeg) != jpeg.size())
            return 1;
    }
    Rig rig(dir.path());
    std::vector<double> loadMs;
    for (int i = 0; i < 3; ++i) {
        QString error;
        const auto t0 = Clock::now();
        if (rig.qt.pictures.load(files[0], &error).isNull()) {
            std::fprintf(stderr, "the slow file does not load: %s\n", qPrintable(error));
            return 1;
        }
        loadMs.push_back(msSince(t0));
    }
    std::vector<double> latencies;
    int added = 0;
    QRandomGenerator rng(11);
    for (int i = 0; i < 8; ++i) {
        const int delay = 50 + int(rng.bounded(1500));
        Clock::time_point pressed{};
        std::thread presser([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(delay));
            pressed = Clock::now();
            QCoreApplication::postEvent(
                &rig.window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        });
        rig.browse();
        const auto ended = Clock::now();
        presser.join();
        if (pressed < ended)
            latencies.push_back(std::chrono::duration<double, std::milli>(ended - pressed).count());
        added += rig.form.gallery().ImageCount;
        QCoreApplication::processEvents(); // an Esc that came after the end
    }
    const double one = median(loadMs);
    const double worst =
        latencies.empty() ? 0.0 : *std::max_element(latencies.begin(), latencies.end());
    std::printf("\nEsc in a Browse of %d files of %.1f MiB (4096x4096 CMYK, progressive), %zu "
                "presses during loading, %d pictures added in all:\n",
                int(files.size()), mib(jpeg.size()), latencies.size(), added);
    std::printf("  one file's load: %.1f ms; Esc to the end: median %.1f ms (%.3fx), max %.1f ms "
                "(%.3fx)\n",
                one, median(latencies), median(latencies) / one, worst, worst / one);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pictavo"));
    configureImageLimits();
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--child-browse"))
        return childBrowse(args[2]);
    if (args.size() == 3 && args[1] == QLatin1String("--child-captures"))
        return childCaptures(args[2]);
    if (args.size() == 3 && args[1] == QLatin1String("--child-photos"))
        return childPhotos(args[2]);
    if (args.size() == 3 && args[1] == QLatin1String("--child-zoom-photo"))
        return childZoomPhoto(args[2]);
    if (args.size() == 2 && args[1] == QLatin1String("--photos"))
        return photoFolder();
    if (args.size() == 2 && args[1] == QLatin1String("--slow-esc"))
        return slowEsc();
    const bool fullHdOnly = args.size() == 2 && args[1] == QLatin1String("--fullhd");

    // "--write DIR" only writes the files into DIR, for looking at them with other tools.
    QTemporaryDir dir;
    const bool writeOnly = args.size() == 3 && args[1] == QLatin1String("--write");
    const QString folder = writeOnly ? args[2] : dir.path();
    if (!QDir().mkpath(folder))
        return 1;
    QStringList jpegs;
    qint64 totalBytes = 0;
    std::printf("Writing %d JPEG files of %dx%d, quality 90...\n", kFiles, kWidth, kHeight);
    for (int i = 0; i < kFiles; ++i) {
        const QString path =
            folder + QStringLiteral("/photo_%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
        QImageWriter writer(path, "jpeg");
        writer.setQuality(90);
        if (!writer.write(makePicture(quint32(i + 1)))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        totalBytes += QFileInfo(path).size();
        jpegs.append(path);
    }
    std::printf("  %.1f MiB of JPEG, %.0f KiB per file\n", mib(totalBytes),
                totalBytes / 1024.0 / kFiles);
    if (writeOnly)
        return 0;

    // Throughput: djpeg and Browse in turns, the page cache warm for both.
    runDjpeg(jpegs);
    std::vector<double> djpegMs, browseMs, djpegCpu, browseCpu, limitMs, limitCpu, serverCpu;
    {
        Rig rig(folder);
        for (int round = 0; round < kRounds; ++round) {
            const double beforeLimit = cpuMs(RUSAGE_SELF);
            limitMs.push_back(runLimit(jpegs));
            limitCpu.push_back(cpuMs(RUSAGE_SELF) - beforeLimit);
            const double children = cpuMs(RUSAGE_CHILDREN);
            djpegMs.push_back(runDjpeg(jpegs));
            djpegCpu.push_back(cpuMs(RUSAGE_CHILDREN) - children);
            const double self = cpuMs(RUSAGE_SELF);
            const double server = xServerCpuMs();
            browseMs.push_back(rig.browse());
            browseCpu.push_back(cpuMs(RUSAGE_SELF) - self);
            serverCpu.push_back(xServerCpuMs() - server);
            if (rig.form.gallery().ImageCount != kFiles) {
                std::fprintf(stderr, "Browse loaded %d pictures, not %d\n",
                             int(rig.form.gallery().ImageCount), kFiles);
                return 1;
            }
        }
        const double d = median(djpegMs), b = median(browseMs), l = median(limitMs);
        std::printf("\nThroughput, median of %d rounds:\n", kRounds);
        std::printf("  djpeg, one file after another: %7.1f ms (%.1f files/s)\n", d,
                    kFiles * 1000 / d);
        std::printf("  the limit, first decodes from memory on %d cores: %7.1f ms\n",
                    QThread::idealThreadCount(), l);
        std::printf("  Browse into the window:        %7.1f ms (%.1f files/s)\n", b,
                    kFiles * 1000 / b);
        std::printf("  ratio Browse/djpeg throughput: %.2fx\n", d / b);
        std::printf("  Browse / the limit:            %.2fx (target at most 1.3x)\n", b / l);
        std::printf("  CPU time: djpeg %.0f ms, Browse %.0f ms (all threads of the program)\n",
                    median(djpegCpu), median(browseCpu));
        // Unlike the times, less swayed by other work on the machine.
        std::printf("  CPU time of Browse and the X server / the limit's: %.2fx (%.0f + %.0f ms "
                    "against %.0f ms)\n",
                    (median(browseCpu) + median(serverCpu)) / median(limitCpu), median(browseCpu),
                    median(serverCpu), median(limitCpu));

        // The caption's counting: the longest gap between two captions of one Browse.
        struct TitleWatch : QObject {
            std::vector<Clock::time_point> at;
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::WindowTitleChange)
                    at.push_back(Clock::now());
                return false;
            }
        } watch;
        rig.window.installEventFilter(&watch);
        rig.browse();
        rig.window.removeEventFilter(&watch);
        double gap = 0;
        for (size_t i = 1; i < watch.at.size(); ++i)
            gap = std::max(
                gap,
                std::chrono::duration<double, std::milli>(watch.at[i] - watch.at[i - 1]).count());
        std::printf("  captions shown in one Browse: %zu, longest gap between two: %.1f ms\n",
                    watch.at.size(), gap);

        // Esc, pressed from another thread at a random moment while the Browse runs.
        std::vector<double> latencies;
        QRandomGenerator rng(7);
        for (int i = 0; i < 12; ++i) {
            const int delay = 30 + int(rng.bounded(std::max(1, int(b * 0.8) - 30)));
            Clock::time_point pressed{};
            std::thread presser([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(delay));
                pressed = Clock::now();
                QCoreApplication::postEvent(
                    &rig.window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
            });
            rig.browse();
            const auto ended = Clock::now();
            presser.join();
            if (rig.form.gallery().ImageCount < kFiles && pressed < ended)
                latencies.push_back(
                    std::chrono::duration<double, std::milli>(ended - pressed).count());
            QCoreApplication::processEvents(); // an Esc that came after the end
        }
        std::printf("\nEsc to the end of Browse (%zu presses during loading): median %.1f ms, max "
                    "%.1f ms\n",
                    latencies.size(), median(latencies),
                    latencies.empty() ? 0.0
                                      : *std::max_element(latencies.begin(), latencies.end()));
    }

    if (fullHdOnly)
        return 0;
    // Memory, each in a fresh process.
    const qint64 decoded = qint64(kFiles) * kWidth * kHeight * 4;
    const ChildResult browsed = runChild(QStringLiteral("--child-browse"), folder);
    std::printf("\nResident memory (decoded size of the 56 pictures: %.1f MiB):\n", mib(decoded));
    std::printf(
        "  after Browse (%d pictures):   %.1f MiB, %.1f MiB more than before = %.2f x decoded\n",
        browsed.count, mib(browsed.after), mib(browsed.after - browsed.before),
        double(browsed.after - browsed.before) / decoded);

    QTemporaryDir pngDir;
    for (int i = 0; i < kFiles; ++i)
        makePicture(quint32(1000 + i))
            .save(pngDir.path() + QStringLiteral("/cap_%1.png").arg(i, 2, 10, QLatin1Char('0')),
                  "png", 100);
    const ChildResult captured = runChild(QStringLiteral("--child-captures"), pngDir.path());
    std::printf(
        "  after 56 captures (%d taken): %.1f MiB, %.1f MiB more than before = %.2f x decoded\n",
        captured.count, mib(captured.after), mib(captured.after - captured.before),
        double(captured.after - captured.before) / decoded);
    if (captured.after > 0 && browsed.after > 0)
        std::printf("  Browse / captures growth: %.2f\n",
                    double(browsed.after - browsed.before) /
                        double(captured.after - captured.before));
    if (const int failed = photoFolder())
        return failed;
    return slowEsc();
}
