#include "integration/viewer_support.h"

#include <QDir>
#include <QFileDialog>
#include <QImageReader>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

bool isBmpOf(const QString& path, QSize size) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.format() == "bmp" && reader.size() == size;
}

bool run(const QString& program, const QStringList& args) {
    return QProcess::execute(program, args) == 0;
}

struct ZoomSaveFixture : ::testing::Test {
    QTemporaryDir tmp;
    QString dir;
    QStringList mounts;
    const Picture picture = solidPicture(64, 48, 0xff8040c0);

    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        dir = tmp.path() + QStringLiteral("/Ablage für Bilder");
        ASSERT_TRUE(QDir().mkpath(dir));
    }
    void TearDown() override {
        for (const QString& m : mounts)
            run(QStringLiteral("umount"), {m});
    }
    /** A small file system of its own; false where mounting is not allowed. */
    bool mountTmpfs(const QString& at, const QString& options) {
        if (!QDir().mkpath(at) ||
            !run(QStringLiteral("mount"),
                 {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"), options,
                  QStringLiteral("tmpfs"), at}))
            return false;
        mounts.prepend(at);
        return true;
    }
    formZoom& open(ViewerRig& rig, const QString& caption) {
        rig.host.showInZoom(picture, caption, 0);
        EXPECT_TRUE(waitFor([&] { return rig.lastZoom()->isVisible(); }));
        return *rig.host.viewers()->LastZoom();
    }
};
} // namespace

TEST_F(ZoomSaveFixture, MenuSaveWritesABmpUnderExactlyTheChosenName) {
    ViewerRig rig;
    formZoom& zoom = open(rig, QStringLiteral("Image 12"));
    ZoomWindow* window = rig.lastZoom();

    // Right button released on the picture: the menu with its one entry.
    QStringList entries;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        poll.stop();
        for (QAction* a : menu->actions())
            entries << a->text();
        menu->setActiveAction(menu->actions().value(0));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(menu, &enter);
    });
    poll.start(10);
    rig.dialogs.answers = {dir + QStringLiteral("/shot.png")};
    ImageView& view = window->imageView();
    const QPoint at = view.rect().center();
    QMouseEvent up(QEvent::MouseButtonRelease, at, view.mapToGlobal(at), Qt::RightButton,
                   Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &up);
    EXPECT_EQ(entries, QStringList{QStringLiteral("&Save...")});
    ASSERT_EQ(rig.dialogs.calls.size(), 1u);
    EXPECT_EQ(rig.dialogs.calls[0].defaultName, QStringLiteral("Imag.bmp"));
    EXPECT_EQ(rig.dialogs.calls[0].owner, dynamic_cast<IWindow*>(window));
    EXPECT_TRUE(isBmpOf(dir + QStringLiteral("/shot.png"), QSize(64, 48)));

    rig.dialogs.answers = {dir + QStringLiteral("/ohne Endung")};
    zoom.mnuFileSave_Click();
    EXPECT_TRUE(isBmpOf(dir + QStringLiteral("/ohne Endung"), QSize(64, 48)));
    EXPECT_EQ(QDir(dir).entryList(QDir::Files).size(), 2);
    EXPECT_TRUE(rig.messages.shown.empty());
}

TEST_F(ZoomSaveFixture, FailedWritesKeepTheOldFileAndSayWhereAndWhy) {
    const QString full = tmp.path() + QStringLiteral("/voll");
    const QString readOnly = tmp.path() + QStringLiteral("/nur lesen");
    if (!mountTmpfs(full, QStringLiteral("size=64k")) ||
        !mountTmpfs(readOnly, QStringLiteral("size=64k")))
        GTEST_SKIP() << "mounting a tmpfs needs root";
    writeFile(full + QStringLiteral("/alt.bmp"), "the old picture");
    writeFile(readOnly + QStringLiteral("/alt.bmp"), "the old picture");
    ASSERT_TRUE(run(QStringLiteral("mount"),
                    {QStringLiteral("-o"), QStringLiteral("remount,ro"), readOnly}));

    ViewerRig rig;
    // 1000 x 1000 pixels make a BMP of 3 MB, far more than the 64 KB disk holds.
    rig.host.showInZoom(solidPicture(1000, 1000), QStringLiteral("Image 1"), 0);
    formZoom& zoom = *rig.host.viewers()->LastZoom();
    const struct {
        QString path;
        QString reason;
    } cases[] = {{full + QStringLiteral("/alt.bmp"), QStringLiteral("No space left on device")},
                 {readOnly + QStringLiteral("/alt.bmp"), QStringLiteral("not writable")},
                 {readOnly + QStringLiteral("/neu.bmp"), QStringLiteral("Read-only file system")}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        rig.messages.shown.clear();
        rig.dialogs.answers = {c.path};
        zoom.mnuFileSave_Click();
        ASSERT_EQ(rig.messages.shown.size(), 1u);
        const QString text = rig.messages.shown[0].text;
        EXPECT_EQ(rig.messages.shown[0].kind, QStringLiteral("warning"));
        EXPECT_TRUE(text.contains(c.path)) << text.toStdString();
        EXPECT_TRUE(text.contains(c.reason)) << text.toStdString();
        const QString old = QFileInfo(c.path).path() + QStringLiteral("/alt.bmp");
        EXPECT_EQ(readAll(old), QByteArray("the old picture"));
        // Nothing is left beside it: no temporary file, no new one.
        EXPECT_EQ(QDir(QFileInfo(c.path).path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("alt.bmp")});
    }
}

TEST_F(ZoomSaveFixture, SaveThroughTheRealDialogProposesTheCaptionsFolderAndName) {
    QtPlatform qt;
    FakeMessageBox messages;
    Platform platform{qt.clipboard, qt.clock, qt.files,   qt.pictures, qt.dialogs,
                      messages,     qt.shell, qt.printer, qt.converter};
    ViewerRig rig(&platform);
    formZoom& zoom = open(rig, dir + QStringLiteral("/desk.jpg"));

    QString folder, proposed;
    ModalDriver driver;
    driver
        .then<QFileDialog>([&](QFileDialog& d) {
            folder = d.directory().absolutePath();
            auto* edit = d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_TRUE(edit);
            proposed = edit->text();
            edit->setText(QStringLiteral("Ergebnis ü"));
            static_cast<QDialog&>(d).accept();
        })
        .then<QMessageBox>([](QMessageBox& box) { box.button(QMessageBox::Yes)->click(); });
    driver.start();
    zoom.mnuFileSave_Click();
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(folder, dir);
    EXPECT_EQ(proposed, QStringLiteral("desk.bmp"));
    EXPECT_TRUE(isBmpOf(dir + QStringLiteral("/Ergebnis ü"), QSize(64, 48)));
    EXPECT_TRUE(messages.shown.empty());
}
