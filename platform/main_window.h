#pragma once

#include "platform/command.h"
#include "platform/window.h"

#include <QPoint>
#include <QString>
#include <cstdint>
#include <optional>

/** What the main window's widget reports to the logic. */
class MainWindowEvents {
public:
    virtual ~MainWindowEvents() = default;
    virtual void Form_Resize() = 0;
    virtual void Form_MouseUp(int Button, int Shift, int X, int Y) = 0;
    virtual void Form_KeyDown(int KeyCode, int Shift) = 0;
    virtual void imgView_MouseUp(int index, int Button, int Shift, int X, int Y) = 0;
    virtual void imgView_DblClick(int index) = 0;
    virtual void menuCommand(Command command) = 0;
    virtual void Form_Unload() = 0;
};

/** The main window as the logic sees it. Sizes are in twips. */
class IMainWindow : public IWindow {
public:
    /** Outer size, window-manager frame included. */
    virtual std::int32_t outerWidthTwips() const = 0;
    virtual std::int32_t outerHeightTwips() const = 0;
    virtual QString caption() const = 0;
    virtual void setCaption(const QString& caption) = 0;
    /** The busy pointer over every window of the program, or the default one. */
    virtual void setBusyPointer(bool busy) = 0;
    /** Pops up the main menu at the mouse position. */
    virtual void popupMenu() = 0;
    /** Pops it up from the keyboard at a client point in twips, or at the
        window's centre, its first entry active. */
    virtual void popupMenuAt(std::optional<QPoint> clientTwips) = 0;
    virtual void setMenuEnabled(Command command, bool enabled) = 0;
    virtual bool isMenuEnabled(Command command) const = 0;
    virtual void processEvents() = 0;
    /** The gallery or the selection frame changed: draw again. */
    virtual void galleryChanged() = 0;
    /** Closes the window and with it the program. */
    virtual void close() = 0;
};
