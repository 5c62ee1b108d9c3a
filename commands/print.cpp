#include "commands/commands.h"

void mnuFilePrint_Click(CommandEnv& env) {
    env.gallery.IgnoreClipboard = false;
}
