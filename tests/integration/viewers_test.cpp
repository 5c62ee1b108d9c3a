#include "integration/viewer_support.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>
#include <gtest/gtest.h>

namespace {
constexpr QRgb kColour = 0xff2060a0;

bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) <= 2 && std::abs(a.green() - b.green()) <= 2 &&
           std::abs(a.blue() - b.blue()) <= 2;
}

/** Shown, and framed by the window manager. */
bool framed(QWidget& w) {
    return w.isVisible() && w.windowHandle() && w.windowHandle()->isExposed() &&
           x11::frameRect(w).size() != w.size();
}

/** The record holds w's outer geometry as the X server has it. */
bool recorded(const Gallery& g, QWidget& w) {
    const QRect f = x11::frameRect(w);
    return g.LastLeft == f.x() * 15 && g.LastTop == f.y() * 15 && g.LastWidth == f.width() * 15 &&
           g.LastHeight == f.height() * 15;
}

/** For failure messages: w's frame on the X server and the record. */
std::string state(QWidget& w, const Gallery& g) {
    const QRect f = x11::frameRect(w);
    return QStringLiteral("frame %1,%2 %3x%4, record %5,%6 %7x%8 (twips)")
        .arg(f.x())
        .arg(f.y())
        .arg(f.width())
        .arg(f.height())
        .arg(g.LastLeft)
        .arg(g.LastTop)
        .arg(g.LastWidth)
        .arg(g.LastHeight)
        .toStdString();
}

void press(QWidget& w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent e(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(&w, &e);
}

void click(QWidget& w, QPoint pos, Qt::MouseButton button = Qt::LeftButton) {
    QMouseEvent down(QEvent::MouseButtonPress, pos, w.mapToGlobal(pos), button, button,
                     Qt::NoModifier);
    QApplication::sendEvent(&w, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, pos, w.mapToGlobal(pos), button, Qt::NoButton,
                   Qt::NoModifier);
    QApplication::sendEvent(&w, &up);
}

/** The picture's colour at its middle, the workspace colour in the corner. */
void expectDrawn(QWidget& window, ImageView& view, bool pictureVisible) {
    // A large picture is decoded and reduced off the window's thread first.
    EXPECT_TRUE(waitFor([&] { return !view.loading(); }, 30000));
    const QImage shot = window.grab().toImage();
    const QColor workspace = window.palette().color(QPalette::Dark);
    EXPECT_TRUE(near(shot.pixelColor(2, 2), workspace))
        << shot.pixelColor(2, 2).name().toStdString();
    const QPoint middle = view.geometry().center();
    if (pictureVisible) {
        EXPECT_TRUE(near(shot.pixelColor(middle), QColor::fromRgb(kColour)))
            << shot.pixelColor(middle).name().toStdString();
    }
}
} // namespace

TEST(ViewerWindows, PicturesOfEveryShapeFitInZoomAndFullScreen) {
    ViewerRig rig;
    const struct {
        const char* name;
        Picture picture;
    } cases[] = {{"1x1", solidPicture(1, 1, kColour)},
                 {"1x10000", solidPicture(1, 10000, kColour)},
                 {"7680x4320", solidPicture(7680, 4320, kColour)},
                 {"empty", Picture()},
                 {"1-bit palette", [] {
                      // Qt reduces it much into a dithered 1-bit picture.
                      QImage mono(4000, 3000, QImage::Format_Mono);
                      mono.setColorTable({kColour, 0xff000000});
                      mono.fill(0);
                      return Picture::fromImage(mono);
                  }()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        rig.host.showInZoom(c.picture, QStringLiteral("Image 1"), 0);
        ZoomWindow* zoom = rig.lastZoom();
        ASSERT_TRUE(zoom);
        ASSERT_TRUE(waitFor([&] { return framed(*zoom); }));
        EXPECT_EQ(zoom->size(), QSize(457, 324));
        EXPECT_EQ(zoom->imageView().geometry(), expectedImageRect(*zoom, c.picture));
        const bool visible = !zoom->imageView().geometry().isEmpty();
        expectDrawn(*zoom, zoom->imageView(), visible);

        rig.host.showFullScreen(c.picture, QStringLiteral("Image 1"));
        FullScreenWindow* fs = rig.fullScreen();
        ASSERT_TRUE(fs);
        ASSERT_TRUE(waitFor([&] {
            return fs->geometry() == fs->screen()->geometry() &&
                   QApplication::activeWindow() == fs && fs->hasFocus();
        }));
        EXPECT_TRUE(fs->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_EQ(fs->imageView().geometry(), expectedImageRect(*fs, c.picture));
        expectDrawn(*fs, fs->imageView(), !fs->imageView().geometry().isEmpty());
        // A modifier key alone closes it.
        press(*fs, Qt::Key_Control, Qt::ControlModifier);
        EXPECT_TRUE(waitFor([&] { return !fs->isVisible(); }));
    }
    // 8K on the whole screen: the width filled, bars above and below.
    rig.host.showFullScreen(solidPicture(7680, 4320, kColour), QStringLiteral("Image 1"));
    FullScreenWindow* fs = rig.fullScreen();
    ASSERT_TRUE(waitFor([&] { return fs->geometry() == fs->screen()->geometry(); }));
    EXPECT_EQ(fs->imageView().geometry(), QRect(0, 152, 1280, 720));
    // A click beside the picture closes it, as does one on it.
    click(*fs, QPoint(5, 5));
    EXPECT_TRUE(waitFor([&] { return !fs->isVisible(); }));
    rig.host.showFullScreen(solidPicture(7680, 4320, kColour), QStringLiteral("Image 1"));
    fs = rig.fullScreen();
    ASSERT_TRUE(waitFor([&] { return fs->isVisible(); }));
    click(fs->imageView(), QPoint(100, 100));
    EXPECT_TRUE(waitFor([&] { return !fs->isVisible(); }));
}

TEST(ViewerWindows, OuterGeometryIsRecordedAndGivenToNewWindowsOnly) {
    ViewerRig rig;
    const Picture picture = solidPicture(640, 480, kColour);
    rig.host.showInZoom(picture, QStringLiteral("Image 1"), 0);
    ZoomWindow* first = rig.lastZoom();
    ASSERT_TRUE(waitFor([&] { return framed(*first) && recorded(rig.gallery, *first); }))
        << state(*first, rig.gallery);
    EXPECT_EQ(first->size(), QSize(457, 324));
    EXPECT_EQ(first->windowTitle(), QStringLiteral("Image 1"));
    EXPECT_EQ(x11::transientFor(*first), static_cast<xcb_window_t>(rig.owner.winId()));

    first->resize(600, 400);
    ASSERT_TRUE(
        waitFor([&] { return first->size() == QSize(600, 400) && recorded(rig.gallery, *first); }));
    EXPECT_EQ(first->imageView().geometry(), expectedImageRect(*first, picture));
    const QRect recordedFrame = x11::frameRect(*first);

    // A modifier: a new window where the last one was fitted, the first stays open.
    rig.host.showInZoom(picture, QStringLiteral("Image 2"), 1);
    ZoomWindow* second = rig.lastZoom();
    ASSERT_NE(second, first);
    ASSERT_TRUE(waitFor([&] {
        return framed(*second) && x11::frameRect(*second) == recordedFrame;
    })) << state(*second, rig.gallery);
    EXPECT_TRUE(first->isVisible());

    // A new window gets its own frame, not the owner's (maximized, it has another).
    rig.owner.showMaximized();
    ASSERT_TRUE(waitFor([&] {
        return rig.owner.isMaximized() &&
               x11::frameRect(rig.owner).width() == rig.owner.screen()->geometry().width();
    })) << state(rig.owner, rig.gallery);
    ASSERT_NE(x11::frameRect(rig.owner).size() - rig.owner.size(),
              x11::frameRect(*second).size() - second->size());
    rig.host.showInZoom(picture, QStringLiteral("Image 2"), 4);
    ZoomWindow* third = rig.lastZoom();
    EXPECT_TRUE(waitFor([&] { return framed(*third) && x11::frameRect(*third) == recordedFrame; }))
        << state(*third, rig.gallery);

    // Closed with Esc, LastZoom comes back at the design size, not the record.
    press(*third, Qt::Key_Escape, Qt::ShiftModifier);
    ASSERT_TRUE(waitFor([&] { return !third->isVisible(); }));
    rig.host.showInZoom(picture, QStringLiteral("Image 3"), 0);
    ZoomWindow* again = rig.lastZoom();
    ASSERT_TRUE(waitFor([&] { return framed(*again); }));
    EXPECT_EQ(again->size(), QSize(457, 324));
    EXPECT_EQ(again->windowTitle(), QStringLiteral("Image 3"));
    EXPECT_EQ(rig.host.viewers()->zoomWindows().size(), 3u); // first, second, LastZoom
}

TEST(ViewerWindows, MaximizedMinimizedRestored) {
    ViewerRig rig;
    const Picture picture = solidPicture(7680, 4320, kColour);
    rig.host.showInZoom(picture, QStringLiteral("Image 1"), 0);
    ZoomWindow* zoom = rig.lastZoom();
    ASSERT_TRUE(waitFor([&] { return framed(*zoom) && recorded(rig.gallery, *zoom); }));
    const QSize normalSize = zoom->size();

    zoom->showMaximized();
    ASSERT_TRUE(waitFor([&] {
        return zoom->isMaximized() && zoom->width() > normalSize.width() &&
               recorded(rig.gallery, *zoom) &&
               zoom->imageView().geometry() == expectedImageRect(*zoom, picture);
    })) << state(*zoom, rig.gallery);
    const Gallery maximized = rig.gallery;
    const QRect imageMaximized = zoom->imageView().geometry();

    zoom->showMinimized();
    ASSERT_TRUE(waitFor([&] { return zoom->isMinimized(); }));
    EXPECT_EQ(rig.gallery.LastWidth, maximized.LastWidth);
    EXPECT_EQ(rig.gallery.LastHeight, maximized.LastHeight);
    EXPECT_EQ(rig.gallery.LastLeft, maximized.LastLeft);
    EXPECT_EQ(zoom->imageView().geometry(), imageMaximized);

    // Restored as a user does through the window manager: activating the window.
    zoom->showNormal();
    zoom->activateWindow();
    ASSERT_TRUE(waitFor([&] {
        return !zoom->isMinimized() && !zoom->isMaximized() && zoom->size() == normalSize &&
               recorded(rig.gallery, *zoom) &&
               zoom->imageView().geometry() == expectedImageRect(*zoom, picture);
    })) << state(*zoom, rig.gallery);

    // The maximized geometry, once recorded, opens the next window as a normal one.
    zoom->showMaximized();
    ASSERT_TRUE(waitFor([&] {
        return zoom->isMaximized() && zoom->width() > normalSize.width() &&
               recorded(rig.gallery, *zoom);
    }));
    const QRect maxFrame = x11::frameRect(*zoom);
    rig.host.showInZoom(picture, QStringLiteral("Image 2"), 2);
    ZoomWindow* next = rig.lastZoom();
    ASSERT_TRUE(waitFor([&] { return framed(*next); }));
    EXPECT_FALSE(next->isMaximized());
    EXPECT_TRUE(waitFor([&] { return x11::frameRect(*next) == maxFrame; }))
        << state(*next, rig.gallery);
}

TEST(ViewerWindows, ManyZoomWindowsStayInFrontOfTheMainWindow) {
    ViewerRig rig;
    std::vector<QPointer<ZoomWindow>> windows;
    for (int i = 0; i < 30; ++i) {
        rig.host.showInZoom(solidPicture(100 + i, 80, kColour),
                            QStringLiteral("Image %1").arg(i + 1), 2);
        windows.emplace_back(rig.lastZoom());
    }
    ASSERT_TRUE(waitFor(
        [&] {
            return std::all_of(windows.begin(), windows.end(),
                               [](auto& w) { return w && framed(*w); });
        },
        15000));
    const auto stack = x11::stacking();
    const auto ownerAt = std::find(stack.begin(), stack.end(), rig.owner.winId());
    for (auto& w : windows) {
        EXPECT_EQ(x11::transientFor(*w), static_cast<xcb_window_t>(rig.owner.winId()));
        EXPECT_GT(std::find(stack.begin(), stack.end(), w->winId()), ownerAt);
    }
    rig.host.closeAll();
    EXPECT_TRUE(
        std::none_of(windows.begin(), windows.end(), [](auto& w) { return w && w->isVisible(); }));
}

TEST(ViewerWindows, FullScreenEndsInFrontAfterTheReleasesOfADoubleClick) {
    ViewerRig rig;
    const Picture picture = solidPicture(800, 600, kColour);
    // Release, double click, release with Shift held: even a new zoom window
    // made after the viewer leaves it in front with the focus.
    rig.host.showInZoom(picture, QStringLiteral("Image 1"), 0);
    rig.host.showFullScreen(picture, QStringLiteral("Image 1"));
    rig.host.showInZoom(picture, QStringLiteral("Image 1"), 1);
    FullScreenWindow* fs = rig.fullScreen();
    ZoomWindow* late = rig.lastZoom();
    ASSERT_TRUE(waitFor([&] {
        return framed(*late) && x11::activeWindow() == fs->winId() && x11::isTopmost(*fs) &&
               fs->hasFocus();
    })) << "active "
        << x11::activeWindow() << " fs " << fs->winId();
    EXPECT_EQ(x11::transientFor(*fs), static_cast<xcb_window_t>(rig.owner.winId()));
    press(*fs, Qt::Key_A);
    ASSERT_TRUE(waitFor([&] { return !fs->isVisible(); }));

    // Enter in a zoom window: the viewer, owned by that zoom window, takes the focus.
    late->activateWindow();
    ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == late; }));
    press(*late, Qt::Key_Return);
    fs = rig.fullScreen();
    ASSERT_TRUE(waitFor(
        [&] { return fs->isVisible() && x11::activeWindow() == fs->winId() && fs->hasFocus(); }));
    EXPECT_EQ(x11::transientFor(*fs), static_cast<xcb_window_t>(late->winId()));
    press(*fs, Qt::Key_Return);
    EXPECT_TRUE(waitFor([&] { return !fs->isVisible(); }));
}
