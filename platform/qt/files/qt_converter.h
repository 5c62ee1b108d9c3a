#pragma once

#include "platform/converter.h"

/** Loads the converter library from the private folder at each call, after checking
    that it is built for this program's interface. */
class QtConverter final : public IConverter {
public:
    explicit QtConverter(QString libraryPath) : m_libraryPath(std::move(libraryPath)) {}
    bool BmpToJpeg(const QString& bmpPath, const QString& jpegPath, int setting,
                   QString* error) override;
    static QString defaultLibraryPath();
    /** Why the converter failed, in words, from its result code and the errno it left. */
    static QString failureText(int code, int why);

private:
    QString m_libraryPath;
};
