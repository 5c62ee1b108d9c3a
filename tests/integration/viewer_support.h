// What the viewer and dialog tests on a real X server share: waiting with a
// deadline, a main window with its viewers, the window manager's view of them,
// and a driver for modal dialogs.
#pragma once

#include "fakes/fake_platform.h"
#include "gallery/gallery.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/windows/capture_window.h"
#include "platform/qt/windows/full_screen_window.h"
#include "app/qt_viewer_host.h"
#include "platform/qt/windows/zoom_window.h"
#include "viewers/fit.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <xcb/xcb.h>

/** Runs the event loop until cond holds or the deadline passes. */
inline bool waitFor(const std::function<bool()>& cond, int timeoutMs = 5000) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!cond()) {
        if (deadline.hasExpired())
            return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

namespace x11 {
inline xcb_connection_t* connection() {
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}
inline xcb_atom_t atom(const char* name) {
    auto reply = xcb_intern_atom_reply(
        connection(), xcb_intern_atom(connection(), 0, static_cast<uint16_t>(strlen(name)), name),
        nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    free(reply);
    return a;
}
/** The windows a WINDOW-typed property of w lists. */
inline std::vector<xcb_window_t> windows(xcb_window_t w, xcb_atom_t property) {
    std::vector<xcb_window_t> out;
    auto reply = xcb_get_property_reply(
        connection(), xcb_get_property(connection(), 0, w, property, XCB_ATOM_WINDOW, 0, 1024),
        nullptr);
    if (reply && reply->format == 32) {
        const auto* data = static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
        out.assign(data, data + xcb_get_property_value_length(reply) / 4);
    }
    free(reply);
    return out;
}
inline xcb_window_t root() {
    return xcb_setup_roots_iterator(xcb_get_setup(connection())).data->root;
}
inline xcb_window_t transientFor(QWidget& w) {
    const auto list = windows(static_cast<xcb_window_t>(w.winId()), XCB_ATOM_WM_TRANSIENT_FOR);
    return list.empty() ? xcb_window_t{XCB_WINDOW_NONE} : list.front();
}
inline xcb_window_t activeWindow() {
    const auto list = windows(root(), atom("_NET_ACTIVE_WINDOW"));
    return list.empty() ? xcb_window_t{XCB_WINDOW_NONE} : list.front();
}
/** Client windows, bottom to top, as the window manager stacks them. */
inline std::vector<xcb_window_t> stacking() {
    return windows(root(), atom("_NET_CLIENT_LIST_STACKING"));
}
/** The outer rectangle of w as the X server has it: the window manager's frame
    window that holds it, or w itself without a window manager. */
inline QRect frameRect(QWidget& w) {
    xcb_window_t window = static_cast<xcb_window_t>(w.winId());
    for (;;) {
        auto tree =
            xcb_query_tree_reply(connection(), xcb_query_tree(connection(), window), nullptr);
        if (!tree)
            return {};
        const xcb_window_t parent = tree->parent, rootWindow = tree->root;
        free(tree);
        if (parent == rootWindow || parent == XCB_WINDOW_NONE)
            break;
        window = parent;
    }
    auto g = xcb_get_geometry_reply(connection(), xcb_get_geometry(connection(), window), nullptr);
    if (!g)
        return {};
    const QRect r(g->x, g->y, g->width + 2 * g->border_width, g->height + 2 * g->border_width);
    free(g);
    return r;
}
inline bool isTopmost(QWidget& w) {
    const auto list = stacking();
    return !list.empty() && list.back() == static_cast<xcb_window_t>(w.winId());
}
} // namespace x11

/** The main window and its viewers, with real pictures and files, and fake
    dialogs and messages unless a test swaps them. */
struct ViewerRig {
    QtPlatform qt;
    FakeDialogs dialogs;
    FakeMessageBox messages;
    Platform platform{qt.clipboard, qt.clock, qt.files,   qt.pictures, dialogs,
                      messages,     qt.shell, qt.printer, qt.converter};
    Gallery gallery{[] { return OuterSize{9600, 7200}; }};
    CaptureWindow owner;
    QtViewerHost host{owner};

    explicit ViewerRig(Platform* custom = nullptr) {
        owner.resize(632, 453);
        owner.move(300, 300);
        owner.show();
        waitFor([this] { return x11::frameRect(owner).size() != owner.size(); }, 3000);
        host.attach(gallery, custom ? *custom : platform);
    }
    ~ViewerRig() { host.closeAll(); }

    ZoomWindow* lastZoom() const {
        formZoom* z = host.viewers()->LastZoom();
        return z ? dynamic_cast<ZoomWindow*>(z->view()) : nullptr;
    }
    FullScreenWindow* fullScreen() const {
        return dynamic_cast<FullScreenWindow*>(host.viewers()->fullScreen().view());
    }
};

/** The image view's geometry in pixels that the fit gives for window's client area. */
template <class Window> QRect expectedImageRect(Window& window, const Picture& picture) {
    const float W = pixelsToTwips(window.width()), H = pixelsToTwips(window.height());
    const FitSize size = fitSize(W, H, picture.width(), picture.height());
    const int w = std::max(0, viewer_units::pixels(size.width));
    const int h = std::max(0, viewer_units::pixels(size.height));
    return QRect(viewer_units::pixels(centreOffset(W, pixelsToTwips(w))),
                 viewer_units::pixels(centreOffset(H, pixelsToTwips(h))), w, h);
}

/** Drives modal dialogs from inside their own event loops: each step waits,
    with a deadline, until the active modal widget is a T, then acts on it. */
class ModalDriver {
public:
    template <class T> ModalDriver& then(std::function<void(T&)> act) {
        m_steps.push_back({[](QWidget* w) {
                               auto* t = qobject_cast<T*>(w);
                               return t && t->isVisible();
                           },
                           [act](QWidget* w) { act(*qobject_cast<T*>(w)); }});
        return *this;
    }

    /** Starts driving; call before the code that opens the first dialog. */
    void start(int timeoutMs = 10000) {
        m_deadline = QDeadlineTimer(timeoutMs);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
        m_timer.start(10);
    }
    /** Every step has acted. */
    bool done() const { return m_steps.empty() && !m_pending; }

private:
    struct Step {
        std::function<bool(QWidget*)> matches;
        std::function<void(QWidget*)> act;
    };

    void tick() {
        if (m_deadline.hasExpired()) {
            // A dialog still open at the deadline is closed, so the test goes on
            // (and fails on done() or on its result) instead of hanging.
            m_timer.stop();
            while (QWidget* w = QApplication::activeModalWidget())
                w->close();
            return;
        }
        if (m_pending || m_steps.empty())
            return;
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !m_steps.front().matches(modal))
            return;
        Step step = m_steps.front();
        m_steps.erase(m_steps.begin());
        m_pending = true;
        // Acting may open another modal loop; it runs outside this timer's slot,
        // so the timer keeps ticking inside that loop.
        QTimer::singleShot(0, [this, step, target = QPointer<QWidget>(modal)] {
            m_pending = false;
            if (target)
                step.act(target);
        });
    }

    std::vector<Step> m_steps;
    QTimer m_timer;
    QDeadlineTimer m_deadline;
    bool m_pending = false;
};
