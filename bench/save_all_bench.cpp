// Save All of 56 screenshots of 1920 x 1080 against cjpeg encoding the same
// 56 pictures from BMP files one after another, measured in the same run.
// Usage: save_all_bench [WORK_FOLDER]   (REPEATS=n, default 5)
#include "bench_pictures.h"
#include "commands/commands.h"

#include <QCoreApplication>
#include <thread>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    configureImageLimits();
    const QString work = bench::workFolder(argc, argv);
    const std::vector<QImage> images = bench::screens(work + "/pictures", 56);
    if (images.empty()) {
        std::fprintf(stderr, "could not make the pictures\n");
        return 1;
    }
    bench::RealOutput out;

    // cjpeg reads the BMP files the program's own writer makes.
    QDir().mkpath(work + "/bmp");
    QStringList bmps;
    for (std::size_t i = 0; i < images.size(); ++i) {
        const QString bmp =
            work + QStringLiteral("/bmp/screen_%1.bmp").arg(i + 1, 2, 10, QLatin1Char('0'));
        if (!QFileInfo::exists(bmp) &&
            !out.pictures.writeBmp(Picture::fromImage(images[i]), bmp, nullptr))
            return 1;
        bmps << bmp;
    }

    Gallery gallery{[] { return OuterSize{9600, 7200}; }};
    // The same pictures held decoded: what the packed form costs, apart from the machine's load.
    Gallery decodedGallery{[] { return OuterSize{9600, 7200}; }};
    int packed = 0;
    for (const QImage& image : images) {
        // Held packed, as the gallery holds its pictures: Save All decodes each.
        const Picture picture = Picture::fromImage(image);
        packed += picture.compact();
        gallery.AddImage(picture);
        decodedGallery.AddImage(Picture::fromImage(image));
    }
    if (gallery.topIndex() != 55 || decodedGallery.topIndex() != 55) {
        std::fprintf(stderr, "the gallery holds %d entries\n", gallery.topIndex() + 1);
        return 1;
    }
    CommandEnv packedEnv{gallery, out.window, out.platform};
    CommandEnv decodedEnv{decodedGallery, out.window, out.platform};
    const QString saved = work + "/saved";
    auto saveAll = [&](CommandEnv& env) {
        bench::emptyFolder(saved);
        out.fake.messages.shown.clear();
        out.fake.dialogs.answers.push_back(saved);
        QElapsedTimer t;
        t.start();
        mnuFileSaveAll_Click(env);
        const double s = t.nsecsElapsed() / 1e9;
        const bool done = out.fake.messages.shown.size() == 1 &&
                          out.fake.messages.shown[0].text == "Save all is done." &&
                          QDir(saved).entryList(QDir::Files).size() == 56;
        return done ? s : -1;
    };

    std::vector<double> ours, decoded, baseline;
    for (int r = 0; r < bench::repeats(); ++r) {
        // Alternating order, so neither always runs on a warmer machine.
        const bool oursFirst = r % 2 == 0;
        if (oursFirst)
            ours.push_back(saveAll(packedEnv));
        baseline.push_back(bench::cjpegSeconds(bmps, work + "/cjpeg"));
        decoded.push_back(saveAll(decodedEnv));
        if (!oursFirst)
            ours.push_back(saveAll(packedEnv));
        if (ours.back() < 0 || decoded.back() < 0 || baseline.back() < 0) {
            std::fprintf(stderr, "a run failed\n");
            return 1;
        }
    }
    qint64 oursBytes = 0, cjpegBytes = 0;
    for (const QFileInfo& f : QDir(saved).entryInfoList(QDir::Files))
        oursBytes += f.size();
    for (const QFileInfo& f : QDir(work + "/cjpeg").entryInfoList(QDir::Files))
        cjpegBytes += f.size();

    const double a = bench::median(ours), b = bench::median(baseline);
    std::printf("cores %u, medians of %d runs\n", std::thread::hardware_concurrency(),
                bench::repeats());
    std::printf(
        "cjpeg -quality 100 -sample %s, 56 x 1920x1080 one after another: %.3f s (%.1f MB)\n",
        bench::kCjpegSample, b, cjpegBytes / 1e6);
    std::printf("Save All, 56 x 1920x1080:                                 %.3f s (%.1f MB)\n", a,
                oursBytes / 1e6);
    std::printf("ratio Save All / cjpeg: %.2f (target <= 0.5); %d of the 56 pictures held packed\n",
                a / b, packed);
    const double d = bench::median(decoded);
    std::printf(
        "Save All of the same pictures held decoded: %.3f s, %.2f x cjpeg; packed / decoded "
        "%.2f\n",
        d, d / b, a / d);
    return 0;
}
