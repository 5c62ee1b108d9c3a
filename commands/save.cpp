#include "commands/commands.h"
#include "commands/file_names.h"
#include "commands/picture_output.h"
#include "dialogs/module1.h"

namespace {
const char* const kFilter = "JPEG Image (*.jpg)|*.jpg|Bitmap Image (*.bmp)|*.bmp";

// The flag is cleared on every way out, a cancelled dialog included.
struct ClearIgnoreClipboard {
    Gallery& gallery;
    ~ClearIgnoreClipboard() { gallery.IgnoreClipboard = false; }
};

QString failureText(const QString& path, const OutputResult& result) {
    QString text = QStringLiteral("The picture was not saved as %1: %2.").arg(path, result.reason);
    if (!result.keptBmp.isEmpty())
        text += QStringLiteral("\n\nIt is kept in the BMP file %1.").arg(result.keptBmp);
    return text;
}
} // namespace

void mnuFileSave_Click(CommandEnv& env) {
    Gallery& g = env.gallery;
    ClearIgnoreClipboard clearFlag{g};
    const int index = g.SelectedIndex;
    if (!g.exists(index))
        return;
    const QString proposed = FileNames::proposedSaveName(g.imgView(index).toolTipText);
    if (proposed.isEmpty())
        return;
    QString path =
        Module1::ShowSaveDialog(env.platform.dialogs, &env.window, QLatin1String(kFilter),
                                QStringLiteral("Save Image"), QString(), proposed);
    if (path.isEmpty())
        return;

    // Only the typed name decides the format, not the file type picked in the list.
    const QString extension = FileNames::extensionOf(path);
    // The watcher may have run while the dialog was open; read the entry afresh.
    const Picture picture = g.exists(index) ? g.imgView(index).picture : Picture();
    OutputResult result;
    if (extension == QLatin1String(".bmp")) {
        result = writeBmpFile(env.platform, picture, path);
    } else if (extension == QLatin1String(".jpg")) {
        result = writeJpegFile(env.platform, picture, path);
    } else {
        // The dialog asked about the typed name, not about this one: an
        // existing file of this name is not replaced unasked.
        path += QStringLiteral(".jpg");
        if (env.platform.files.fileLength(path) >= 0)
            result.reason = QStringLiteral("a file of that name exists already; save with the "
                                           "full name to replace it");
        else
            result = writeJpegFile(env.platform, picture, path);
    }

    // The name changes only to a file that now holds the picture.
    if (result.saved && g.exists(index))
        g.imgView(index).toolTipText = path;
    else
        env.platform.messages.warning(&env.window, failureText(path, result),
                                      QStringLiteral("Pictavo"));
}
