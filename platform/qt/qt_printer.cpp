#include "platform/qt/qt_printer.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cstdlib>
#include <cups/cups.h>

namespace {

/** The destination CUPS prints to by default, with the settings it gives every program:
    the server's, then the user's own (lpoptions) over them. */
struct Destination {
    QPrinterInfo info;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

Destination defaultDestination() {
    // Qt's own default ignores a user's lpoptions that name the default with "Dest".
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr);
    if (!dest)
        return {};
    QString name = QString::fromLocal8Bit(dest->name);
    if (dest->instance)
        name += QLatin1Char('/') + QString::fromLocal8Bit(dest->instance);
    Destination out;
    // Qt reads the paper from these settings itself, but not the orientation.
    // 4 is landscape and 5 reverse landscape; Qt draws either as landscape.
    if (const char* requested =
            cupsGetOption("orientation-requested", dest->num_options, dest->options)) {
        const int value = std::atoi(requested);
        if (value == 4 || value == 5)
            out.orientation = QPageLayout::Landscape;
    } else if (cupsGetOption("landscape", dest->num_options, dest->options)) {
        out.orientation = QPageLayout::Landscape;
    }
    cupsFreeDests(1, dest);
    out.info = QPrinterInfo::printerInfo(name);
    return out;
}

} // namespace

QtPrinter::QtPrinter(QString docName) : m_docName(std::move(docName)) {}
QtPrinter::~QtPrinter() {
    endDocument();
}

bool QtPrinter::ensurePrinter() {
    if (m_printer)
        return true;
    // Asked afresh for every document: the default destination may have changed.
    const Destination destination = defaultDestination();
    const QPrinterInfo& info = destination.info;
    if (info.isNull())
        return false;
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    if (!printer->isValid() || printer->resolution() <= 0)
        return false;
    // The destination's current paper and orientation; QPrinter would start from its
    // own A4 portrait. Its margins of 10 pt are not the printer's either: the drawing
    // area is what the driver states it can print on.
    const QPageSize paper = info.defaultPageSize();
    if (paper.isValid())
        printer->setPageSize(paper);
    printer->setPageOrientation(destination.orientation);
    const QPageLayout layout = printer->pageLayout();
    printer->setPageMargins(layout.minimumMargins(), layout.units());
    printer->setDocName(m_docName);
    m_printer = std::move(printer);
    return true;
}

bool QtPrinter::pageSizeTwips(float* width, float* height) {
    if (!ensurePrinter())
        return false;
    const QRectF page = m_printer->pageRect(QPrinter::DevicePixel);
    const double res = m_printer->resolution();
    *width = static_cast<float>(page.width() * 1440.0 / res);
    *height = static_cast<float>(page.height() * 1440.0 / res);
    return true;
}

bool QtPrinter::drawPicture(const Picture& picture, float x, float y, float width, float height) {
    if (picture.isNull() || picture.isEmpty() || width <= 0 || height <= 0 || !ensurePrinter())
        return false;
    // A packed picture is decoded before the document starts: one that cannot be decoded
    // for lack of memory must not go out as a blank page.
    const QImage raster = picture.isVector() ? QImage() : picture.toImage();
    if (!picture.isVector() && raster.isNull())
        return false;
    if (!m_painter) {
        auto painter = std::make_unique<QPainter>();
        if (!painter->begin(m_printer.get()))
            return false;
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        m_painter = std::move(painter);
    }
    // The painter's origin is the printable area's corner, as the twips are.
    const double scale = m_printer->resolution() / 1440.0;
    const QRectF target(x * scale, y * scale, width * scale, height * scale);
    if (picture.isVector())
        picture.draw(*m_painter, target);
    else
        m_painter->drawImage(target, raster);
    return true;
}

bool QtPrinter::endDocument() {
    const bool ok = m_painter && m_painter->end();
    m_painter.reset();
    m_printer.reset();
    return ok;
}
