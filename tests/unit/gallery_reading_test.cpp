#include "fakes/fake_platform.h"
#include "gallery/gallery_reading.h"

#include <gtest/gtest.h>
#include <ostream>

void PrintTo(const ReadEntry& e, std::ostream* os) {
    *os << "{" << e.index << ", " << e.name.toStdString() << ", " << e.description.toStdString()
        << (e.selected ? ", selected}" : "}");
}

using namespace GalleryReading;

TEST(GalleryReading, ListsFilledEntriesByNameAndTheFramedOneAsSelected) {
    Gallery g{[] { return OuterSize{9480 + 120, 6795 + 405}; }};
    for (int i = 0; i < 4; ++i)
        g.AddImage(solidPicture(800, 450));
    g.imgView(0).toolTipText = QStringLiteral("Image 1");
    g.imgView(1).picture = Picture(); // an empty entry is not listed
    g.imgView(3).toolTipText = QStringLiteral("/home/u/shots/desk.png");
    const QString size = QStringLiteral("800 × 450 pixels");

    // Before the first selection nothing is selected, though the commands act on entry 0.
    std::vector<ReadEntry> expected{{0, QStringLiteral("Image 1"), size, false},
                                    {2, QStringLiteral("Image 3"), size, false},
                                    {3, QStringLiteral("desk.png"), size, false}};
    EXPECT_EQ(readEntries(g), expected);
    EXPECT_FALSE(menuAnchor(g)) << "nothing selected: the window's centre";

    g.SelectImage(3);
    expected[2].selected = true;
    EXPECT_EQ(readEntries(g), expected);
    EXPECT_EQ(entryCaption(g, 3), QStringLiteral("/home/u/shots/desk.png"));
    // The centre of entry 3 (Left 3540, Top 45, 1110 x 870 twips).
    EXPECT_EQ(menuAnchor(g), QPoint(3540 + 555, 45 + 435));

    // A right click selects an empty entry: no item is selected, the menu opens there.
    g.SelectImage(1);
    expected[2].selected = false;
    EXPECT_EQ(readEntries(g), expected);
    EXPECT_EQ(menuAnchor(g), QPoint(1200 + 555, 45 + 435));

    // After Clear the frame is hidden: nothing is selected, whatever SelectedIndex says.
    g.shpSelected.visible = false;
    EXPECT_FALSE(menuAnchor(g));
    EXPECT_EQ(pictureSizeText(Picture()), QString());
}
