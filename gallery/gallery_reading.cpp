#include "gallery/gallery_reading.h"

#include "commands/file_names.h"

namespace GalleryReading {

namespace {
bool isSelected(const Gallery& gallery, int index) {
    return gallery.shpSelected.visible && gallery.SelectedIndex == index;
}
} // namespace

QString entryCaption(const Gallery& gallery, int index) {
    const QString& text = gallery.imgView(index).toolTipText;
    return text.isEmpty() ? QStringLiteral("Image ") + QString::number(index + 1) : text;
}

QString entryName(const Gallery& gallery, int index) {
    const QString caption = entryCaption(gallery, index);
    if (!caption.contains(QLatin1Char('/')))
        return caption;
    // A folder alone ("/") keeps its whole path: it has no file name to say.
    const QString name = FileNames::fileNameOf(caption);
    return name.isEmpty() ? caption : name;
}

std::vector<ReadEntry> readEntries(const Gallery& gallery) {
    std::vector<ReadEntry> read;
    for (int i = 0; i <= gallery.topIndex(); ++i) {
        const Entry& e = gallery.imgView(i);
        if (!e.visible || e.isEmpty())
            continue;
        read.push_back({i, entryName(gallery, i), pictureSizeText(e.picture), isSelected(gallery, i)});
    }
    return read;
}

std::optional<QPoint> menuAnchor(const Gallery& gallery) {
    const int index = gallery.SelectedIndex;
    if (!gallery.shpSelected.visible || !gallery.exists(index))
        return std::nullopt;
    const Entry& e = gallery.imgView(index);
    return QPoint(e.left + e.width / 2, e.top + e.height / 2);
}

} // namespace GalleryReading
