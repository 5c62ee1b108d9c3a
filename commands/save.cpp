#include "commands/commands.h"

void mnuFileSave_Click(CommandEnv& env) {
    env.gallery.IgnoreClipboard = false;
}
