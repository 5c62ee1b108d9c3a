// What a key pressed in the main window asks for.
#pragma once

#include "platform/command.h"

#include <optional>

namespace keys {
inline constexpr int Enter = 13, Esc = 27, Left = 37, Up = 38, Right = 39, Down = 40,
                     Delete = 46, B = 66, C = 67, O = 79, P = 80, S = 83, F8 = 119;
// Not the design's keys: the desktop's own for a context menu.
inline constexpr int Menu = 93, F10 = 121;
inline constexpr int ShiftMask = 1, CtrlMask = 2, AltMask = 4;
} // namespace keys

enum class KeyAction { None, RunCommand, StopLoading, OpenSelected, SelectLeft, SelectRight,
                       SelectDown, SelectUp, ContextMenu };

struct KeyDispatch {
    KeyAction action = KeyAction::None;
    Command command = Command::Save;
    bool operator==(const KeyDispatch&) const = default;
};

/** Letters act with Ctrl alone; the other keys whatever the modifiers. */
KeyDispatch dispatchKey(int keyCode, int shift);

/** The Menu key, whatever the modifiers, or Shift+F10: the pop-up menu from the keyboard. */
bool opensContextMenu(int keyCode, int shift);
