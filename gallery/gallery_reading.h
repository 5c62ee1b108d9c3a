// What a screen reader is told of the gallery: the entries it lists, their names and
// sizes, the one selected, and where the menu opens from the keyboard.
#pragma once

#include "gallery/gallery.h"

#include <QPoint>
#include <QString>
#include <optional>
#include <vector>

namespace GalleryReading {

/** The entry's name as the zoom window takes it for its caption: its tool-tip text,
    or "Image " and its number when that is empty. */
QString entryCaption(const Gallery& gallery, int index);

/** The caption, with a path reduced to the file's name. */
QString entryName(const Gallery& gallery, int index);

/** The entries that show a picture, in index order; empty ones are not listed. Only
    the entry framed as selected is selected: before the first selection and after
    Clear there is none. */
std::vector<ReadEntry> readEntries(const Gallery& gallery);

/** Where the menu opens from the keyboard, in client twips: the centre of the
    selected thumbnail; none (the window's centre) while nothing is selected. */
std::optional<QPoint> menuAnchor(const Gallery& gallery);

} // namespace GalleryReading
