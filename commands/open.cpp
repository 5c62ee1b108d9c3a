#include "commands/commands.h"
#include "commands/picture_prefetch.h"
#include "dialogs/module1.h"

void mnuFileOpen_Click(CommandEnv& env) {
    Gallery& g = env.gallery;
    const QString path =
        Module1::ShowOpenDialog(env.platform.dialogs, &env.window,
                                QStringLiteral("All Graphics|*.bmp;*.gif;*.jpg;*.rle;*.emf;*.wmf"),
                                QStringLiteral("Open Image"), QString());
    // A selected index that names no entry (after Clear) leaves nothing to fill.
    if (!path.isEmpty() && g.exists(g.SelectedIndex)) {
        // Loaded on another thread: a large or hostile file takes seconds to
        // decode, and the window paints and answers meanwhile. The user's
        // input waits, so the entry to fill stays the one selected.
        PicturePrefetch load(env.platform.pictures, {path}, 1, env.loads);
        const LoadedPicture loaded = *load.takeNext([&env] {
            env.window.processEventsExceptInput();
            return true;
        });
        const Picture picture = loaded.picture;
        const QString error = loaded.error;
        if (picture.isNull() || picture.isEmpty()) {
            // The entry keeps its picture and its name: taking the name of a
            // file it does not show would make a later Save propose that file.
            env.platform.messages.warning(
                &env.window,
                QStringLiteral("The file \"%1\" could not be opened: %2.")
                    .arg(path, error.isEmpty() ? QStringLiteral("it is not a picture") : error),
                QStringLiteral("Pictavo"));
        } else {
            Entry& entry = g.imgView(g.SelectedIndex);
            entry.picture = picture;
            entry.toolTipText = path;
            env.window.galleryChanged();
        }
    }
    g.IgnoreClipboard = false;
}
