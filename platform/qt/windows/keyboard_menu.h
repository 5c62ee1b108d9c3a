// A pop-up menu opened from the keyboard (Shift+F10, the Menu key).
#pragma once

#include <QAction>
#include <QMenu>
#include <QTimer>

/** Runs menu at a global position with its first enabled entry active, as a menu
    opened from the keyboard is, so that a screen reader names it at once and Enter
    chooses it; returns the entry chosen, or null. */
inline QAction* execFromKeyboard(QMenu& menu, QPoint globalPos) {
    // The menu is shown by the time its own event loop runs this.
    QTimer::singleShot(0, &menu, [&menu] {
        for (QAction* action : menu.actions()) {
            if (!action->isSeparator() && action->isEnabled() && action->isVisible()) {
                menu.setActiveAction(action);
                return;
            }
        }
    });
    return menu.exec(globalPos);
}
