#include "commands/commands.h"

void mnuImageCopy_Click(CommandEnv& env) {
    Gallery& g = env.gallery;
    g.IgnoreClipboard = true;
    // Put on in place of what is there, never after an emptying: a clipboard manager
    // would put its own content back in that gap. An empty entry, or a picture the
    // clipboard refuses, leaves it empty; the watcher then clears the flag.
    const bool filled = g.exists(g.SelectedIndex) && !g.imgView(g.SelectedIndex).isEmpty();
    if (!filled || !env.platform.clipboard.setPicture(g.imgView(g.SelectedIndex).picture))
        env.platform.clipboard.clear();
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
