#pragma once

#include "platform/converter.h"

/** Loads the converter library from the program's folder at each call. */
class QtConverter final : public IConverter {
public:
    explicit QtConverter(QString libraryPath) : m_libraryPath(std::move(libraryPath)) {}
    bool BmpToJpeg(const QString& bmpPath, const QString& jpegPath, int setting,
                   QString* error) override;
    static QString defaultLibraryPath();

private:
    QString m_libraryPath;
};
