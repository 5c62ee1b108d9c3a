#include "commands/commands.h"
#include "commands/print_layout.h"

void mnuFilePrint_Click(CommandEnv& env) {
    Gallery& g = env.gallery;
    IPrinter& printer = env.platform.printer;
    // No printer: every printer step fails, so nothing happens.
    float pageWidth = 0;
    float pageHeight = 0;
    if (printer.pageSizeTwips(&pageWidth, &pageHeight)) {
        // An index naming no entry is a picture of width 0: nothing is drawn.
        const Picture picture =
            g.exists(g.SelectedIndex) ? g.imgView(g.SelectedIndex).picture : Picture();
        const PrintPlacement at =
            fitToPage(pageWidth, pageHeight, picture.width(), picture.height());
        const bool drawn =
            printer.drawPicture(picture, static_cast<float>(at.x), static_cast<float>(at.y),
                                static_cast<float>(at.width), static_cast<float>(at.height));
        printer.endDocument();
        // A picture that could not be drawn (its pixels did not fit in memory, say) is told,
        // not passed off as printed.
        if (!drawn && !picture.isNull() && !picture.isEmpty())
            env.platform.messages.warning(
                &env.window,
                QStringLiteral("The picture could not be printed: there is not enough memory "
                               "for it, or the printer did not take it."),
                QStringLiteral("Pictavo"));
    }
    g.IgnoreClipboard = false;
}
