// What a key pressed in the main window asks for.
#pragma once

#include "platform/command.h"
#include "platform/keys.h"

#include <optional>

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
