#pragma once

#include "platform/picture_files.h"
#include "platform/qt/files/metafile_client.h"

/** Pictures from files by their content: BMP (RLE too), GIF (first frame),
    JPEG and PNG through Qt's readers, EMF and WMF as vectors through the
    metafile helper process. load() may run on several threads at once. The
    writing of BMP files is in picture_writing.cpp. */
class QtPictureFiles final : public IPictureFiles {
public:
    /** metafileHelper: the helper program's path, by default the one beside the
        program; it is ended after metafileTimeoutMs. */
    explicit QtPictureFiles(QString metafileHelper = {},
                            int metafileTimeoutMs = kMetafileTimeoutMs);
    Picture load(const QString& path, QString* error) override;
    bool writeBmp(const Picture& picture, const QString& path, QString* error) override;
    std::unique_ptr<IntermediateBmp> writeIntermediateBmp(const Picture& picture,
                                                          const QString& folder,
                                                          QString* error) override;

private:
    Picture loadMetafile(const QString& path, int fd, QString* error) const;
    /** One reading of the file; changed is set when the file changed meanwhile. */
    Picture loadOnce(const QString& path, QString* error, bool* changed);
    /** The picture in file of fileSize bytes; bytes: the whole of them when
        they were read into memory, held then where that saves memory. */
    Picture loadRaster(QIODevice& file, const QByteArray& bytes, qint64 fileSize, QString* error);

    QString m_metafileHelper;
    int m_metafileTimeoutMs;
};
