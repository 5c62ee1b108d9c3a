#pragma once

#include "platform/printer.h"

#include <QString>
#include <memory>

class QPainter;
class QPrinter;

/** The system's default CUPS destination; every step fails when there is none. */
class QtPrinter final : public IPrinter {
public:
    /** docName is the job's title (tests give each job a name of its own). */
    explicit QtPrinter(QString docName = QStringLiteral("Pictavo"));
    ~QtPrinter() override;
    bool pageSizeTwips(float* width, float* height) override;
    bool drawPicture(const Picture& picture, float x, float y, float width, float height) override;
    bool endDocument() override;

private:
    bool ensurePrinter();
    QString m_docName;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
};
