// The gallery entries and the main window's state that every command shares.
#pragma once

#include "gallery/placement.h"
#include "pictures/picture.h"

#include <QString>
#include <cstdint>
#include <functional>
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

class Gallery {
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
    const std::vector<Entry>& entries() const { return m_imgView; }

    /** Destroys the top entry; entry 0 is never destroyed. */
    void destroyTopEntry();

private:
    void CreateNextThumbnail();
    bool placeEntry(int i, OuterSize outer);

    std::function<OuterSize()> m_outerSize;
    std::vector<Entry> m_imgView;
};
