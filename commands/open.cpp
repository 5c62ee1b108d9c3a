#include "commands/commands.h"

void mnuFileOpen_Click(CommandEnv& env) {
    env.gallery.IgnoreClipboard = false;
}
