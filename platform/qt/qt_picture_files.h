#pragma once

#include "platform/picture_files.h"

/** Pictures from files by their content: BMP (RLE too), GIF (first frame),
    JPEG and PNG through Qt's readers. load() may run on several threads at once. */
class QtPictureFiles final : public IPictureFiles {
public:
    Picture load(const QString& path, QString* error) override;
    bool writeBmp(const Picture& picture, const QString& path, QString* error) override;
};
