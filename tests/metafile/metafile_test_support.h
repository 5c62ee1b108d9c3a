// Shared pieces of the metafile tests: the helper's path, temporary files, rendering.
#pragma once

#include "metafile_writer.h"
#include "platform/qt/files/metafile_client.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

#include <optional>
#include <ostream>

// Readable QString values in test failures.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace metafile_test {

constexpr int kTimeoutMs = 20000;

std::optional<MetafileDrawing> loadThroughHelper(const QString& path, QString* error,
                                                 int timeoutMs = kTimeoutMs);

// Writes bytes to a file of the folder and returns its path.
QString writeInto(const QTemporaryDir& dir, const QString& name, const Bytes& bytes);

// The drawing rendered by QtSvg at its frame size, on a transparent background.
QImage renderAtFrameSize(const MetafileDrawing& drawing);

bool isColor(const QImage& image, int x, int y, QColor expected, int tolerance = 48);
bool isTransparent(const QImage& image, int x, int y);
// Pixels of about the colour within the rectangle.
int countColor(const QImage& image, const QRect& area, QColor expected, int tolerance = 80);

// Has the tests' build of the helper stand in, with this fault, for the scope.
class HelperFault {
public:
    explicit HelperFault(const char* mode);
    ~HelperFault();
    HelperFault(const HelperFault&) = delete;
    HelperFault& operator=(const HelperFault&) = delete;
};

} // namespace metafile_test
