#include "commands/commands.h"

#include <memory>

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
    auto ready = std::make_shared<Picture>(picture);
    IClipboard& clipboard = env.platform.clipboard;
    runJob(
        env,
        [picture, ready] {
            if (picture.isCompact())
                *ready = Picture::fromImage(picture.toImage());
        },
        [&g, &clipboard, ready] {
            // The flag goes up only with the copy: raised earlier, a look that began before
            // the copy and found the clipboard empty would lower it, and the copy would be
            // taken back. A look that began with the flag down keeps it up. The copy goes
            // on in place of what is there, never after an emptying: a clipboard manager
            // would put its own content back in that gap. A picture the clipboard refuses
            // leaves it empty.
            g.IgnoreClipboard = true;
            if (ready->isNull() || ready->isEmpty() || !clipboard.setPicture(*ready))
                clipboard.clear();
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
