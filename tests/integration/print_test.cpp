// Print on a real CUPS server whose default destination is the cups-pdf
// printer; the printed page is read back with poppler's tools.
#include "commands/commands.h"
#include "commands/print_layout.h"
#include "fakes/fake_platform.h"
#include "platform/qt/qt_platform.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    int code = -1;
    QString out;
};

Outcome run(const QString& program, const QStringList& args,
            const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput())};
}

QString scriptFolder() {
    return QFileInfo(QStringLiteral(__FILE__)).absolutePath();
}

// A job title of this test's own, so parallel runs keep their pages apart.
QString jobTitle(const char* what) {
    return QStringLiteral("PictavoTest%1%2")
        .arg(QLatin1String(what))
        .arg(QCoreApplication::applicationPid());
}

QStringList pdfsOf(const QString& folder, const QString& title) {
    return QDir(folder).entryList({title + "*.pdf"}, QDir::Files, QDir::Name);
}

// Waits until the job's PDF is there, CUPS has no job left and the PDF reads.
QString waitForPdf(const QString& folder, const QString& title) {
    QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired()) {
        const QStringList found = pdfsOf(folder, title);
        if (!found.isEmpty() && run("lpstat", {"-o", "PDF"}).out.trimmed().isEmpty()) {
            const QString path = folder + "/" + found.last();
            if (run("pdfinfo", {path}).code == 0)
                return path;
        }
        QThread::msleep(50);
    }
    return {};
}

// The bounding box of the picture's colour on the page rendered at dpi.
QRect findColour(const QImage& page, QRgb colour) {
    QRect box;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb p = page.pixel(x, y);
            if (std::abs(qRed(p) - qRed(colour)) < 40 &&
                std::abs(qGreen(p) - qGreen(colour)) < 40 &&
                std::abs(qBlue(p) - qBlue(colour)) < 40)
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

struct Printed {
    QString pdf;
    PrintPlacement at;
};

class CupsPrint : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const Outcome started = run("sh", {scriptFolder() + "/start_cups.sh"});
        ASSERT_EQ(started.code, 0) << "start_cups.sh failed";
        s_output = started.out.trimmed().split('\n').last();
        ASSERT_TRUE(QDir(s_output).exists()) << s_output.toStdString();
    }

    FakePlatform fake;
    FakeMainWindow window;
    Gallery g{[] { return OuterSize{9600, 7200}; }};

    // Prints the selected entry through the command, after adding picture when
    // there is one; the placement the command must use.
    Printed print(const Picture& picture, const QString& title) {
        QtPrinter printer(title);
        Platform platform{fake.clipboard, fake.clock, fake.files, fake.pictures, fake.dialogs,
                          fake.messages,  fake.shell, printer,    fake.converter};
        CommandEnv env{g, window, platform};
        if (!picture.isNull()) {
            g.AddImage(picture);
            g.SelectImage(std::int16_t(g.ImageCount - 1));
        }
        float w = 0, h = 0;
        QtPrinter probe;
        EXPECT_TRUE(probe.pageSizeTwips(&w, &h));
        probe.endDocument();
        g.IgnoreClipboard = true;
        mnuFilePrint_Click(env);
        EXPECT_FALSE(g.IgnoreClipboard);
        if (picture.isNull())
            return {};
        return {waitForPdf(s_output, title), fitToPage(w, h, picture.width(), picture.height())};
    }

    // Checks that the page holds exactly the picture, where the fit put it.
    void expectOnPage(const Printed& printed, QSize pictureSize, QRgb colour) {
        ASSERT_FALSE(printed.pdf.isEmpty()) << "no PDF came out";
        const Outcome info = run("pdfinfo", {printed.pdf});
        EXPECT_TRUE(info.out.contains(QRegularExpression("Pages:\\s+1\\n")))
            << info.out.toStdString();

        const Outcome images = run("pdfimages", {"-list", printed.pdf});
        const QStringList rows = images.out.trimmed().split('\n').mid(2);
        ASSERT_EQ(rows.size(), 1) << images.out.toStdString();
        const QStringList cols = rows[0].simplified().split(' ');
        EXPECT_EQ(cols[3].toInt(), pictureSize.width());
        EXPECT_EQ(cols[4].toInt(), pictureSize.height());

        // Rendered at 144 dpi: two pixels per point, 1/10 pixel per twip.
        QTemporaryDir tmp;
        ASSERT_EQ(
            run("pdftoppm", {"-r", "144", "-png", "-singlefile", printed.pdf, tmp.path() + "/page"})
                .code,
            0);
        const QImage page(tmp.path() + "/page.png");
        ASSERT_FALSE(page.isNull());
        const QRect box = findColour(page, colour);
        QPrinter reference(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
        const QRectF area = reference.pageRect(QPrinter::Point);
        const double toPixels = 144.0 / 72.0;
        const QRectF expected((area.x() + printed.at.x / 20.0) * toPixels,
                              (area.y() + printed.at.y / 20.0) * toPixels,
                              printed.at.width / 20.0 * toPixels,
                              printed.at.height / 20.0 * toPixels);
        SCOPED_TRACE(testing::Message()
                     << "found " << box.x() << "," << box.y() << " " << box.width() << "x"
                     << box.height() << ", expected " << expected.x() << "," << expected.y() << " "
                     << expected.width() << "x" << expected.height());
        EXPECT_NEAR(box.left(), expected.left(), 1.5);
        EXPECT_NEAR(box.top(), expected.top(), 1.5);
        EXPECT_NEAR(box.right() + 1, expected.right(), 1.5);
        EXPECT_NEAR(box.bottom() + 1, expected.bottom(), 1.5);
        QFile::remove(printed.pdf);
    }

    static inline QString s_output;
};

} // namespace

TEST_F(CupsPrint, WidePictureFillsTheWidthAndIsCentredVertically) {
    const Printed printed = print(solidPicture(800, 200, 0xffe01010), jobTitle("Wide"));
    EXPECT_EQ(printed.at.x, 0);
    EXPECT_GT(printed.at.y, 0);
    expectOnPage(printed, {800, 200}, 0xffe01010);
}

TEST_F(CupsPrint, TallPictureFillsTheHeightAndIsCentredHorizontally) {
    const Printed printed = print(solidPicture(100, 400, 0xff1030d0), jobTitle("Tall"));
    EXPECT_EQ(printed.at.y, 0);
    EXPECT_GT(printed.at.x, 0);
    expectOnPage(printed, {100, 400}, 0xff1030d0);
}

TEST_F(CupsPrint, EntryWithoutAPictureSendsNoJob) {
    const QString title = jobTitle("Empty");
    g.SelectedIndex = 0; // the empty entry 0
    print(Picture(), title);
    // CUPS runs one printer's jobs in order: a page from the empty print
    // would be there before the one of this later job.
    const Printed printed = print(solidPicture(300, 300, 0xff10a010), title);
    ASSERT_FALSE(printed.pdf.isEmpty());
    EXPECT_EQ(pdfsOf(s_output, title).size(), 1) << "only the page with a picture";
    expectOnPage(printed, {300, 300}, 0xff10a010);
}

// Run in a child process whose CUPS server does not exist (below).
TEST(NoPrinter, DISABLED_PrintDoesNothing) {
    QtPrinter printer;
    float w = -1, h = -1;
    EXPECT_FALSE(printer.pageSizeTwips(&w, &h));
    EXPECT_FALSE(printer.drawPicture(solidPicture(10, 10), 0, 0, 100, 100));
    EXPECT_FALSE(printer.endDocument());

    FakePlatform fake;
    Platform platform{fake.clipboard, fake.clock, fake.files, fake.pictures, fake.dialogs,
                      fake.messages,  fake.shell, printer,    fake.converter};
    FakeMainWindow window;
    Gallery g{[] { return OuterSize{9600, 7200}; }};
    g.AddImage(solidPicture(40, 30));
    CommandEnv env{g, window, platform};
    g.IgnoreClipboard = true;
    mnuFilePrint_Click(env);
    EXPECT_FALSE(g.IgnoreClipboard);
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST(NoPrinter, PrintWithoutAnyPrinterDoesNothing) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CUPS_SERVER", "127.0.0.1:9"); // nothing listens there
    const Outcome child = run(
        QCoreApplication::applicationFilePath(),
        {"--gtest_also_run_disabled_tests", "--gtest_filter=NoPrinter.DISABLED_PrintDoesNothing"},
        env);
    EXPECT_EQ(child.code, 0) << child.out.toStdString();
    EXPECT_TRUE(child.out.contains("[  PASSED  ] 1 test")) << child.out.toStdString();
}
