// The gallery as the main window draws it and asks about it; the logic keeps it.
#pragma once

#include "pictures/picture.h"

#include <QString>
#include <cstdint>
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
};
