#include "commands/commands.h"
#include "commands/print_layout.h"

#include <QCoreApplication>

namespace {
enum class Printed { NoPrinter, Drawn, NotDrawn };

// The page's layout, drawing and spooling, off the window's thread.
Printed printOnePage(IPrinter& printer, const Picture& picture) {
    // No printer: every printer step fails, so nothing happens.
    float pageWidth = 0;
    float pageHeight = 0;
    if (!printer.pageSizeTwips(&pageWidth, &pageHeight))
        return Printed::NoPrinter;
    const PrintPlacement at = fitToPage(pageWidth, pageHeight, picture.width(), picture.height());
    const bool drawn =
        printer.drawPicture(picture, static_cast<float>(at.x), static_cast<float>(at.y),
                            static_cast<float>(at.width), static_cast<float>(at.height));
    printer.endDocument();
    return drawn ? Printed::Drawn : Printed::NotDrawn;
}
} // namespace

void mnuFilePrint_Click(CommandEnv& env) {
    Gallery& g = env.gallery;
    IPrinter& printer = env.platform.printer;
    IMessageBox& messages = env.platform.messages;
    IMainWindow& window = env.window;
    // An index naming no entry is a picture of width 0: nothing is drawn.
    const Picture picture =
        g.exists(g.SelectedIndex) ? g.imgView(g.SelectedIndex).picture : Picture();
    runJob<Printed>(
        env, [&printer, picture] { return printOnePage(printer, picture); },
        [&g, &messages, &window, picture](JobOutcome<Printed>& outcome) {
            QString failure;
            if (!outcome.succeeded())
                failure = QCoreApplication::translate("Print",
                                                      "The picture could not be printed: %1.")
                              .arg(failureReason(outcome.failure()));
            // A picture that could not be drawn (its pixels did not fit in memory, say) is
            // told, not passed off as printed.
            else if (outcome.value() == Printed::NotDrawn && !picture.isNull() &&
                     !picture.isEmpty())
                failure = QCoreApplication::translate(
                    "Print", "The picture could not be printed: there is not enough "
                             "memory for it, or the printer did not take it.");
            if (!failure.isEmpty())
                messages.warning(&window, failure, QStringLiteral("Pictavo"));
            g.IgnoreClipboard = false;
        });
}
