#include "commands/commands.h"

void runCommand(Command command, CommandEnv& env) {
    switch (command) {
    case Command::Save: mnuFileSave_Click(env); break;
    case Command::SaveAll: mnuFileSaveAll_Click(env); break;
    case Command::Open: mnuFileOpen_Click(env); break;
    case Command::Print: mnuFilePrint_Click(env); break;
    case Command::Copy: mnuImageCopy_Click(env); break;
    case Command::Delete: mnuImageDelete_Click(env); break;
    case Command::Clear: mnuImageClear_Click(env); break;
    case Command::Browse: mnuFileBrowse_Click(env); break;
    case Command::About: mnuAbout_Click(env); break;
    }
}
