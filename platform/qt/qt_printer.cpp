#include "platform/qt/qt_printer.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

QtPrinter::QtPrinter() = default;
QtPrinter::~QtPrinter() {
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

bool QtPrinter::ensurePrinter() {
    if (m_printer)
        return true;
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return false;
    m_printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    return m_printer->isValid();
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
    if (picture.isNull() || picture.isEmpty() || !ensurePrinter())
        return false;
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>();
        if (!m_painter->begin(m_printer.get())) {
            m_painter.reset();
            return false;
        }
    }
    const double scale = m_printer->resolution() / 1440.0;
    picture.draw(*m_painter, QRectF(x * scale, y * scale, width * scale, height * scale));
    return true;
}

bool QtPrinter::endDocument() {
    if (!m_painter)
        return false;
    const bool ok = m_painter->end();
    m_painter.reset();
    m_printer.reset();
    return ok;
}
