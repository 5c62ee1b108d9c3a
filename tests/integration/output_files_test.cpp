// Save and Save All on real files: Qt's BMP writer, the real converter library
// loaded from the program's private folder, full and read-only file systems.
#include "commands/commands.h"
#include "commands/picture_output.h"
#include "fakes/fake_platform.h"
#include "fakes/real_output.h"
#include "platform/qt/qt_platform.h"
#include "platform/temporary_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

// Gradients, panels and text, like a screen.
QImage screenLike(int w, int h, int seed) {
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient background(0, 0, w, h);
    background.setColorAt(0, QColor::fromHsv(seed * 40 % 360, 120, 230));
    background.setColorAt(1, QColor::fromHsv((seed * 40 + 90) % 360, 200, 90));
    p.fillRect(image.rect(), background);
    p.fillRect(QRect(w / 8, h / 8, w / 2, h / 2), QColor(250, 250, 250));
    p.setPen(Qt::black);
    for (int y = h / 8 + 14; y < h * 5 / 8; y += 16)
        p.drawText(w / 8 + 6, y, QStringLiteral("File  Edit  View  %1 pictures saved").arg(y));
    return image;
}

QImage noise(int w, int h, unsigned seed) {
    QImage image(w, h, QImage::Format_RGB32);
    std::mt19937 random(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, 0xff000000u | (random() & 0xffffffu));
    return image;
}

double meanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int r = 0; r < x.height(); ++r)
        for (int c = 0; c < x.width(); ++c) {
            const QRgb p = x.pixel(c, r), q = y.pixel(c, r);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * x.width() * x.height());
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// A small tmpfs mounted over a folder for the test's life; unmounted at the end.
class SmallMount {
public:
    explicit SmallMount(const QString& folder, const char* options) : m_folder(folder) {
        m_mounted =
            QProcess::execute("mount", {"-t", "tmpfs", "-o", options, "tmpfs", folder}) == 0;
    }
    ~SmallMount() {
        if (m_mounted)
            QProcess::execute("umount", {m_folder});
    }
    bool mounted() const { return m_mounted; }
    bool makeReadOnly() { return QProcess::execute("mount", {"-o", "remount,ro", m_folder}) == 0; }
    qint64 freeBytes() const {
        struct statvfs s {};
        return statvfs(QFile::encodeName(m_folder).constData(), &s) == 0
                   ? qint64(s.f_bavail) * qint64(s.f_frsize)
                   : -1;
    }

private:
    QString m_folder;
    bool m_mounted = false;
};

// Every name in a folder, as the bytes on disk.
QList<QByteArray> rawEntries(const QByteArray& folder) {
    QList<QByteArray> names;
    if (DIR* d = ::opendir(folder.constData())) {
        while (const dirent* e = ::readdir(d)) {
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                names.append(QByteArray(e->d_name));
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Notes what the folder holds while the real converter works.
class WatchingConverter final : public IConverter {
public:
    WatchingConverter(IConverter& inner, QString folder)
        : m_inner(inner), m_folder(std::move(folder)) {}
    bool BmpToJpeg(const QString& bmp, const QString& jpeg, int setting, QString* error) override {
        seen = entries(m_folder);
        return m_inner.BmpToJpeg(bmp, jpeg, setting, error);
    }
    QStringList seen;

private:
    IConverter& m_inner;
    QString m_folder;
};

void makeOld(const QString& path) {
    const timespec times[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

struct RealFiles : ::testing::Test, RealOutput {
    QTemporaryDir tmp;
    QString dir = tmp.path();
    Gallery g{[] { return OuterSize{9600, 7200}; }};
    CommandEnv env{g, window, platform};

    void addPicture(const QImage& image, const QString& name) {
        g.AddImage(Picture::fromImage(image));
        g.imgView(g.ImageCount - 1).toolTipText = name;
        g.SelectImage(std::int16_t(g.ImageCount - 1));
    }
    void save(const QString& answer) {
        fake.dialogs.answers.push_back(answer);
        mnuFileSave_Click(env);
    }
    void saveAll(const QString& folder) {
        fake.dialogs.answers.push_back(folder);
        mnuFileSaveAll_Click(env);
    }
    QString lastMessage() const {
        return fake.messages.shown.empty() ? QString() : fake.messages.shown.back().text;
    }
};

} // namespace

TEST_F(RealFiles, JpegSaveLeavesTheUsersBitmapAloneAndOnlyTheJpeg) {
    const QImage image = screenLike(320, 200, 1);
    addPicture(image, "Image 1");
    const QByteArray users = "not a picture, but the user's file";
    ASSERT_TRUE(writeAll(dir + "/a.bmp", users));
    save(dir + "/a.jpg");
    EXPECT_TRUE(fake.messages.shown.empty()) << lastMessage().toStdString();
    EXPECT_EQ(entries(dir), (QStringList{"a.bmp", "a.jpg"}));
    EXPECT_EQ(readAll(dir + "/a.bmp"), users);
    const QImage saved(dir + "/a.jpg", "JPEG");
    ASSERT_EQ(saved.size(), image.size());
    EXPECT_LT(meanDifference(saved, image), 2.0);
    EXPECT_EQ(g.imgView(0).toolTipText, dir + "/a.jpg");
    EXPECT_FALSE(g.IgnoreClipboard);

    // Capitals and a name without extension.
    save(dir + "/B.JPG");
    save(dir + "/plain");
    EXPECT_EQ(entries(dir), (QStringList{"B.JPG", "a.bmp", "a.jpg", "plain.jpg"}));
    EXPECT_EQ(QImage(dir + "/plain.jpg").size(), image.size());
    EXPECT_EQ(g.imgView(0).toolTipText, dir + "/plain.jpg");
}

TEST_F(RealFiles, BmpSaveWritesExactlyThatFile) {
    const QImage image = screenLike(97, 61, 2);
    addPicture(image, "Image 1");
    ASSERT_TRUE(writeAll(dir + "/Shot.BMP", "older"));
    ASSERT_EQ(::chmod(QFile::encodeName(dir + "/Shot.BMP").constData(), 0640), 0);
    save(dir + "/Shot.BMP");
    EXPECT_EQ(entries(dir), QStringList{"Shot.BMP"});
    const QImage saved(dir + "/Shot.BMP");
    ASSERT_EQ(saved.size(), image.size());
    EXPECT_EQ(meanDifference(saved, image), 0.0);
    // The file replaced keeps its permissions.
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(dir + "/Shot.BMP").constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(RealFiles, BmpUnderTheLongestNamesIsWrittenNewAndOverAnOlderFile) {
    const QImage image = screenLike(40, 30, 8);
    addPicture(image, "Image 1");
    // 249 to 255 bytes leave no room for a temporary name made by adding to them.
    QStringList names;
    for (int bytes = 249; bytes <= 255; ++bytes)
        names.append(QString(bytes - 4, QLatin1Char('n')) + ".bmp");
    names.append(QString(125, QChar(0x00e9)) + ".bmp"); // 254 bytes in 129 characters
    for (const QString& name : names) {
        const QString path = dir + "/" + name;
        const std::string what = std::to_string(QFile::encodeName(name).size()) + " bytes";
        for (const bool older : {false, true}) {
            if (older) {
                ASSERT_TRUE(writeAll(path, "older")) << what;
            }
            save(path);
            EXPECT_TRUE(fake.messages.shown.empty()) << what << ": " << lastMessage().toStdString();
            EXPECT_EQ(meanDifference(QImage(path), image), 0.0) << what;
            fake.messages.shown.clear();
        }
    }
    EXPECT_EQ(entries(dir).size(), names.size()) << "no temporary file is left";
}

TEST_F(RealFiles, IntermediateBitmapHasNoNameAndIsKeptOnlyUnderAFreeOne) {
    const QByteArray users = "the user's";
    ASSERT_TRUE(writeAll(dir + "/taken.bmp", users));
    const Picture picture = Picture::fromImage(screenLike(30, 20, 5));
    QString error;
    {
        const auto bmp = pictures.writeIntermediateBmp(picture, dir, &error);
        ASSERT_TRUE(bmp) << error.toStdString();
        EXPECT_EQ(entries(dir), QStringList{"taken.bmp"}) << "a name the folder shows";
        EXPECT_EQ(QImage(bmp->path()).size(), QSize(30, 20));
        EXPECT_FALSE(bmp->keepAs(dir + "/taken.bmp", &error));
        EXPECT_EQ(readAll(dir + "/taken.bmp"), users);
    }
    EXPECT_EQ(entries(dir), QStringList{"taken.bmp"}) << "gone with its object";
    {
        const auto bmp = pictures.writeIntermediateBmp(picture, dir, &error);
        ASSERT_TRUE(bmp && bmp->keepAs(dir + "/new.bmp", &error)) << error.toStdString();
    }
    EXPECT_EQ(QImage(dir + "/new.bmp").size(), QSize(30, 20));
}

TEST_F(RealFiles, IntermediateBitmapMakesTheJpegOfQtsOwnAndOpensInViewers) {
    const QImage image = screenLike(641, 479, 7);
    QString error;
    ASSERT_TRUE(image.save(dir + "/qt.bmp", "BMP"));
    ASSERT_TRUE(converter.BmpToJpeg(dir + "/qt.bmp", dir + "/qt.jpg", kJpegSetting, &error));
    const QImage fromQt = QImage(dir + "/qt.jpg").convertToFormat(QImage::Format_RGB32);
    const Picture packed = Picture::fromImage(image);
    ASSERT_TRUE(packed.compact());
    for (const Picture& picture : {Picture::fromImage(image), packed}) {
        const std::string what = picture.isCompact() ? "packed" : "decoded";
        const QString kept = dir + "/" + QString::fromStdString(what) + ".bmp";
        const auto bmp = pictures.writeIntermediateBmp(picture, dir, &error);
        ASSERT_TRUE(bmp) << error.toStdString();
        ASSERT_TRUE(converter.BmpToJpeg(bmp->path(), dir + "/ours.jpg", kJpegSetting, &error))
            << what;
        EXPECT_TRUE(QImage(dir + "/ours.jpg").convertToFormat(QImage::Format_RGB32) == fromQt)
            << what << ": the JPEG's pixels are not those of Qt's own bitmap";

        // Kept after a failed conversion, it is the user's picture in any viewer.
        ASSERT_TRUE(bmp->keepAs(kept, &error)) << what;
        EXPECT_EQ(meanDifference(QImage(kept), image), 0.0) << what;
        ASSERT_EQ(QProcess::execute("/usr/bin/convert", {kept, dir + "/magick.ppm"}), 0) << what;
        const QImage magick(dir + "/magick.ppm");
        ASSERT_EQ(magick.size(), image.size()) << what;
        EXPECT_EQ(meanDifference(magick, image), 0.0) << what << ": ImageMagick reads another";
    }
}

TEST_F(RealFiles, MissingConverterKeepsTheBitmapAndSaysWhere) {
    QTemporaryDir programFolder;
    QtConverter missing(programFolder.path() + "/libpictavo_jpeg.so");
    Platform p{fake.clipboard, clock,      files,        pictures, fake.dialogs,
               fake.messages,  fake.shell, fake.printer, missing};
    CommandEnv missingEnv{g, window, p};
    const QImage image = screenLike(120, 80, 3);
    addPicture(image, "Image 1");
    fake.dialogs.answers.push_back(dir + "/a.jpg");
    mnuFileSave_Click(missingEnv);

    const QStringList left = entries(dir);
    ASSERT_EQ(left.size(), 1) << left.join(' ').toStdString();
    const QString kept = dir + "/" + left[0];
    EXPECT_TRUE(kept.endsWith(".bmp"));
    EXPECT_EQ(meanDifference(QImage(kept), image), 0.0) << "the bitmap still holds the picture";
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].kind, "warning");
    EXPECT_TRUE(lastMessage().contains(dir + "/a.jpg"));
    EXPECT_TRUE(lastMessage().contains("could not be loaded"));
    EXPECT_TRUE(lastMessage().contains(kept)) << lastMessage().toStdString();
    EXPECT_EQ(g.imgView(0).toolTipText, "Image 1");

    fake.messages.shown.clear();
    fake.dialogs.answers.push_back(dir + "/all");
    QDir().mkdir(dir + "/all");
    mnuFileSaveAll_Click(missingEnv);
    EXPECT_TRUE(lastMessage().startsWith("1 of 1 pictures were not saved in " + dir + "/all/."))
        << lastMessage().toStdString();
    EXPECT_EQ(entries(dir + "/all").size(), 1);
}

TEST_F(RealFiles, SaveAllWritesOneJpegPerPictureAndNoBitmaps) {
    for (int i = 0; i < 3; ++i)
        addPicture(screenLike(200 + i, 100, i), QStringLiteral("Image %1").arg(i + 1));
    g.IgnoreClipboard = true;
    saveAll(dir); // no closing "/"
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "Save all is done.");
    EXPECT_EQ(fake.messages.shown[0].kind, "information");
    const QStringList names = entries(dir);
    ASSERT_EQ(names.size(), 3) << names.join(' ').toStdString();
    const QRegularExpression pattern(R"(^image_([1-3])_\d\d-\d\d-\d{4}_\d+([.,]\d+)?\.jpg$)");
    for (const QString& name : names) {
        const auto m = pattern.match(name);
        ASSERT_TRUE(m.hasMatch()) << name.toStdString();
        const int i = m.captured(1).toInt() - 1;
        EXPECT_EQ(QImage(dir + "/" + name).width(), 200 + i) << "entry " << i << " in its file";
    }
    EXPECT_FALSE(g.IgnoreClipboard);
}

TEST_F(RealFiles, ReadOnlyFolderLosesNothingAndTellsWhy) {
    SmallMount mount(dir, "size=1m");
    if (!mount.mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here";
    const QByteArray old = "an older JPEG";
    ASSERT_TRUE(writeAll(dir + "/old.jpg", old));
    ASSERT_TRUE(mount.makeReadOnly());
    addPicture(screenLike(64, 48, 4), "Image 1");

    for (const QString& name : {QStringLiteral("old.jpg"), QStringLiteral("new.bmp")}) {
        save(dir + "/" + name);
        EXPECT_TRUE(lastMessage().contains(dir + "/" + name));
        EXPECT_TRUE(lastMessage().contains("Read-only file system")) << lastMessage().toStdString();
    }
    saveAll(dir + "/");
    EXPECT_TRUE(lastMessage().startsWith("1 of 1 pictures were not saved in " + dir + "/."))
        << lastMessage().toStdString();
    EXPECT_EQ(entries(dir), QStringList{"old.jpg"});
    EXPECT_EQ(readAll(dir + "/old.jpg"), old);
    EXPECT_EQ(g.imgView(0).toolTipText, "Image 1");
}

TEST_F(RealFiles, FullDiskLeavesNoPartialFileAndDestroysNothing) {
    SmallMount mount(dir, "size=1m");
    if (!mount.mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here";
    const QByteArray old(5000, 'j');
    ASSERT_TRUE(writeAll(dir + "/shot.jpg", old));
    ASSERT_TRUE(writeAll(dir + "/shot.bmp", old));

    // The bitmap does not fit at all.
    addPicture(noise(800, 600, 1), "Image 1");
    save(dir + "/shot.jpg");
    EXPECT_TRUE(lastMessage().contains("No space left on device")) << lastMessage().toStdString();
    save(dir + "/shot.bmp");
    EXPECT_TRUE(lastMessage().contains("No space left on device")) << lastMessage().toStdString();
    // So does one large enough to be written by a second thread.
    addPicture(noise(3000, 3000, 3), "Image 2");
    save(dir + "/shot.bmp");
    EXPECT_TRUE(lastMessage().contains("No space left on device")) << lastMessage().toStdString();
    EXPECT_EQ(entries(dir), (QStringList{"shot.bmp", "shot.jpg"}));
    EXPECT_EQ(readAll(dir + "/shot.jpg"), old);
    EXPECT_EQ(readAll(dir + "/shot.bmp"), old);
    g.destroyTopEntry();
    g.ImageCount = 1;

    // The bitmap fits, its JPEG does not: the converter fails and the bitmap stays.
    const QImage small = noise(200, 200, 2);
    QTemporaryDir roomy;
    Picture smallPicture = Picture::fromImage(small);
    ASSERT_TRUE(pictures.writeBmp(smallPicture, roomy.path() + "/x.bmp", nullptr));
    QString error;
    ASSERT_TRUE(converter.BmpToJpeg(roomy.path() + "/x.bmp", roomy.path() + "/x.jpg", 100, &error))
        << error.toStdString();
    const qint64 bmpBytes = QFileInfo(roomy.path() + "/x.bmp").size();
    const qint64 jpegBytes = QFileInfo(roomy.path() + "/x.jpg").size();
    const qint64 page = 4096;
    const qint64 room = (bmpBytes + page - 1) / page * page + jpegBytes / 2 / page * page;
    ASSERT_GT(mount.freeBytes(), room);
    ASSERT_TRUE(writeAll(dir + "/filler", QByteArray(mount.freeBytes() - room, 'f')));
    addPicture(small, "Image 2");
    fake.messages.shown.clear();
    save(dir + "/shot.jpg");
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_TRUE(lastMessage().contains("the JPEG file could not be written: No space left on device"))
        << lastMessage().toStdString();
    QStringList left = entries(dir);
    left.removeAll("filler");
    left.removeAll("shot.jpg");
    left.removeAll("shot.bmp");
    ASSERT_EQ(left.size(), 1) << left.join(' ').toStdString();
    EXPECT_TRUE(lastMessage().contains(dir + "/" + left[0]));
    EXPECT_EQ(meanDifference(QImage(dir + "/" + left[0]), small), 0.0);
    EXPECT_EQ(readAll(dir + "/shot.jpg"), old);
    EXPECT_EQ(g.imgView(1).toolTipText, "Image 2");
    QFile::remove(dir + "/" + left[0]);

    // Save All: what fits is saved whole, the rest is counted.
    fake.messages.shown.clear();
    saveAll(dir);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].kind, "warning");
    EXPECT_TRUE(QRegularExpression("^[12] of 2 pictures were not saved in " +
                                   QRegularExpression::escape(dir) + "/\\.")
                    .match(lastMessage())
                    .hasMatch())
        << lastMessage().toStdString();
    for (const QString& name : entries(dir)) {
        if (name == "filler" || name.startsWith("shot."))
            continue;
        EXPECT_TRUE(name.startsWith("image_")) << name.toStdString();
        EXPECT_FALSE(QImage(dir + "/" + name).isNull()) << name.toStdString() << " is whole";
    }
    EXPECT_EQ(readAll(dir + "/shot.jpg"), old);
    EXPECT_EQ(readAll(dir + "/shot.bmp"), old);
}

TEST_F(RealFiles, CrashLeftoversGoAtTheNextSaveAndNothingHalfWrittenLooksLikeAPicture) {
    const QImage image = screenLike(160, 100, 6);
    addPicture(image, "Image 1");
    for (const QString& name : {QStringLiteral("shot.jpg"), QStringLiteral("shot.bmp")}) {
        SCOPED_TRACE(name.toStdString());
        const QString folder = dir + "/" + name.right(3);
        ASSERT_TRUE(QDir().mkdir(folder));
        // Only the program's own pattern, and only from before this run, is removed.
        const QStringList old = {".pictavo-0123456789abcdef.tmp", ".pictavo-ABC.tmp",
                                 ".pictavo-notes.txt", "pictavo-1.tmp"};
        for (const QString& n : old) {
            ASSERT_TRUE(writeAll(folder + "/" + n, "left over"));
            makeOld(folder + "/" + n);
        }
        ASSERT_TRUE(writeAll(folder + "/.pictavo-fresh1.tmp", "this run's"));

        WatchingConverter watching(converter, folder);
        Platform p{fake.clipboard, clock,      files,        pictures, fake.dialogs,
                   fake.messages,  fake.shell, fake.printer, watching};
        CommandEnv watchedEnv{g, window, p};
        fake.dialogs.answers.push_back(folder + "/" + name);
        mnuFileSave_Click(watchedEnv);
        EXPECT_TRUE(fake.messages.shown.empty()) << lastMessage().toStdString();
        EXPECT_EQ(entries(folder), (QStringList{".pictavo-ABC.tmp", ".pictavo-fresh1.tmp",
                                                ".pictavo-notes.txt", "pictavo-1.tmp", name}));
        if (name.endsWith(".jpg")) {
            // While the JPEG is made, the picture's file has no name in the folder, or,
            // where the file system has no unnamed files, a hidden one of the pattern.
            QStringList added = watching.seen;
            for (const QString& n : entries(folder))
                added.removeAll(n);
            EXPECT_LE(added.size(), 1) << watching.seen.join(' ').toStdString();
            for (const QString& n : added)
                EXPECT_TRUE(isTemporaryName(n.toStdString())) << n.toStdString();
        }
    }
}

TEST_F(RealFiles, ThroughALinkTheFileItLeadsToIsReplacedAndTheLinkStays) {
    ASSERT_TRUE(QDir().mkdir(dir + "/real") && QDir().mkdir(dir + "/out"));
    for (const char* ext : {"jpg", "bmp"}) {
        ASSERT_TRUE(writeAll(dir + "/real/target." + ext, "older"));
        const QByteArray out = QFile::encodeName(dir) + "/out/";
        const QByteArray link = QByteArray(out).append("link.").append(ext);
        const QByteArray dangle = QByteArray(out).append("dangle.").append(ext);
        ASSERT_EQ(
            ::symlink(QByteArray("../real/target.").append(ext).constData(), link.constData()), 0);
        ASSERT_EQ(
            ::symlink(QByteArray("../real/none.").append(ext).constData(), dangle.constData()), 0);
    }
    const QImage image = screenLike(90, 70, 7);
    addPicture(image, "Image 1");
    save(dir + "/out/link.jpg");
    save(dir + "/out/link.bmp");
    EXPECT_TRUE(fake.messages.shown.empty()) << lastMessage().toStdString();
    for (const char* ext : {"jpg", "bmp"}) {
        const QFileInfo link(dir + "/out/link." + ext);
        EXPECT_TRUE(link.isSymLink()) << ext;
        EXPECT_EQ(link.symLinkTarget(), dir + "/real/target." + ext);
    }
    EXPECT_LT(meanDifference(QImage(dir + "/real/target.jpg", "JPEG"), image), 2.0);
    EXPECT_EQ(meanDifference(QImage(dir + "/real/target.bmp", "BMP"), image), 0.0);

    // A link that leads nowhere is refused, by Save and by the zoom window's writer alike.
    for (const char* ext : {"jpg", "bmp"}) {
        fake.messages.shown.clear();
        save(dir + "/out/dangle." + ext);
        ASSERT_EQ(fake.messages.shown.size(), 1u) << ext;
        EXPECT_TRUE(lastMessage().contains("link")) << lastMessage().toStdString();
    }
    QString error;
    EXPECT_FALSE(pictures.writeBmp(Picture::fromImage(image), dir + "/out/dangle.bmp", &error));
    EXPECT_TRUE(error.contains("link")) << error.toStdString();
    EXPECT_EQ(entries(dir + "/real"), (QStringList{"target.bmp", "target.jpg"}));
    EXPECT_EQ(entries(dir + "/out"),
              (QStringList{"dangle.bmp", "dangle.jpg", "link.bmp", "link.jpg"}));
    EXPECT_EQ(g.imgView(0).toolTipText, dir + "/out/link.bmp");
}

// Names that are not UTF-8, hold a newline or are 250 bytes long keep their bytes from
// Save, the zoom window's Save and Save All to Browse and Open.
TEST_F(RealFiles, AnyFileNameKeepsItsBytesFromSaveToBrowseAndOpen) {
    const QByteArray folderBytes = QFile::encodeName(dir) + "/b-inv\xff"
                                                            "alid\nfolder";
    ASSERT_EQ(::mkdir(folderBytes.constData(), 0755), 0);
    const QString folder = decodeFileName(folderBytes);
    const auto long250 = [](QByteArray head, const char* ext) -> QByteArray {
        return head + QByteArray(250 - head.size() - 4, 'x') + ext;
    };
    const QByteArray jpegName = long250("b-inv\xff"
                                        "alid\nline",
                                        ".jpg");
    const QByteArray bmpName = long250("caf\xe9\n", ".bmp");
    const QByteArray zoomName = long250("zoom\xfe", ".bmp");
    const QImage image = screenLike(64, 40, 8);
    addPicture(image, decodeFileName(jpegName));
    save(folder + "/" + decodeFileName(jpegName));
    save(folder + "/" + decodeFileName(bmpName));
    QString error;
    EXPECT_TRUE(pictures.writeBmp(Picture::fromImage(image),
                                  folder + "/" + decodeFileName(zoomName), &error))
        << error.toStdString();
    saveAll(folder);
    ASSERT_EQ(fake.messages.shown.size(), 1u) << lastMessage().toStdString();
    EXPECT_EQ(lastMessage(), "Save all is done.");

    QList<QByteArray> names = rawEntries(folderBytes);
    ASSERT_EQ(names.size(), 4) << QByteArray(names.join(' ')).toHex().toStdString();
    EXPECT_TRUE(names.contains(jpegName) && names.contains(bmpName) && names.contains(zoomName));
    for (const QByteArray& name : names) {
        const Picture opened = pictures.load(folder + "/" + decodeFileName(name), &error);
        EXPECT_EQ(opened.width(), 64) << name.toHex().toStdString() << ": " << error.toStdString();
    }
    fake.dialogs.answers.push_back(folder);
    mnuFileBrowse_Click(env);
    EXPECT_EQ(fake.messages.shown.size(), 1u) << lastMessage().toStdString();
    ASSERT_EQ(g.ImageCount, 4);
    QList<QByteArray> browsed;
    for (int i = 0; i < 4; ++i)
        browsed.append(encodeFileName(g.imgView(i).toolTipText));
    std::sort(browsed.begin(), browsed.end());
    for (QByteArray& name : names)
        name.prepend(folderBytes + "/");
    EXPECT_EQ(browsed, names);
    QProcess::execute("rm", {"-rf", dir + "/"});
}
