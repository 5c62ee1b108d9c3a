#include "platform/qt/windows/key_codes.h"

#include "platform/keys.h"

namespace key_codes {

int buttonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton: return keys::LeftButton;
    case Qt::RightButton: return keys::RightButton;
    case Qt::MiddleButton: return keys::MiddleButton;
    default: return 0;
    }
}

int shiftState(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= keys::ShiftMask;
    if (modifiers & Qt::ControlModifier)
        shift |= keys::CtrlMask;
    if (modifiers & Qt::AltModifier)
        shift |= keys::AltMask;
    return shift;
}

int keyCode(int qtKey) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return qtKey; // Qt's letter codes are the upper-case ASCII codes
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return keys::Enter;
    case Qt::Key_Escape: return keys::Esc;
    case Qt::Key_Left: return keys::Left;
    case Qt::Key_Up: return keys::Up;
    case Qt::Key_Right: return keys::Right;
    case Qt::Key_Down: return keys::Down;
    case Qt::Key_Delete: return keys::Delete;
    case Qt::Key_F8: return keys::F8;
    case Qt::Key_Menu: return keys::Menu;
    case Qt::Key_F10: return keys::F10;
    default: return -1;
    }
}

} // namespace key_codes
