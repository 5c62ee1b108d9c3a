#pragma once

/** The entries of the main window's pop-up menu that run a command. */
enum class Command {
    Save,
    SaveAll,
    Open,
    Print,
    Copy,
    Delete,
    Clear,
    Browse,
    About,
};
