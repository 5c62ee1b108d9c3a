// The converter library and the metafile helper from the private folder: found from the
// program's location, refused when they are of the wrong kind, and, when missing, a
// message that says what and where instead of a failure without a word.
#include "platform/qt/files/metafile_client.h"
#include "platform/qt/files/private_files.h"
#include "platform/qt/files/qt_converter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QString strayConverter(const char* kind) {
    return QStringLiteral(STRAY_CONVERTERS_DIR "/libstray_converter_%1.so").arg(kind);
}

struct Conversion {
    bool converted = false;
    QString error;
};

Conversion convertWith(const QString& library, const QString& bmp, const QString& jpeg) {
    QtConverter converter(library);
    Conversion result;
    result.converted = converter.BmpToJpeg(bmp, jpeg, 100, &result.error);
    return result;
}

class PrivateFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString bmp, jpeg;
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        bmp = dir.path() + "/in.bmp";
        jpeg = dir.path() + "/out.jpg";
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        ASSERT_TRUE(image.save(bmp, "BMP"));
    }
};

} // namespace

TEST_F(PrivateFiles, BuildTreeHoldsThePrivateFolderWhereTheProgramLooks) {
    const QString folder = privateFolder();
    EXPECT_NE(folder, QCoreApplication::applicationDirPath()) << "not beside the program";
    EXPECT_TRUE(folder.endsWith("/pictavo")) << folder.toStdString();
    EXPECT_EQ(QtConverter::defaultLibraryPath(), folder + "/libpictavo_jpeg.so");
    EXPECT_EQ(metafileHelperPath(), folder + "/pictavo-metafile");
    EXPECT_TRUE(privateFileProblem("the JPEG converter", QtConverter::defaultLibraryPath()).isEmpty());
    EXPECT_TRUE(privateFileProblem("the metafile reader", metafileHelperPath()).isEmpty());
    const Conversion real = convertWith(QtConverter::defaultLibraryPath(), bmp, jpeg);
    EXPECT_TRUE(real.converted) << real.error.toStdString();
    EXPECT_EQ(QImage(jpeg, "JPEG").size(), QSize(40, 30));
}

TEST_F(PrivateFiles, ConverterOfTheWrongKindIsRefusedAndNeverCalled) {
    struct Case {
        const char* kind;
        const char* says;
    };
    for (const Case& c : {Case{"other_version", "interface version 999"},
                          Case{"no_version", "does not say its interface version"},
                          Case{"no_converter", "has no BmpToJpeg"}}) {
        const QString library = strayConverter(c.kind);
        ASSERT_TRUE(QFile::exists(library)) << library.toStdString();
        const Conversion result = convertWith(library, bmp, jpeg);
        EXPECT_FALSE(result.converted) << c.kind;
        EXPECT_TRUE(result.error.contains(library)) << result.error.toStdString();
        EXPECT_TRUE(result.error.contains("refused")) << result.error.toStdString();
        EXPECT_TRUE(result.error.contains(c.says)) << result.error.toStdString();
        EXPECT_FALSE(QFile::exists(jpeg)) << c.kind << ": its BmpToJpeg was called";
    }
}

TEST_F(PrivateFiles, MissingOrUnreadableFolderIsNamedWithWhatWasLookedFor) {
    const QString gone = dir.path() + "/libexec/pictavo";
    const Conversion noFolder = convertWith(gone + "/libpictavo_jpeg.so", bmp, jpeg);
    EXPECT_FALSE(noFolder.converted);
    EXPECT_TRUE(noFolder.error.contains("the JPEG converter could not be loaded: it was looked for in " +
                                        gone + ", which is missing"))
        << noFolder.error.toStdString();

    QString error;
    EXPECT_FALSE(loadMetafileViaHelper(gone + "/pictavo-metafile", bmp, 5000, &error));
    EXPECT_TRUE(error.contains("the metafile reader was looked for in " + gone + ", which is missing"))
        << error.toStdString();

    // The folder there, the file not.
    ASSERT_TRUE(QDir().mkpath(gone));
    const Conversion noFile = convertWith(gone + "/libpictavo_jpeg.so", bmp, jpeg);
    EXPECT_TRUE(noFile.error.contains("could not be loaded: it is missing: " + gone + "/libpictavo_jpeg.so"))
        << noFile.error.toStdString();
    EXPECT_FALSE(QFile::exists(jpeg));

    // Permissions bind everyone but root, who reads any folder.
    if (::geteuid() != 0) {
        QFile::copy(QtConverter::defaultLibraryPath(), gone + "/libpictavo_jpeg.so");
        ASSERT_TRUE(QFile::setPermissions(gone, QFileDevice::WriteOwner));
        const Conversion locked = convertWith(gone + "/libpictavo_jpeg.so", bmp, jpeg);
        QFile::setPermissions(gone, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ExeOwner);
        EXPECT_TRUE(locked.error.contains(gone + ", which cannot be read"))
            << locked.error.toStdString();
        EXPECT_FALSE(QFile::exists(jpeg));
    }
}
