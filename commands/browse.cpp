#include "commands/commands.h"

void mnuFileBrowse_Click(CommandEnv& env) {
    (void)env;
}
