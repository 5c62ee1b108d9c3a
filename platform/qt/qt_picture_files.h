#pragma once

#include "platform/picture_files.h"

class QtPictureFiles final : public IPictureFiles {
public:
    Picture load(const QString& path, QString* error) override;
    bool writeBmp(const Picture& picture, const QString& path, QString* error) override;
    bool writeIntermediateBmp(const Picture& picture, const QString& path, QString* error) override;
};
