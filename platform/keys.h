// The key codes and modifier bits the windows report to the logic.
#pragma once

namespace keys {
inline constexpr int Enter = 13, Esc = 27, Left = 37, Up = 38, Right = 39, Down = 40,
                     Delete = 46, B = 66, C = 67, O = 79, P = 80, S = 83, F8 = 119;
// The keys that open a context menu from the keyboard (Menu, and Shift+F10).
inline constexpr int Menu = 93, F10 = 121;
inline constexpr int ShiftMask = 1, CtrlMask = 2, AltMask = 4;
/** Mouse buttons. */
inline constexpr int LeftButton = 1, RightButton = 2, MiddleButton = 4;
} // namespace keys
