#include "commands/commands.h"
#include "commands/file_names.h"
#include "commands/picture_output.h"
#include "dialogs/module1.h"

#include <QCoreApplication>

namespace {
QString filter() {
    return QCoreApplication::translate("Save", "JPEG Image (*.jpg)") + QStringLiteral("|*.jpg|") +
           QCoreApplication::translate("Save", "Bitmap Image (*.bmp)") + QStringLiteral("|*.bmp");
}

// The flag is cleared on every way out, a cancelled dialog included.
struct ClearIgnoreClipboard {
    Gallery& gallery;
    bool active = true;
    ~ClearIgnoreClipboard() {
        if (active)
            gallery.IgnoreClipboard = false;
    }
};

QString failureText(const QString& path, const OutputResult& result) {
    QString text = QCoreApplication::translate("Save", "The picture was not saved as %1: %2.")
                       .arg(path, result.reason);
    if (!result.keptBmp.isEmpty())
        text += QCoreApplication::translate("Save", "\n\nIt is kept in the BMP file %1.")
                    .arg(result.keptBmp);
    return text;
}
} // namespace

void mnuFileSave_Click(CommandEnv& env) {
    Gallery& g = env.gallery;
    ClearIgnoreClipboard clearFlag{g};
    const int index = g.SelectedIndex;
    if (!g.exists(index))
        return;
    const QString proposed = FileNames::proposedName(g.imgView(index).toolTipText, QStringLiteral(".jpg"));
    if (proposed.isEmpty())
        return;
    QString path = Module1::ShowSaveDialog(env.platform.dialogs, &env.window, filter(),
                                           QCoreApplication::translate("Save", "Save Image"),
                                           QString(), proposed);
    if (path.isEmpty())
        return;

    // Only the typed name decides the format, not the file type picked in the list.
    const QString extension = FileNames::extensionOf(path);
    // The watcher may have run while the dialog was open; read the entry afresh.
    const Picture picture = g.exists(index) ? g.imgView(index).picture : Picture();
    enum class Kind { Bmp, Jpeg, Refused } kind = Kind::Jpeg;
    QString refusal;
    if (extension == QLatin1String(".bmp")) {
        kind = Kind::Bmp;
    } else if (extension != QLatin1String(".jpg")) {
        // The dialog asked about the typed name, not about this one: an
        // existing file of this name is not replaced unasked.
        path += QStringLiteral(".jpg");
        if (env.platform.files.fileLength(path) >= 0) {
            kind = Kind::Refused;
            refusal = QCoreApplication::translate(
                "Save", "a file of that name exists already; save with the "
                        "full name to replace it");
        }
    }

    Platform& platform = env.platform;
    IMainWindow& window = env.window;
    runJob<OutputResult>(
        env,
        [&platform, picture, path, kind, refusal] {
            if (kind == Kind::Bmp)
                return writeBmpFile(platform, picture, path);
            if (kind == Kind::Jpeg)
                return writeJpegFile(platform, picture, path);
            return OutputResult{false, refusal, {}};
        },
        [&g, &platform, &window, picture, path, index](JobOutcome<OutputResult>& outcome) {
            ClearIgnoreClipboard clearAtEnd{g};
            const OutputResult result = outcome.succeeded()
                                            ? outcome.value()
                                            : OutputResult{false, failureReason(outcome.failure()), {}};
            // The name changes only to a file that now holds the picture, and only on
            // the entry that still shows it: captures go on arriving while it is written.
            if (result.saved) {
                if (g.exists(index) && g.imgView(index).picture.sameAs(picture))
                    g.imgView(index).toolTipText = path;
            } else {
                platform.messages.warning(&window, failureText(path, result),
                                          QStringLiteral("Pictavo"));
            }
        });
    clearFlag.active = false;
}
