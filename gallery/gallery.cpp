#include "gallery/gallery.h"

#include "commands/file_names.h"
#include "gallery/gallery_reading.h"
#include "platform/units.h"

#include <limits>

namespace {
// ImageCount, a 16-bit counter, runs one past the top index.
constexpr int kMaxIndex = std::numeric_limits<std::int16_t>::max() - 1;
} // namespace

Gallery::Gallery(std::function<OuterSize()> outerSize)
    : m_outerSize(std::move(outerSize)), m_imgView(1) {}

bool Gallery::AddImage(const Picture& picture) {
    bool result = true;
    if (ImageCount > topIndex()) {
        CreateNextThumbnail();
        if (ImageCount == 0)
            result = false;
    }
    if (exists(ImageCount))
        m_imgView[ImageCount].picture = picture;
    ++ImageCount;
    return result;
}

void Gallery::CreateNextThumbnail() {
    const int n = topIndex() + 1;
    if (n > kMaxIndex) {
        // No index left for another entry: start over as if the window were full.
        ImageCount = 0;
        return;
    }
    Entry created = m_imgView[0];
    created.picture = Picture();
    created.toolTipText.clear();
    created.visible = false;
    m_imgView.push_back(created);
    if (!placeEntry(n, m_outerSize())) {
        // An entry without a place would lie hidden under the others and hold its
        // picture for ever: the gallery keeps only entries that have a place.
        m_imgView.pop_back();
        ImageCount = 0;
        return;
    }
    ImageCount = static_cast<std::int16_t>(n);
    m_imgView[n].visible = true;
}

bool Gallery::placeEntry(int i, OuterSize outer) {
    Entry& entry = m_imgView[i];
    const Entry& previous = m_imgView[i - 1];
    const auto place = placeAfter({previous.left, previous.top}, entry.width, entry.height,
                                  m_imgView[0].left, i, outer, ThumbsPerRow);
    if (!place)
        return false;
    entry.left = place->left;
    entry.top = place->top;
    return true;
}

void Gallery::relayout() {
    ThumbsPerRow = 0;
    const OuterSize outer = m_outerSize();
    for (int i = 1; i <= topIndex(); ++i) {
        if (!placeEntry(i, outer))
            break;
    }
}

void Gallery::SelectImage(std::int16_t index) {
    // An index that names no entry is stored; the frame stays where it was.
    if (exists(index)) {
        shpSelected.left = m_imgView[index].left - 30;
        shpSelected.top = m_imgView[index].top - 30;
    }
    SelectedIndex = index;
    shpSelected.visible = true;
}

void Gallery::destroyTopEntry() {
    if (topIndex() > 0)
        m_imgView.pop_back();
}

int Gallery::entryAt(int x, int y) const {
    int emptyHit = -1;
    for (int i = topIndex(); i >= 0; --i) {
        const Entry& e = m_imgView[i];
        // In whole pixels, as the window draws the entry.
        const int left = twipsToPixels(e.left), top = twipsToPixels(e.top);
        if (!e.visible || x < left || y < top || x >= left + twipsToPixels(e.width) ||
            y >= top + twipsToPixels(e.height))
            continue;
        if (!e.isEmpty())
            return i;
        if (emptyHit < 0)
            emptyHit = i;
    }
    return emptyHit;
}

std::vector<int> Gallery::entriesToKeep() const {
    std::vector<int> kept;
    for (int i = 0; i <= topIndex(); ++i) {
        if (!m_imgView[i].isEmpty())
            kept.push_back(i);
    }
    return kept;
}

QString Gallery::dragFileName(int index) const {
    return FileNames::dragFileName(imgView(index).toolTipText,
                                   QStringLiteral("Image %1").arg(index + 1));
}

std::vector<ReadEntry> Gallery::readEntries() const { return GalleryReading::readEntries(*this); }

std::optional<QPoint> Gallery::menuAnchor() const { return GalleryReading::menuAnchor(*this); }
