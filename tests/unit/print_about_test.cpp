#include "commands/commands.h"
#include "fakes/fake_platform.h"

#include <gtest/gtest.h>

namespace {
struct CommandFixture : ::testing::Test {
    FakePlatform fake;
    FakeMainWindow window;
    Gallery g{[] { return OuterSize{9600, 7200}; }};
    CommandEnv env{g, window, fake.platform};
};
} // namespace

TEST_F(CommandFixture, PrintFitsTheSelectedPictureOnOnePage) {
    g.AddImage(solidPicture(40, 30));
    const Picture tall = solidPicture(100, 400);
    g.AddImage(tall);
    g.SelectImage(1);
    g.IgnoreClipboard = true;
    mnuFilePrint_Click(env);
    ASSERT_EQ(fake.printer.drawn.size(), 1u);
    const auto& d = fake.printer.drawn[0];
    EXPECT_TRUE(d.picture.sameAs(tall));
    EXPECT_EQ(d.x, 3780);
    EXPECT_EQ(d.y, 0);
    EXPECT_EQ(d.w, 3960);
    EXPECT_EQ(d.h, 15840);
    EXPECT_EQ(fake.printer.documentsEnded, 1);
    EXPECT_FALSE(g.IgnoreClipboard);
}

TEST_F(CommandFixture, PictureThatCannotBeDrawnIsToldNotPrintedBlank) {
    g.AddImage(solidPicture(40, 30));
    g.SelectImage(0);
    fake.printer.failDrawing = true;
    mnuFilePrint_Click(env);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].kind, "warning");
    EXPECT_TRUE(fake.messages.shown[0].text.startsWith("The picture could not be printed"));
    EXPECT_FALSE(g.IgnoreClipboard);
}

TEST_F(CommandFixture, PrintWithoutAPictureOrAPrinterDrawsNothing) {
    // Entry 0 after Clear, then an index naming no entry.
    for (std::int16_t index : {std::int16_t(0), std::int16_t(3)}) {
        g.SelectedIndex = index;
        g.IgnoreClipboard = true;
        mnuFilePrint_Click(env);
        EXPECT_TRUE(fake.printer.drawn.empty());
        EXPECT_FALSE(g.IgnoreClipboard);
    }
    EXPECT_EQ(fake.printer.documentsEnded, 2) << "the document is ended with nothing on it";

    g.AddImage(solidPicture(40, 30));
    g.SelectImage(0);
    fake.printer.present = false;
    g.IgnoreClipboard = true;
    mnuFilePrint_Click(env);
    EXPECT_TRUE(fake.printer.drawn.empty());
    EXPECT_FALSE(g.IgnoreClipboard);
    EXPECT_TRUE(fake.messages.shown.empty());
}

namespace {
// Records how many addresses had been opened when the box was shown.
class OrderedMessageBox final : public IMessageBox {
public:
    FakeShell& shell;
    FakeMessageBox inner;
    int openedBefore = -1;
    explicit OrderedMessageBox(FakeShell& s) : shell(s) {}
    void information(IWindow* o, const QString& text, const QString& title) override {
        openedBefore = int(shell.opened.size());
        inner.information(o, text, title);
    }
    void warning(IWindow* o, const QString& text, const QString& title) override {
        inner.warning(o, text, title);
    }
};
} // namespace

TEST_F(CommandFixture, AboutShowsFourLinesThenOpensTheFirstAddress) {
    OrderedMessageBox box(fake.shell);
    Platform p = fake.platform;
    Platform platform{p.clipboard, p.clock, p.files,   p.pictures, p.dialogs,
                      box,         p.shell, p.printer, p.converter};
    CommandEnv aboutEnv{g, window, platform};
    window.title = QStringLiteral("Pictavo");
    mnuAbout_Click(aboutEnv);

    ASSERT_EQ(box.inner.shown.size(), 1u);
    const auto& shown = box.inner.shown[0];
    EXPECT_EQ(shown.kind, "information");
    EXPECT_EQ(shown.title, "Pictavo") << "the caption at that moment";
    const QStringList lines = shown.text.split("\r\n");
    ASSERT_EQ(lines.size(), 4) << shown.text.toStdString();
    EXPECT_TRUE(lines[0].contains("copyright", Qt::CaseInsensitive));
    EXPECT_TRUE(lines[0].contains("Pictavo"));
    EXPECT_EQ(lines[1], "");
    EXPECT_TRUE(lines[2].startsWith("https://"));
    EXPECT_TRUE(lines[3].startsWith("https://"));
    EXPECT_NE(lines[2], lines[3]);
    EXPECT_EQ(box.openedBefore, 0) << "the page opens after the box is closed";
    EXPECT_EQ(fake.shell.opened, QStringList{lines[2]});
}
