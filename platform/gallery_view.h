// The gallery as the main window draws it and asks about it; the logic keeps it.
#pragma once

#include "pictures/picture.h"

#include <QPoint>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

/** One thumbnail of the array imgView. Positions and sizes in twips. */
struct Entry {
    Picture picture;
    QString toolTipText;
    std::int32_t left = 30;
    std::int32_t top = 45;
    std::int32_t width = 1110;
    std::int32_t height = 870;
    bool visible = true;

    bool isEmpty() const { return picture.isEmpty(); }
};

/** The selection frame: 60 twips larger than a thumbnail, drawn beneath them. */
struct SelectionFrame {
    static constexpr std::int32_t width = 1170;
    static constexpr std::int32_t height = 930;
    std::int32_t left = 0;
    std::int32_t top = 15;
    bool visible = false;
};

/** One thumbnail as a screen reader lists it. */
struct ReadEntry {
    int index = 0;
    QString name;
    /** Its size, as pictureSizeText gives it. */
    QString description;
    bool selected = false;
    bool operator==(const ReadEntry&) const = default;
};

/** What a screen reader says of a picture besides its name: "1920 × 1080 pixels";
    empty for an empty picture. */
QString pictureSizeText(const Picture& picture);

class GalleryView {
public:
    virtual ~GalleryView() = default;
    virtual const std::vector<Entry>& entries() const = 0;
    virtual const SelectionFrame& selectionFrame() const = 0;
    /** The entry that takes a click at a client position in pixels; -1 for none. */
    virtual int entryAt(int x, int y) const = 0;
    /** The entries whose thumbnails and packed forms are to be made now. */
    virtual std::vector<int> entriesToKeep() const = 0;
    /** The file name a drag of entry index hands to a program that takes files. */
    virtual QString dragFileName(int index) const = 0;
    /** The entries that show a picture, in index order, as a screen reader lists them;
        empty ones are not listed. Only the entry framed as selected is selected. */
    virtual std::vector<ReadEntry> readEntries() const = 0;
    /** Where the menu opens from the keyboard, in client twips: the centre of the
        selected thumbnail; none (the window's centre) while nothing is selected. */
    virtual std::optional<QPoint> menuAnchor() const = 0;
};
