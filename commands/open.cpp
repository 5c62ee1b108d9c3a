#include "commands/commands.h"
#include "dialogs/module1.h"

#include <QCoreApplication>

namespace {
struct Loaded {
    Picture picture;
    QString error;
};
} // namespace

void mnuFileOpen_Click(CommandEnv& env) {
    Gallery& g = env.gallery;
    const QString path =
        Module1::ShowOpenDialog(env.platform.dialogs, &env.window,
                                QCoreApplication::translate("Open", "All Graphics") +
                                    QStringLiteral("|*.bmp;*.gif;*.jpg;*.rle;*.emf;*.wmf"),
                                QCoreApplication::translate("Open", "Open Image"), QString());
    // A selected index that names no entry (after Clear) leaves nothing to fill.
    if (path.isEmpty() || !g.exists(g.SelectedIndex)) {
        g.IgnoreClipboard = false;
        return;
    }
    // The entry to fill is the one selected now: the window answers while a large
    // or hostile file decodes, and the user may select another meanwhile.
    const int index = g.SelectedIndex;
    const Picture replaced = g.imgView(index).picture;
    IPictureFiles& pictures = env.platform.pictures;
    IMessageBox& messages = env.platform.messages;
    IMainWindow& window = env.window;
    runJob<Loaded>(
        env,
        [&pictures, path] {
            Loaded loaded;
            loaded.picture = pictures.load(path, &loaded.error);
            return loaded;
        },
        [&g, &messages, &window, path, index, replaced](JobOutcome<Loaded>& outcome) {
            g.IgnoreClipboard = false;
            const Loaded loaded =
                outcome.succeeded() ? outcome.value() : Loaded{{}, failureReason(outcome.failure())};
            const Picture& picture = loaded.picture;
            if (picture.isNull() || picture.isEmpty()) {
                // The entry keeps its picture and its name: taking the name of a
                // file it does not show would make a later Save propose that file.
                messages.warning(
                    &window,
                    QCoreApplication::translate("Open", "The file \"%1\" could not be opened: %2.")
                        .arg(path, loaded.error.isEmpty()
                                       ? QCoreApplication::translate("Open", "it is not a picture")
                                       : loaded.error),
                    QStringLiteral("Pictavo"));
            } else if (!g.exists(index) || !g.imgView(index).picture.sameAs(replaced)) {
                // A capture that wrapped onto the entry while the file loaded is kept.
                messages.warning(&window,
                                 QCoreApplication::translate(
                                     "Open", "The file \"%1\" was not opened: the picture "
                                             "it was to replace changed while it loaded.")
                                     .arg(path),
                                 QStringLiteral("Pictavo"));
            } else {
                Entry& entry = g.imgView(index);
                entry.picture = picture;
                entry.toolTipText = path;
                window.galleryChanged();
            }
        });
}
