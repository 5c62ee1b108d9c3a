#include "metafile_test_support.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdlib>

namespace metafile_test {

namespace {
// While a fault is asked for, the tests' build of the helper stands in.
bool g_faultAsked = false;
} // namespace

std::optional<MetafileDrawing> loadThroughHelper(const QString& path, QString* error,
                                                 int timeoutMs) {
    const QString helper = g_faultAsked ? QStringLiteral(PICTAVO_METAFILE_FAULT_HELPER)
                                        : QStringLiteral(PICTAVO_METAFILE_HELPER);
    return loadMetafileViaHelper(helper, path, timeoutMs, error);
}

QString writeInto(const QTemporaryDir& dir, const QString& name, const Bytes& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) !=
            qint64(bytes.size()))
        return {};
    return path;
}

QImage renderAtFrameSize(const MetafileDrawing& drawing) {
    QImage image(drawing.frame, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(drawing.svg);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image;
}

bool isColor(const QImage& image, int x, int y, QColor expected, int tolerance) {
    const QColor c = image.pixelColor(x, y);
    return c.alpha() > 200 && std::abs(c.red() - expected.red()) <= tolerance &&
           std::abs(c.green() - expected.green()) <= tolerance &&
           std::abs(c.blue() - expected.blue()) <= tolerance;
}

bool isTransparent(const QImage& image, int x, int y) {
    return image.pixelColor(x, y).alpha() == 0;
}

int countColor(const QImage& image, const QRect& area, QColor expected, int tolerance) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += isColor(image, x, y, expected, tolerance) ? 1 : 0;
    return n;
}

HelperFault::HelperFault(const char* mode) {
    qputenv("PICTAVO_METAFILE_TEST", mode);
    g_faultAsked = true;
}

HelperFault::~HelperFault() {
    qunsetenv("PICTAVO_METAFILE_TEST");
    g_faultAsked = false;
}

} // namespace metafile_test
