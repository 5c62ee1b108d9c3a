#include "gallery/key_dispatch.h"

namespace {
KeyDispatch run(Command c) { return {KeyAction::RunCommand, c}; }
KeyDispatch act(KeyAction a) { return {a, Command::Save}; }
} // namespace

bool opensContextMenu(int keyCode, int shift) {
    return keyCode == keys::Menu || (keyCode == keys::F10 && shift == keys::ShiftMask);
}

KeyDispatch dispatchKey(int keyCode, int shift) {
    if (opensContextMenu(keyCode, shift))
        return act(KeyAction::ContextMenu);
    const bool ctrlOnly = shift == keys::CtrlMask;
    switch (keyCode) {
    case keys::B: return ctrlOnly ? run(Command::Browse) : KeyDispatch{};
    case keys::S: return ctrlOnly ? run(Command::Save) : KeyDispatch{};
    case keys::C: return ctrlOnly ? run(Command::Copy) : KeyDispatch{};
    case keys::P: return ctrlOnly ? run(Command::Print) : KeyDispatch{};
    case keys::O: return ctrlOnly ? run(Command::Open) : KeyDispatch{};
    case keys::Delete: return run(Command::Delete);
    case keys::F8: return run(Command::Clear);
    case keys::Esc: return act(KeyAction::StopLoading);
    case keys::Enter: return act(KeyAction::OpenSelected);
    case keys::Left: return act(KeyAction::SelectLeft);
    case keys::Right: return act(KeyAction::SelectRight);
    case keys::Down: return act(KeyAction::SelectDown);
    case keys::Up: return act(KeyAction::SelectUp);
    default: return {};
    }
}
