#include "commands/file_names.h"

#include <gtest/gtest.h>

using namespace FileNames;

TEST(FileNames, ProposalDropsFourCharactersWhateverTheyAre) {
    EXPECT_EQ(proposedName("Image 12", ".jpg"), "Imag.jpg");
    EXPECT_EQ(proposedName("Image 3", ".jpg"), "Ima.jpg");
    EXPECT_EQ(proposedName("/home/u/shot.bmp", ".jpg"), "/home/u/shot.jpg");
    EXPECT_EQ(proposedName("/home/u/shot.jpg", ".jpg"), "/home/u/shot.jpg");
    EXPECT_EQ(proposedName("abcd", ".jpg"), ".jpg");
    EXPECT_EQ(proposedName("abc", ".jpg"), "") << "too short: no name can be formed";
    EXPECT_EQ(proposedName("", ".jpg"), "");
    EXPECT_EQ(proposedName("Image 3", ".bmp"), "Ima.bmp");
}

TEST(FileNames, ExtensionIsTheLastFourCharactersInLowerCase) {
    EXPECT_EQ(extensionOf("/d/A.JPG"), ".jpg");
    EXPECT_EQ(extensionOf("/d/a.Bmp"), ".bmp");
    EXPECT_EQ(extensionOf("/d/a.jpeg"), "jpeg");
    EXPECT_EQ(extensionOf("/d/photo"), "hoto");
    EXPECT_EQ(extensionOf("ab"), "ab");
}

TEST(FileNames, FoldersAndNames) {
    EXPECT_EQ(folderOf("/a.jpg"), "/");
    EXPECT_EQ(folderOf("/home/u/a.jpg"), "/home/u");
    EXPECT_EQ(fileNameOf("/home/u/a.jpg"), "a.jpg");
    EXPECT_EQ(withTrailingSlash("/"), "/");
    EXPECT_EQ(withTrailingSlash("/home/u"), "/home/u/");
    EXPECT_EQ(withTrailingSlash("/home/u/"), "/home/u/");
}

TEST(FileNames, SecondsHaveSevenSignificantDigitsAndNoExponent) {
    EXPECT_EQ(formatSeconds(52345.67f, "."), "52345.67");
    EXPECT_EQ(formatSeconds(52345.67f, ","), "52345,67");
    EXPECT_EQ(formatSeconds(12345.678f, "."), "12345.68") << "rounded to seven digits";
    EXPECT_EQ(formatSeconds(60.0f, "."), "60") << "no trailing point or zeros";
    EXPECT_EQ(formatSeconds(5.25f, "."), "5.25");
    EXPECT_EQ(formatSeconds(0.5f, "."), "0.5");
    EXPECT_EQ(formatSeconds(0.0f, "."), "0");
    EXPECT_EQ(formatSeconds(0.001f, "."), "0.001");
    EXPECT_EQ(formatSeconds(0.00001f, "."), "0.00001") << "no exponent for small values";
    EXPECT_EQ(formatSeconds(86399.999f, "."), "86400") << "rounding carries into the integer";
    EXPECT_EQ(formatSeconds(9.9999999f, "."), "10");
    EXPECT_EQ(formatSeconds(1.1f, "."), "1.1") << "single precision, not its double expansion";
}

TEST(FileNames, SaveAllNames) {
    const QDateTime at(QDate(2026, 12, 6), QTime(14, 32, 25, 670));
    EXPECT_EQ(saveAllBaseName("/tmp/shots/", 2, at, "."), "/tmp/shots/image_3_12-06-2026_52345.67");
    EXPECT_EQ(saveAllBaseName("/tmp/shots", 0, at, "."), "/tmp/shots/image_1_12-06-2026_52345.67");
    EXPECT_EQ(saveAllBaseName("/", 11, at, ","), "/image_12_12-06-2026_52345,67");
    const QDateTime midnight(QDate(2027, 1, 2), QTime(0, 0, 0, 0));
    EXPECT_EQ(saveAllBaseName("/d/", 0, midnight, "."), "/d/image_1_01-02-2027_0");
    const QDateTime late(QDate(2026, 3, 9), QTime(23, 59, 59, 999));
    EXPECT_EQ(saveAllBaseName("/d/", 0, late, "."), "/d/image_1_03-09-2026_86400");
}

TEST(FileNames, DraggedFilesAreNamedAfterTheEntryAndSafeAnywhere) {
    EXPECT_EQ(dragFileName("Image 3", "Image 3"), "Image 3.png");
    EXPECT_EQ(dragFileName("/home/u/shot.final.jpg", "Image 1"), "shot.final.png");
    EXPECT_EQ(dragFileName("/home/u/a:b*c?\"<>|\\d\t.bmp", "Image 1"), "a_b_c______d_.png");
    EXPECT_EQ(dragFileName("/home/u/..hidden", "Image 2"), "Image 2.png") << "nothing but a hidden name";
    EXPECT_EQ(dragFileName("/home/u/.profile.bmp", "Image 2"), "profile.png");
    EXPECT_EQ(dragFileName("/home/u/ trailing . .jpg", "Image 2"), "trailing.png");
    EXPECT_EQ(dragFileName("/home/u/", "Image 4"), "Image 4.png");
    EXPECT_EQ(dragFileName("", "Image 5"), "Image 5.png");
    // Cut on a whole character, within the file system's 255 bytes.
    const QString longName = QString(300, QChar(0x00e9)) + QStringLiteral(".jpg");
    const QString cut = dragFileName(longName, "Image 1");
    EXPECT_LE(cut.toUtf8().size(), 255);
    EXPECT_EQ(cut, QString(100, QChar(0x00e9)) + ".png");
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    const QString cutPairs = dragFileName(QString(emoji).repeated(60) + ".jpg", "Image 1");
    EXPECT_EQ(cutPairs, QString(emoji).repeated(50) + ".png") << "no half of a surrogate pair";
}
