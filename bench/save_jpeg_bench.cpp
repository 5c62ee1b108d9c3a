// A single Save of a 7680 x 4320 screenshot as JPEG against cjpeg encoding the
// same picture from its BMP file, measured in the same run.
// Usage: save_jpeg_bench [WORK_FOLDER]   (REPEATS=n, default 5)
#include "bench_pictures.h"
#include "commands/commands.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    configureImageLimits();
    const QString work = bench::workFolder(argc, argv);
    const QImage image = bench::bigScreen(work + "/pictures");
    if (image.size() != QSize(7680, 4320)) {
        std::fprintf(stderr, "could not make the picture\n");
        return 1;
    }
    bench::RealOutput out;
    const QString bmp = work + "/bmp/screen_8k.bmp";
    QDir().mkpath(work + "/bmp");
    if (!QFileInfo::exists(bmp) && !out.pictures.writeBmp(Picture::fromImage(image), bmp, nullptr))
        return 1;

    Gallery gallery{[] { return OuterSize{9600, 7200}; }};
    gallery.AddImage(Picture::fromImage(image));
    gallery.imgView(0).toolTipText = "Image 1";
    CommandEnv env{gallery, out.window, out.platform};
    const QString saved = work + "/saved";
    auto save = [&] {
        bench::emptyFolder(saved);
        out.fake.dialogs.answers.push_back(saved + "/screen_8k.jpg");
        QElapsedTimer t;
        t.start();
        mnuFileSave_Click(env);
        const double s = t.nsecsElapsed() / 1e9;
        const bool done = out.fake.messages.shown.empty() &&
                          QDir(saved).entryList(QDir::Files) == QStringList{"screen_8k.jpg"};
        return done ? s : -1;
    };

    std::vector<double> ours, baseline;
    for (int r = 0; r < bench::repeats(); ++r) {
        const bool oursFirst = r % 2 == 0;
        if (oursFirst)
            ours.push_back(save());
        baseline.push_back(bench::cjpegSeconds({bmp}, work + "/cjpeg"));
        if (!oursFirst)
            ours.push_back(save());
        if (ours.back() < 0 || baseline.back() < 0) {
            std::fprintf(stderr, "a run failed\n");
            return 1;
        }
    }
    const double a = bench::median(ours), b = bench::median(baseline);
    std::printf("medians of %d runs\n", bench::repeats());
    std::printf("cjpeg -quality 100 -sample %s, 7680x4320: %.3f s (%.1f MB)\n", bench::kCjpegSample,
                b, QFileInfo(work + "/cjpeg/screen_8k.jpg").size() / 1e6);
    std::printf("Save as JPEG, 7680x4320:                  %.3f s (%.1f MB)\n", a,
                QFileInfo(saved + "/screen_8k.jpg").size() / 1e6);
    std::printf("ratio Save / cjpeg: %.2f (target <= 1.3)\n", a / b);
    return 0;
}
