// Save All of 56 screenshots of 1920 x 1080 against its limit: unpacking the same
// pictures and encoding them to JPEG in memory on every core, measured in the same run.
// Usage: save_all_bench [WORK_FOLDER]   (REPEATS=n, default 5)
#include "bench_pictures.h"
#include "commands/commands.h"
#include "commands/picture_output.h"

#include <QCoreApplication>
#include <atomic>
#include <sys/resource.h>
#include <thread>
#include <turbojpeg.h>

namespace {
// CPU seconds of this process so far, every thread's.
double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// How many cores a run kept busy on average: below the limit's, it waited.
struct Busy {
    double cpu0 = cpuSeconds();
    QElapsedTimer wall;
    Busy() { wall.start(); }
    double cpu() const { return cpuSeconds() - cpu0; }
    double cores() const { return cpu() / (wall.nsecsElapsed() / 1e9); }
};
// What Save All cannot go below: each picture unpacked and encoded as the converter
// encodes it (4:4:4, the program's setting), nothing written; one thread a core.
double limitSeconds(const std::vector<Picture>& pictures, qint64* bytes) {
    std::atomic<std::size_t> next{0};
    std::atomic<qint64> total{0};
    std::atomic<bool> failed{false};
    auto work = [&] {
        tjhandle handle = tjInitCompress();
        for (std::size_t k = next++; k < pictures.size() && handle; k = next++) {
            const QImage image = pictures[k].toImage();
            unsigned char* jpeg = nullptr;
            unsigned long size = 0;
            if (image.format() != QImage::Format_RGB32 ||
                tjCompress2(handle, image.constBits(), image.width(), int(image.bytesPerLine()),
                            image.height(), TJPF_BGRX, &jpeg, &size, TJSAMP_444, kJpegSetting,
                            0) != 0)
                failed = true;
            total += qint64(size);
            tjFree(jpeg);
        }
        if (!handle)
            failed = true;
        else
            tjDestroy(handle);
    };
    QElapsedTimer t;
    t.start();
    {
        std::vector<std::jthread> threads;
        for (unsigned i = 1; i < std::max(1u, std::thread::hardware_concurrency()); ++i)
            threads.emplace_back(work);
        work();
    }
    const double s = t.nsecsElapsed() / 1e9;
    *bytes = total;
    return failed ? -1 : s;
}
} // namespace

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

    Gallery gallery{[] { return OuterSize{9600, 7200}; }};
    // The same pictures held decoded: what the packed form costs, apart from the machine's load.
    Gallery decodedGallery{[] { return OuterSize{9600, 7200}; }};
    std::vector<Picture> held;
    int packed = 0;
    for (const QImage& image : images) {
        // Held packed, as the gallery holds its pictures: Save All unpacks each.
        const Picture picture = Picture::fromImage(image);
        packed += picture.compact();
        gallery.AddImage(picture);
        held.push_back(picture);
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

    std::vector<double> ours, decoded, limit, oursBusy, limitBusy, oursCpu, limitCpu;
    qint64 limitBytes = 0;
    auto runOurs = [&] {
        const Busy busy;
        ours.push_back(saveAll(packedEnv));
        oursBusy.push_back(busy.cores());
        oursCpu.push_back(busy.cpu());
    };
    for (int r = 0; r < bench::repeats(); ++r) {
        // Alternating order, so neither always runs on a warmer machine.
        const bool oursFirst = r % 2 == 0;
        if (oursFirst)
            runOurs();
        const Busy busy;
        limit.push_back(limitSeconds(held, &limitBytes));
        limitBusy.push_back(busy.cores());
        limitCpu.push_back(busy.cpu());
        decoded.push_back(saveAll(decodedEnv));
        if (!oursFirst)
            runOurs();
        if (ours.back() < 0 || decoded.back() < 0 || limit.back() < 0) {
            std::fprintf(stderr, "a run failed\n");
            return 1;
        }
    }
    qint64 oursBytes = 0;
    for (const QFileInfo& f : QDir(saved).entryInfoList(QDir::Files))
        oursBytes += f.size();

    const double a = bench::median(ours), b = bench::median(limit);
    std::printf("cores %u, medians of %d interleaved runs\n", std::thread::hardware_concurrency(),
                bench::repeats());
    std::printf("limit: unpack + encode in memory, 56 x 1920x1080, all cores: %.3f s (%.1f MB)\n",
                b, limitBytes / 1e6);
    std::printf("Save All, 56 x 1920x1080:                                   %.3f s (%.1f MB)\n", a,
                oursBytes / 1e6);
    std::printf(
        "ratio Save All / limit: %.2f (target <= 1.25); %d of the 56 pictures held packed\n", a / b,
        packed);
    // On a machine shared with other work, the processor time is the steadier figure.
    std::printf("processor time: limit %.3f s, Save All %.3f s, ratio %.2f; cores kept busy: "
                "limit %.2f, Save All %.2f\n",
                bench::median(limitCpu), bench::median(oursCpu),
                bench::median(oursCpu) / bench::median(limitCpu), bench::median(limitBusy),
                bench::median(oursBusy));
    const double d = bench::median(decoded);
    std::printf(
        "Save All of the same pictures held decoded: %.3f s, %.2f x limit; packed / decoded "
        "%.2f\n",
        d, d / b, a / d);
    return 0;
}
