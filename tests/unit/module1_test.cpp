#include "dialogs/module1.h"
#include "fakes/fake_platform.h"

#include <gtest/gtest.h>

TEST(Module1, FilterPairsWithOrWithoutTheClosingBar) {
    const QList<FileFilter> two{
        {QStringLiteral("JPEG Image (*.jpg)"), {QStringLiteral("*.jpg")}},
        {QStringLiteral("Bitmap Image (*.bmp)"), {QStringLiteral("*.bmp")}}};
    EXPECT_EQ(Module1::convertFilter(
                  QStringLiteral("JPEG Image (*.jpg)|*.jpg|Bitmap Image (*.bmp)|*.bmp")),
              two);
    // Already closed by "|": no empty pair.
    EXPECT_EQ(Module1::convertFilter(
                  QStringLiteral("JPEG Image (*.jpg)|*.jpg|Bitmap Image (*.bmp)|*.bmp|")),
              two);
    const QList<FileFilter> all =
        Module1::convertFilter(QStringLiteral("All Graphics|*.bmp;*.gif;*.jpg;*.rle;*.emf;*.wmf"));
    ASSERT_EQ(all.size(), 1);
    EXPECT_EQ(all[0].masks.size(), 6);
    EXPECT_EQ(all[0].masks[5], QStringLiteral("*.wmf"));
}

TEST(Module1, WrappersPassTheirArgumentsAndCutTheDefaultName) {
    FakeDialogs dialogs;
    FakeMainWindow owner;
    dialogs.answers = {QStringLiteral("/a b/ü.bmp"), QString(), QStringLiteral("/x y")};
    const QString longName(300, QLatin1Char('n'));
    EXPECT_EQ(Module1::ShowSaveDialog(dialogs, &owner, QStringLiteral("B|*.bmp"),
                                      QStringLiteral("Save Image"), QString(), longName),
              QStringLiteral("/a b/ü.bmp"));
    EXPECT_EQ(dialogs.calls[0].defaultName, longName.left(254));
    EXPECT_EQ(dialogs.calls[0].owner, &owner);
    EXPECT_EQ(Module1::ShowOpenDialog(dialogs, &owner, QStringLiteral("A|*.bmp"),
                                      QStringLiteral("Open Image"), QString()),
              QString());
    EXPECT_EQ(dialogs.calls[1].kind, QStringLiteral("open"));
    // The prompt first, the owner second.
    EXPECT_EQ(Module1::BrowseForFolder(dialogs, QStringLiteral("Select:"), &owner),
              QStringLiteral("/x y"));
    EXPECT_EQ(dialogs.calls[2].title, QStringLiteral("Select:"));
    EXPECT_EQ(dialogs.calls[2].owner, &owner);
}

TEST(Module1, FileExistsOnlyForFilesWithBytes) {
    FakeFileSystem files;
    files.files[QStringLiteral("/t/empty.jpg")] = QByteArray();
    files.files[QStringLiteral("/t/full.jpg")] = QByteArray("x");
    EXPECT_FALSE(Module1::FileExists(files, QStringLiteral("/t/empty.jpg")));
    EXPECT_TRUE(Module1::FileExists(files, QStringLiteral("/t/full.jpg")));
    EXPECT_FALSE(Module1::FileExists(files, QStringLiteral("/t/missing.jpg")));
    EXPECT_FALSE(Module1::FileExists(files, QString()));
}
