// The gallery as a screen reader sees it: the main window holds a list whose items
// are the thumbnails that show a picture, and the viewers' pictures carry names.
#pragma once

#include "platform/gallery_view.h"

#include <QAccessible>
#include <map>
#include <vector>

class CaptureWindow;

/** What a screen reader was told of the main window's gallery; tells it what changed. */
class GalleryAccessibility final {
public:
    explicit GalleryAccessibility(CaptureWindow& window);
    ~GalleryAccessibility();
    GalleryAccessibility(const GalleryAccessibility&) = delete;
    GalleryAccessibility& operator=(const GalleryAccessibility&) = delete;

    /** Reads the gallery anew and announces what changed: items that came or went,
        new names and sizes, the selection, and the focus with it while the window
        has the keyboard focus. */
    void update(const GalleryView& gallery);
    /** The window took the keyboard focus: the selected item has it, or the list. */
    void announceFocus();

    const std::vector<ReadEntry>& entries() const { return m_entries; }
    /** The row of an entry in the list; -1 when it is not listed. */
    int rowOf(int entryIndex) const;
    CaptureWindow& window() const { return m_window; }
    bool windowFocused() const;

    QAccessibleInterface* list();
    /** The item of a listed entry, made when first asked for. */
    QAccessibleInterface* item(int entryIndex);
    /** The item that has the focus, or the list when none is selected. */
    QAccessibleInterface* focused();
    /** The window's own interface, which refers to this, was made. */
    void windowInterfaceMade() { m_windowInterface = true; }

private:
    void forget(int entryIndex);
    static void send(QAccessibleInterface* iface, QAccessible::Event type);

    CaptureWindow& m_window;
    std::vector<ReadEntry> m_entries;
    QAccessible::Id m_list = 0;
    std::map<int, QAccessible::Id> m_items;
    bool m_windowInterface = false;
};

/** Installs the factory that gives the main window, the viewers' windows and their
    pictures their interfaces; once is enough. */
void installAccessibleFactory();
