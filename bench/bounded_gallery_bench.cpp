// Resident memory of a long capture session in a small window: 300 captures of
// 1920x1080 through the real X clipboard against 12, each in a fresh process.
// The window has room for 12 thumbnails, so both should hold 12 pictures.
// Needs DISPLAY (Xvfb + openbox) and xclip.
#include "app/form_capture.h"
#include "bench_support.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/windows/capture_window.h"
#include "app/qt_viewer_host.h"

#include <QApplication>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>
#include <cstdio>

namespace {

constexpr int kDistinct = 24;

/** Child: `count` captures, cycling through the PNG files of folder; prints the
    number of entries, the pictures held and the resident memory before and after. */
int childCaptures(const QString& folder, int count) {
    QtPlatform qt;
    CaptureWindow window;
    QtViewerHost viewers(window);
    formCapture form(window, qt.platform(), viewers);
    viewers.attach(form.gallery(), qt.platform());
    window.attach(form.gallery(), form);
    window.resize(330, 200); // four columns, three rows under openbox
    form.Form_Load();
    window.show();
    bench::pumpUntil([&] { return window.windowHandle() && window.windowHandle()->isExposed(); },
                     5000);
    bench::pumpFor(300);
    const qint64 before = bench::residentBytes();
    int taken = 0;
    for (int i = 0; i < count; ++i) {
        const QString png = folder + QStringLiteral("/%1.png").arg(i % kDistinct);
        // Every capture moves ImageCount: on by one, or back to 1 when it starts over.
        const int previous = form.gallery().ImageCount;
        QProcess xclip;
        xclip.setProgram(QStringLiteral("xclip"));
        xclip.setArguments({QStringLiteral("-selection"), QStringLiteral("clipboard"),
                            QStringLiteral("-t"), QStringLiteral("image/png"),
                            QStringLiteral("-i"), png});
        xclip.setStandardOutputFile(QProcess::nullDevice());
        xclip.setStandardErrorFile(QProcess::nullDevice());
        // xclip serves the clipboard from a child of its own and returns.
        xclip.start();
        xclip.waitForFinished(10000);
        if (bench::pumpUntil([&] { return form.gallery().ImageCount != previous; }, 10000))
            ++taken;
    }
    bench::pumpFor(500);
    int held = 0;
    for (const Entry& e : form.gallery().entries())
        held += e.isEmpty() ? 0 : 1;
    std::printf("%d %d %d %lld %lld\n", form.gallery().topIndex() + 1, held, taken, before,
                bench::residentBytes());
    return 0;
}

struct Run {
    int entries = 0, held = 0, taken = 0;
    qint64 before = 0, after = 0;
};

Run runChild(const QString& folder, int count) {
    const QList<QByteArray> p =
        bench::runSelf({QStringLiteral("--child"), folder, QString::number(count)}, 600000);
    Run r;
    if (p.size() == 5)
        r = {p[0].toInt(), p[1].toInt(), p[2].toInt(), p[3].toLongLong(), p[4].toLongLong()};
    return r;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pictavo"));
    configureImageLimits();
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--child"))
        return childCaptures(args[2], args[3].toInt());

    QTemporaryDir dir;
    for (int i = 0; i < kDistinct; ++i) {
        QImage image(1920, 1080, QImage::Format_RGB32);
        image.fill(QColor::fromHsv(i * 360 / kDistinct, 180, 200));
        QPainter p(&image);
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), 40));
        p.drawText(100, 200, QStringLiteral("Capture %1").arg(i));
        p.end();
        image.save(dir.filePath(QStringLiteral("%1.png").arg(i)), "PNG");
    }
    const Run few = runChild(dir.path(), 12);
    const Run many = runChild(dir.path(), 300);
    std::printf("Bounded gallery, 1920x1080 captures in a window with room for %d:\n", few.entries);
    for (const auto& [name, r] : {std::pair{"12", few}, std::pair{"300", many}})
        std::printf("  after %3s captures (%d taken): %d entries, %d pictures held, resident "
                    "%.1f MiB (%.1f MiB more than before)\n",
                    name, r.taken, r.entries, r.held, bench::mib(r.after),
                    bench::mib(r.after - r.before));
    if (few.after > 0)
        std::printf("  resident after 300 / after 12: %.2f (target <= 1.1)\n",
                    double(many.after) / double(few.after));
    return 0;
}
