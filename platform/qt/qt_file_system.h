#pragma once

#include "platform/file_system.h"

class QtFileSystem final : public IFileSystem {
public:
    std::int64_t fileLength(const QString& path) const override;
    bool remove(const QString& path) override;
    bool rename(const QString& from, const QString& to, QString* error) override;
    QStringList listFiles(const QString& folder, const QString& pattern) const override;
    QString uniqueName(const QString& folder, const QString& stem,
                       const QString& suffix) const override;
    QString programFolder() const override;
};
