#pragma once

#include "platform/printer.h"

#include <memory>

class QPainter;
class QPrinter;

/** The system's default CUPS destination; every step fails when there is none. */
class QtPrinter final : public IPrinter {
public:
    QtPrinter();
    ~QtPrinter() override;
    bool pageSizeTwips(float* width, float* height) override;
    bool drawPicture(const Picture& picture, float x, float y, float width, float height) override;
    bool endDocument() override;

private:
    bool ensurePrinter();
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
};
