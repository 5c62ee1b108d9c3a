#include "platform/qt/qt_printer.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

QtPrinter::QtPrinter(QString docName) : m_docName(std::move(docName)) {}
QtPrinter::~QtPrinter() {
    endDocument();
}

bool QtPrinter::ensurePrinter() {
    if (m_printer)
        return true;
    // Asked afresh for every document: the default destination may have changed.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return false;
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    if (!printer->isValid() || printer->resolution() <= 0)
        return false;
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
    if (!m_painter) {
        auto painter = std::make_unique<QPainter>();
        if (!painter->begin(m_printer.get()))
            return false;
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        m_painter = std::move(painter);
    }
    // The painter's origin is the printable area's corner, as the twips are.
    const double scale = m_printer->resolution() / 1440.0;
    picture.draw(*m_painter, QRectF(x * scale, y * scale, width * scale, height * scale));
    return true;
}

bool QtPrinter::endDocument() {
    const bool ok = m_painter && m_painter->end();
    m_painter.reset();
    m_printer.reset();
    return ok;
}
