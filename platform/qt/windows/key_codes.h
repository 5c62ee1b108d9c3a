// Qt's keys, modifiers and buttons as the codes the logic takes, for every window.
#pragma once

#include <Qt>

namespace key_codes {
/** -1 for a key the logic has no code for. */
int keyCode(int qtKey);
int shiftState(Qt::KeyboardModifiers modifiers);
int buttonCode(Qt::MouseButton button);
} // namespace key_codes
