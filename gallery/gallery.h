// The gallery entries and the main window's state that every command shares.
#pragma once

#include "gallery/placement.h"
#include "platform/gallery_view.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

class Gallery final : public GalleryView {
public:
    /** outerSize gives the main window's outer size in twips when asked. */
    explicit Gallery(std::function<OuterSize()> outerSize);

    // The main window's state, under the names the whole program uses.
    std::int16_t SelectedIndex = 0;
    std::int16_t ImageCount = 0;
    std::int16_t ThumbsPerRow = 0;
    bool StopLoading = false;
    bool IgnoreClipboard = false;
    std::int32_t LastWidth = 0;
    std::int32_t LastHeight = 0;
    std::int32_t LastLeft = 0;
    std::int32_t LastTop = 0;
    SelectionFrame shpSelected;

    /** Puts picture into entry ImageCount, creating it when needed. False when
        there was no room and the gallery started over at entry 0. */
    bool AddImage(const Picture& picture);
    /** Places every entry from 1 on again, stopping at the first without room. */
    void relayout();
    void SelectImage(std::int16_t index);

    int topIndex() const { return static_cast<int>(m_imgView.size()) - 1; }
    bool exists(int index) const { return index >= 0 && index <= topIndex(); }
    const Entry& imgView(int index) const { return m_imgView.at(index); }
    Entry& imgView(int index) { return m_imgView.at(index); }
    const std::vector<Entry>& entries() const override { return m_imgView; }
    const SelectionFrame& selectionFrame() const override { return shpSelected; }
    /** Where entries overlap (after the window shrank), the one showing a picture
        is drawn on top and takes the click. */
    int entryAt(int x, int y) const override;
    /** Every entry with a picture: made when it arrives, not when it is first drawn. */
    std::vector<int> entriesToKeep() const override;
    /** Named after the entry's file or its name, "Image n" when nothing of that is left. */
    QString dragFileName(int index) const override;
    std::vector<ReadEntry> readEntries() const override;
    std::optional<QPoint> menuAnchor() const override;

    /** Destroys the top entry; entry 0 is never destroyed. */
    void destroyTopEntry();

private:
    void CreateNextThumbnail();
    bool placeEntry(int i, OuterSize outer);

    std::function<OuterSize()> m_outerSize;
    std::vector<Entry> m_imgView;
};
