// Screenshot-like pictures for the output benchmarks, made here with
// ImageMagick and kept in a work folder between runs; and the helpers both
// benchmarks share: cjpeg as the baseline, medians, the real platform parts.
#pragma once

#include "fakes/fake_platform.h"
#include "fakes/real_output.h"
#include "platform/qt/qt_platform.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench {

// The converter's chroma subsampling (4:4:4), for a like-for-like cjpeg.
inline const char* const kCjpegSample = "1x1";

inline QString magick() {
    // The real ImageMagick, not a wrapper earlier on PATH.
    return QFileInfo::exists("/usr/bin/convert") ? QStringLiteral("/usr/bin/convert")
                                                 : QStringLiteral("convert");
}

inline bool run(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(program, args);
    return p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

/** A desktop of 1920 x 1080: gradient, a text window, a plasma "photo",
    a task bar; seed varies the content. */
inline bool makeScreen(int seed, const QString& png) {
    QString text;
    QFile source("/usr/include/stdio.h");
    if (source.open(QIODevice::ReadOnly)) {
        const QStringList lines = QString::fromLatin1(source.readAll()).split('\n');
        for (int i = 0; i < 50; ++i)
            text += lines.value((seed * 53 + i) % lines.size()).left(80) + '\n';
    }
    const QString hue = QString::number(seed * 37 % 360);
    return run(magick(),
               {"-size",
                "1920x1080",
                QStringLiteral("gradient:hsl(%1,45%,35%)-hsl(%1,60%,80%)").arg(hue),
                "(",
                "-size",
                "820x560",
                "-seed",
                QString::number(seed),
                "plasma:fractal",
                "-blur",
                "0x1",
                ")",
                "-geometry",
                QStringLiteral("+%1+120").arg(1020 + seed % 50),
                "-composite",
                "-fill",
                "#f7f7f7",
                "-draw",
                "rectangle 40,40 980,1000",
                "-fill",
                "#30343f",
                "-draw",
                "rectangle 40,40 980,72",
                "-fill",
                "white",
                "-font",
                "DejaVu-Sans",
                "-pointsize",
                "15",
                "-annotate",
                "+52+62",
                QStringLiteral("stdio.h - editor %1").arg(seed),
                "-fill",
                "#202020",
                "-font",
                "DejaVu-Sans-Mono",
                "-pointsize",
                "14",
                "-annotate",
                "+52+96",
                text,
                "-fill",
                "#1f2430",
                "-draw",
                "rectangle 0,1040 1920,1080",
                "-fill",
                "#4f9dde",
                "-draw",
                QStringLiteral("rectangle %1,1046 %2,1074").arg(8 + seed * 3).arg(120 + seed * 3),
                "-fill",
                "#e0e0e0",
                "-pointsize",
                "13",
                "-annotate",
                "+1800+1065",
                "14:32",
                "-type",
                "TrueColor",
                png});
}

/** n pictures of 1920 x 1080 in folder, made once. */
inline std::vector<QImage> screens(const QString& folder, int n) {
    QDir().mkpath(folder);
    std::vector<QImage> images;
    for (int i = 1; i <= n; ++i) {
        const QString png =
            folder + QStringLiteral("/screen_%1.png").arg(i, 2, 10, QLatin1Char('0'));
        if (!QFileInfo::exists(png)) {
            std::fprintf(stderr, "making %s\n", qPrintable(png));
            if (!makeScreen(i, png))
                return {};
        }
        images.push_back(QImage(png).convertToFormat(QImage::Format_RGB32));
        if (images.back().isNull())
            return {};
    }
    return images;
}

/** One picture of 7680 x 4320: sixteen screens, four by four. */
inline QImage bigScreen(const QString& folder) {
    const QString png = folder + "/screen_8k.png";
    if (!QFileInfo::exists(png)) {
        if (screens(folder, 16).empty())
            return {};
        QStringList args;
        for (int r = 0; r < 4; ++r) {
            args << "(";
            for (int c = 1; c <= 4; ++c)
                args << folder + QStringLiteral("/screen_%1.png")
                                     .arg(4 * r + c, 2, 10, QLatin1Char('0'));
            args << "+append"
                 << ")";
        }
        args << "-append"
             << "-type"
             << "TrueColor" << png;
        std::fprintf(stderr, "making %s\n", qPrintable(png));
        if (!run(magick(), args))
            return {};
    }
    return QImage(png).convertToFormat(QImage::Format_RGB32);
}

inline QString workFolder(int argc, char** argv) {
    return argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath() + "/pictavo-output-bench";
}

inline void emptyFolder(const QString& folder) {
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
}

/** Seconds that cjpeg takes for the BMP files, one after another. */
inline double cjpegSeconds(const QStringList& bmps, const QString& outFolder) {
    emptyFolder(outFolder);
    QElapsedTimer t;
    t.start();
    for (const QString& bmp : bmps) {
        const QString jpeg = outFolder + "/" + QFileInfo(bmp).completeBaseName() + ".jpg";
        if (!run("cjpeg", {"-quality", "100", "-sample", kCjpegSample, "-outfile", jpeg, bmp}))
            return -1;
    }
    return t.nsecsElapsed() / 1e9;
}

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

inline int repeats() {
    return qEnvironmentVariableIntValue("REPEATS") > 0 ? qEnvironmentVariableIntValue("REPEATS")
                                                       : 5;
}

using ::RealOutput;

} // namespace bench
