#include "commands/commands.h"

#include <QCoreApplication>

void mnuImageCopy_Click(CommandEnv& env) {
    Gallery& g = env.gallery;
    // An empty entry leaves the clipboard empty; the watcher then clears the flag.
    if (!g.exists(g.SelectedIndex) || g.imgView(g.SelectedIndex).isEmpty()) {
        g.IgnoreClipboard = true;
        env.platform.clipboard.clear();
        return;
    }
    const Picture picture = g.imgView(g.SelectedIndex).picture;
    // A picture held packed is decoded off the window's thread; the clipboard
    // then gets the decoded pixels without decoding again.
    IClipboard& clipboard = env.platform.clipboard;
    IMessageBox& messages = env.platform.messages;
    IMainWindow& window = env.window;
    runJob<Picture>(
        env,
        [picture] { return picture.isCompact() ? Picture::fromImage(picture.toImage()) : picture; },
        [&g, &clipboard, &messages, &window](JobOutcome<Picture>& outcome) {
            // The flag goes up only with the copy: raised earlier, a look that began before
            // the copy and found the clipboard empty would lower it, and the copy would be
            // taken back. A look that began with the flag down keeps it up. The copy goes
            // on in place of what is there, never after an emptying: a clipboard manager
            // would put its own content back in that gap. A picture the clipboard refuses
            // leaves it empty.
            g.IgnoreClipboard = true;
            const Picture* ready = outcome.succeeded() ? &outcome.value() : nullptr;
            if (!ready || ready->isNull() || ready->isEmpty() || !clipboard.setPicture(*ready))
                clipboard.clear();
            if (!outcome.succeeded())
                messages.warning(&window,
                                 QCoreApplication::translate(
                                     "Copy", "The picture was not copied to the clipboard: %1.")
                                     .arg(failureReason(outcome.failure())),
                                 QStringLiteral("Pictavo"));
        });
}

void mnuImageDelete_Click(CommandEnv& env) {
    Gallery& g = env.gallery;
    const int last = g.topIndex();
    // Only pictures move; every entry keeps its own tool-tip text.
    for (int i = g.SelectedIndex; i <= last - 1; ++i)
        g.imgView(i).picture = g.imgView(i + 1).picture;
    const int k = g.SelectedIndex <= last ? last : g.SelectedIndex;
    if (g.exists(k)) {
        g.imgView(k).picture = Picture();
        if (k > 0)
            g.destroyTopEntry();
    }
    const int top = g.topIndex();
    g.SelectImage(static_cast<std::int16_t>(g.SelectedIndex > top ? top : g.SelectedIndex));
    g.IgnoreClipboard = false;
    env.window.galleryChanged();
}

void mnuImageClear_Click(CommandEnv& env) {
    Gallery& g = env.gallery;
    while (g.topIndex() > 0)
        g.destroyTopEntry();
    g.imgView(0).picture = Picture();
    g.ImageCount = 0;
    g.shpSelected.visible = false;
    g.IgnoreClipboard = false;
    env.window.galleryChanged();
}
