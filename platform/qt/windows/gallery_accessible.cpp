#include "platform/qt/windows/gallery_accessible.h"

#include "platform/qt/windows/capture_window.h"
#include "platform/qt/windows/full_screen_window.h"
#include "platform/qt/windows/image_view.h"
#include "platform/qt/windows/zoom_window.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <algorithm>
#include <utility>

namespace {

QRect globalRect(const QWidget& widget, const QRect& local) {
    return QRect(widget.mapToGlobal(local.topLeft()), local.size());
}

/** The main window: a frame around the one list. */
class CaptureWindowInterface final : public QAccessibleWidget {
public:
    CaptureWindowInterface(CaptureWindow* window, GalleryAccessibility& gallery)
        : QAccessibleWidget(window, QAccessible::Window), m_gallery(gallery) {
        gallery.windowInterfaceMade();
    }

    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? m_gallery.list() : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child == m_gallery.list() ? 0 : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        QAccessibleInterface* list = m_gallery.list();
        return list->rect().contains(x, y) ? list : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        return m_gallery.windowFocused() ? m_gallery.focused() : nullptr;
    }

private:
    GalleryAccessibility& m_gallery;
};

/** The thumbnails that show a picture, in index order. */
class GalleryListInterface final : public QAccessibleInterface {
public:
    explicit GalleryListInterface(GalleryAccessibility& gallery) : m_gallery(gallery) {}

    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_gallery.window().windowHandle(); }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(&m_gallery.window());
    }
    int childCount() const override { return static_cast<int>(m_gallery.entries().size()); }
    QAccessibleInterface* child(int row) const override {
        const auto& entries = m_gallery.entries();
        if (row < 0 || row >= static_cast<int>(entries.size()))
            return nullptr;
        return m_gallery.item(entries[row].index);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int row = 0; row < childCount(); ++row) {
            if (m_gallery.item(m_gallery.entries()[row].index) == child)
                return row;
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const CaptureWindow& w = m_gallery.window();
        const int index = w.entryAt(w.mapFromGlobal(QPoint(x, y)));
        return m_gallery.rowOf(index) >= 0 ? m_gallery.item(index) : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        QAccessibleInterface* focused = m_gallery.focused();
        return focused != this ? focused : nullptr;
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? QCoreApplication::translate("formCapture", "Gallery")
                                       : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        const CaptureWindow& w = m_gallery.window();
        return globalRect(w, w.rect());
    }
    QAccessible::Role role() const override { return QAccessible::List; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.focusable = true;
        s.focused = m_gallery.windowFocused() && m_gallery.focused() == this;
        s.invisible = !m_gallery.window().isVisible();
        return s;
    }

private:
    GalleryAccessibility& m_gallery;
};

/** One thumbnail; it keeps what was last said of it, so it can still be named as it goes. */
class GalleryItemInterface final : public QAccessibleInterface {
public:
    GalleryItemInterface(GalleryAccessibility& gallery, ReadEntry entry)
        : m_entry(std::move(entry)), m_gallery(gallery) {}

    ReadEntry m_entry;

    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_gallery.window().windowHandle(); }
    QAccessibleInterface* parent() const override { return m_gallery.list(); }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name: return m_entry.name;
        case QAccessible::Description: return m_entry.description;
        default: return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        const CaptureWindow& w = m_gallery.window();
        const QRect box = w.entryRect(m_entry.index);
        return box.isNull() ? QRect() : globalRect(w, box);
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.selectable = true;
        s.focusable = true;
        s.selected = m_entry.selected;
        s.focused = m_entry.selected && m_gallery.windowFocused();
        s.invisible = !m_gallery.window().isVisible();
        return s;
    }

private:
    GalleryAccessibility& m_gallery;
};

GalleryItemInterface* itemOf(QAccessibleInterface* iface) {
    return static_cast<GalleryItemInterface*>(iface);
}

QAccessibleInterface* makeInterface(const QString&, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    if (auto* main = qobject_cast<CaptureWindow*>(object))
        return new CaptureWindowInterface(main, main->accessibility());
    // Without their own interfaces these would be nameless fillers.
    if (auto* view = dynamic_cast<ImageView*>(object))
        return new QAccessibleWidget(view, QAccessible::Graphic);
    if (dynamic_cast<ZoomWindow*>(object) || dynamic_cast<FullScreenWindow*>(object))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

GalleryAccessibility::GalleryAccessibility(CaptureWindow& window) : m_window(window) {}

GalleryAccessibility::~GalleryAccessibility() {
    for (const auto& [index, id] : m_items)
        QAccessible::deleteAccessibleInterface(id);
    if (m_list)
        QAccessible::deleteAccessibleInterface(m_list);
    // The window outlives this by its destructor; its interface must not.
    if (m_windowInterface)
        QAccessible::deleteAccessibleInterface(
            QAccessible::uniqueId(QAccessible::queryAccessibleInterface(&m_window)));
}

bool GalleryAccessibility::windowFocused() const { return m_window.hasFocus(); }

int GalleryAccessibility::rowOf(int entryIndex) const {
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [entryIndex](const ReadEntry& e) { return e.index == entryIndex; });
    return it == m_entries.end() ? -1 : static_cast<int>(it - m_entries.begin());
}

QAccessibleInterface* GalleryAccessibility::list() {
    if (!m_list)
        m_list = QAccessible::registerAccessibleInterface(new GalleryListInterface(*this));
    return QAccessible::accessibleInterface(m_list);
}

QAccessibleInterface* GalleryAccessibility::item(int entryIndex) {
    if (const auto it = m_items.find(entryIndex); it != m_items.end())
        return QAccessible::accessibleInterface(it->second);
    const int row = rowOf(entryIndex);
    if (row < 0)
        return nullptr;
    auto* iface = new GalleryItemInterface(*this, m_entries[row]);
    m_items[entryIndex] = QAccessible::registerAccessibleInterface(iface);
    return iface;
}

QAccessibleInterface* GalleryAccessibility::focused() {
    for (const ReadEntry& e : m_entries) {
        if (e.selected)
            return item(e.index);
    }
    return list();
}

void GalleryAccessibility::send(QAccessibleInterface* iface, QAccessible::Event type) {
    if (!iface)
        return;
    QAccessibleEvent event(iface, type);
    QAccessible::updateAccessibility(&event);
}

void GalleryAccessibility::forget(int entryIndex) {
    const auto it = m_items.find(entryIndex);
    if (it == m_items.end())
        return;
    send(QAccessible::accessibleInterface(it->second), QAccessible::ObjectDestroyed);
    QAccessible::deleteAccessibleInterface(it->second);
    m_items.erase(it);
}

void GalleryAccessibility::update(const GalleryView& gallery) {
    std::vector<ReadEntry> now = gallery.readEntries();
    if (now == m_entries)
        return;
    const std::vector<ReadEntry> before = std::exchange(m_entries, std::move(now));
    const auto find = [](const std::vector<ReadEntry>& in, int index) -> const ReadEntry* {
        for (const ReadEntry& e : in) {
            if (e.index == index)
                return &e;
        }
        return nullptr;
    };
    // Items go as their entries go (Delete, Clear).
    for (const ReadEntry& old : before) {
        if (!find(m_entries, old.index))
            forget(old.index);
    }
    const ReadEntry* selectedBefore = nullptr;
    for (const ReadEntry& old : before) {
        if (old.selected)
            selectedBefore = &old;
    }
    for (const ReadEntry& e : m_entries) {
        if (const auto it = m_items.find(e.index); it != m_items.end())
            itemOf(QAccessible::accessibleInterface(it->second))->m_entry = e;
    }
    // With no screen reader there is nobody to tell, and no item needs making.
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface* selectedNow = nullptr;
    for (const ReadEntry& e : m_entries) {
        const ReadEntry* old = find(before, e.index);
        QAccessibleInterface* iface = item(e.index);
        if (!old) {
            send(iface, QAccessible::ObjectCreated);
        } else {
            if (old->name != e.name)
                send(iface, QAccessible::NameChanged);
            if (old->description != e.description)
                send(iface, QAccessible::DescriptionChanged);
        }
        if (e.selected)
            selectedNow = iface;
    }
    const int selectedIndexNow = selectedNow ? itemOf(selectedNow)->m_entry.index : -1;
    const int selectedIndexBefore = selectedBefore ? selectedBefore->index : -1;
    if (selectedIndexNow == selectedIndexBefore)
        return;
    if (selectedBefore && m_items.count(selectedBefore->index))
        send(item(selectedBefore->index), QAccessible::SelectionRemove);
    if (selectedNow)
        send(selectedNow, QAccessible::SelectionAdd);
    if (windowFocused())
        send(focused(), QAccessible::Focus);
}

void GalleryAccessibility::announceFocus() {
    if (QAccessible::isActive() && windowFocused())
        send(focused(), QAccessible::Focus);
}

void installAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(makeInterface);
        return true;
    }();
    (void)installed;
}
