#include "commands/commands.h"

void mnuFileSaveAll_Click(CommandEnv& env) {
    env.gallery.IgnoreClipboard = false;
}
