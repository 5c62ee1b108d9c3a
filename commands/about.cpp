#include "commands/commands.h"

#include <QCoreApplication>

namespace {
const char* const kHomePage = "https://pictavo.codeberg.page/";
const char* const kSourcePage = "https://codeberg.org/pictavo/pictavo";
} // namespace

void mnuAbout_Click(CommandEnv& env) {
    const QString crlf = QStringLiteral("\r\n");
    const QString text =
        QCoreApplication::translate("About", "Pictavo, copyright (c) 2026 the Pictavo authors") +
        crlf + crlf + QLatin1String(kHomePage) + crlf + QLatin1String(kSourcePage);
    env.platform.messages.information(&env.window, text, env.window.caption());
    // The page opens however the box was closed; a missing browser is not reported.
    env.platform.shell.openUrl(QLatin1String(kHomePage));
}
