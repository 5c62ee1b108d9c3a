#include "platform/qt/drag/drag_files.h"
#include "platform/qt/drag/picture_drag.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QImage pattern() {
    QImage image(7, 5, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 30, y * 50, 200));
    return image;
}

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

} // namespace

TEST(PictureDrag, OffersTheImageAndWritesTheFileOnlyWhenAsked) {
    QTemporaryDir runtime;
    auto files = std::make_unique<DragFiles>(runtime.path());
    QString path;
    {
        PictureMimeData data(Picture::fromImage(pattern()), QStringLiteral("Image 1.png"), files.get());
        EXPECT_EQ(data.formats(), QStringList({"image/png", "image/bmp", "text/uri-list"}));
        EXPECT_EQ(QImage::fromData(data.data("image/png"), "PNG").convertToFormat(QImage::Format_RGB32),
                  pattern());
        EXPECT_EQ(QImage::fromData(data.data("image/bmp"), "BMP").convertToFormat(QImage::Format_RGB32),
                  pattern());
        EXPECT_TRUE(entriesOf(runtime.path()).isEmpty()) << "written before a target asked";

        const QByteArray uris = data.data("text/uri-list");
        ASSERT_TRUE(uris.endsWith("\r\n"));
        path = QUrl::fromEncoded(uris.trimmed()).toLocalFile();
        EXPECT_EQ(QFileInfo(path).fileName(), "Image 1.png");
        EXPECT_TRUE(path.startsWith(files->folder() + "/"));
        EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB32), pattern());
        EXPECT_EQ(QFileInfo(files->folder()).permissions() & 0x0077, 0) << "others may read it";
        EXPECT_EQ(data.data("text/uri-list"), uris) << "asked again: the same file";

        // A second drag of an entry of the same name keeps the first file.
        PictureMimeData other(Picture::fromImage(pattern()), QStringLiteral("Image 1.png"), files.get());
        const QString second = QUrl::fromEncoded(other.data("text/uri-list").trimmed()).toLocalFile();
        EXPECT_NE(second, path);
        EXPECT_TRUE(QFileInfo::exists(path));
        EXPECT_TRUE(QFileInfo::exists(second));
    }
    EXPECT_TRUE(QFileInfo::exists(path)) << "a target may read the file after the drop";
    files.reset();
    EXPECT_TRUE(entriesOf(runtime.path()).isEmpty()) << "left behind at the end";
}

TEST(PictureDrag, MetafilesAreOfferedAsSvgToo) {
    const QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='2'>"
                           "<rect width='4' height='2' fill='#ff0000'/></svg>";
    PictureMimeData data(Picture::fromSvg(svg, QSize(4, 2)), QStringLiteral("m.png"), nullptr);
    EXPECT_EQ(data.formats(), QStringList({"image/png", "image/bmp", "image/svg+xml"}));
    EXPECT_EQ(data.data("image/svg+xml"), svg);
    EXPECT_EQ(QImage::fromData(data.data("image/png"), "PNG").size(), QSize(4, 2));
}

TEST(PictureDrag, NoFileWhereNoneCanBeWritten) {
    QTemporaryDir root;
    // A runtime folder that is a file; the program's folder taken by a file or a link.
    QFile plain(root.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    QDir(root.path()).mkpath("taken");
    ASSERT_TRUE(QFile(root.filePath("taken/pictavo-drag")).open(QIODevice::WriteOnly));
    QDir(root.path()).mkpath("linked");
    QDir(root.path()).mkpath("elsewhere");
    QFile::link(root.filePath("elsewhere"), root.filePath("linked/pictavo-drag"));

    for (const QString& runtime : {QString(), root.filePath("plain"), root.filePath("plain/sub"),
                                   root.filePath("taken"), root.filePath("linked")}) {
        SCOPED_TRACE(runtime.toStdString());
        DragFiles files(runtime);
        EXPECT_FALSE(files.canOffer());
        EXPECT_EQ(files.write(pattern(), "a.png"), "");
        PictureMimeData data(Picture::fromImage(pattern()), QStringLiteral("a.png"), &files);
        EXPECT_EQ(data.formats(), QStringList({"image/png", "image/bmp"}));
        EXPECT_FALSE(data.data("image/png").isEmpty()) << "the image is still offered";
    }
    EXPECT_TRUE(entriesOf(root.filePath("elsewhere")).isEmpty()) << "written through a link";
}

// The program's folder made beforehand by someone else is refused; one of the user's own with
// a wider mode is tightened before a picture goes in.
TEST(PictureDrag, FolderOfAnotherUserIsRefusedAndAWiderOneTightened) {
    QTemporaryDir runtime;
    const QByteArray folder = QFile::encodeName(runtime.filePath("pictavo-drag"));
    ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
    ASSERT_EQ(::chmod(folder.constData(), 0777), 0);
    {
        DragFiles files(runtime.path());
        ASSERT_FALSE(files.write(pattern(), "wide.png").isEmpty());
        struct stat st {};
        ASSERT_EQ(::stat(folder.constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
    }
    if (::geteuid() != 0)
        return; // only root can hand a folder to another user
    const passwd* nobody = ::getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
    ASSERT_EQ(::chown(folder.constData(), nobody->pw_uid, nobody->pw_gid), 0);
    DragFiles files(runtime.path());
    EXPECT_FALSE(files.canOffer());
    EXPECT_EQ(files.write(pattern(), "theirs.png"), "");
    EXPECT_TRUE(entriesOf(QFile::decodeName(folder)).isEmpty());
}
