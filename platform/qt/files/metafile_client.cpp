#include "platform/qt/files/metafile_client.h"

#include "metafile/helper_protocol.h"
#include "metafile/metafile_format.h"
#include "platform/qt/files/private_files.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QProcess>
#include <QSvgRenderer>

#include <algorithm>
#include <climits>
#include <csignal>

namespace {

std::optional<MetafileDrawing> fail(QString* error, const QString& reason) {
    if (error)
        *error = reason;
    return std::nullopt;
}

QString reasonForExit(int code) {
    using namespace metafile;
    switch (code) {
    case kExitUnreadable:
        return QCoreApplication::translate("Pictures", "the file could not be read");
    case kExitNotMetafile:
        return QCoreApplication::translate("Pictures", "the file is not an EMF or WMF file");
    case kExitTooLarge:
        return QCoreApplication::translate("Pictures",
                                           "the file is too large for the metafile reader");
    case kExitDamaged:
        return QCoreApplication::translate("Pictures", "the metafile is damaged");
    case kExitBadSize:
        return QCoreApplication::translate("Pictures",
                                           "the metafile's picture size is empty or too large");
    case kExitReaderFailed:
        return QCoreApplication::translate("Pictures",
                                           "the metafile reader could not convert the file");
    case kExitBadDrawing:
        return QCoreApplication::translate("Pictures", "the metafile's drawing cannot be shown");
    default:
        return QCoreApplication::translate("Pictures", "the metafile reader failed (exit code %1)")
            .arg(code);
    }
}

// "SVG <width> <height>" with a size the program can rasterise.
bool parseHeader(const QByteArray& line, QSize* frame) {
    const QList<QByteArray> parts = line.split(' ');
    if (parts.size() != 3 || parts[0] != metafile::kReplyTag)
        return false;
    bool okWidth = false, okHeight = false;
    const int width = parts[1].toInt(&okWidth);
    const int height = parts[2].toInt(&okHeight);
    if (!okWidth || !okHeight || width < 1 || height < 1 || width > metafile::kMaxFrameSide ||
        height > metafile::kMaxFrameSide)
        return false;
    *frame = QSize(width, height);
    return true;
}

int remainingMs(const QDeadlineTimer& deadline) {
    const qint64 ms = deadline.remainingTime();
    return ms < 0 ? -1 : static_cast<int>(std::min<qint64>(ms, INT_MAX));
}

void stop(QProcess& helper) {
    helper.kill();
    helper.waitForFinished(-1);
}

} // namespace

bool looksLikeMetafile(const QByteArray& head) {
    return metafile::sniffFormat(reinterpret_cast<const unsigned char*>(head.constData()),
                                 static_cast<std::size_t>(head.size())) !=
           metafile::Format::Unknown;
}

QString metafileHelperPath() { return privateFile(QStringLiteral("pictavo-metafile")); }

std::optional<MetafileDrawing> loadMetafileViaHelper(const QString& helperPath,
                                                     const QString& filePath, int timeoutMs,
                                                     QString* error) {
    const QString problem = privateFileProblem(
        QCoreApplication::translate("Pictures", "the metafile reader"), helperPath);
    if (!problem.isEmpty())
        return fail(error, problem);
    const QDeadlineTimer deadline(timeoutMs);
    QProcess helper;
    helper.setProgram(helperPath);
    helper.setArguments({filePath});
    helper.setStandardInputFile(QProcess::nullDevice());
    helper.setStandardErrorFile(QProcess::nullDevice());
    helper.start(QIODevice::ReadOnly);
    if (!helper.waitForStarted(remainingMs(deadline)))
        return fail(error, QCoreApplication::translate(
                               "Pictures", "the metafile reader could not be started: %1")
                               .arg(helper.errorString()));

    const qsizetype maxReply = qsizetype(metafile::kMaxReplyHeader + metafile::kMaxSvgBytes);
    QByteArray reply;
    while (helper.state() != QProcess::NotRunning) {
        if (deadline.hasExpired()) {
            stop(helper);
            return fail(error, QCoreApplication::translate("Pictures",
                                                           "the metafile reader took too long"));
        }
        helper.waitForReadyRead(remainingMs(deadline));
        reply += helper.readAllStandardOutput();
        if (reply.size() > maxReply) {
            stop(helper);
            return fail(error, QCoreApplication::translate(
                                   "Pictures", "the metafile reader's reply is too large"));
        }
    }
    reply += helper.readAllStandardOutput();

    if (helper.exitStatus() == QProcess::CrashExit) {
        // Qt reports the signal as the exit code; the CPU limit's signal means a runaway parse.
        if (helper.exitCode() == SIGXCPU)
            return fail(error, QCoreApplication::translate("Pictures",
                                                           "the metafile reader took too long"));
        return fail(error, QCoreApplication::translate("Pictures", "the metafile reader crashed"));
    }
    if (helper.exitCode() != metafile::kExitOk)
        return fail(error, reasonForExit(helper.exitCode()));
    if (reply.size() > maxReply)
        return fail(error, QCoreApplication::translate("Pictures",
                                                       "the metafile reader's reply is too large"));

    const qsizetype newline = reply.indexOf('\n');
    MetafileDrawing drawing;
    if (newline < 0 || newline >= qsizetype(metafile::kMaxReplyHeader) ||
        !parseHeader(reply.left(newline), &drawing.frame))
        return fail(error, QCoreApplication::translate(
                               "Pictures", "the metafile reader gave an unreadable reply"));
    drawing.svg = reply.mid(newline + 1);
    if (!QSvgRenderer(drawing.svg).isValid())
        return fail(error, QCoreApplication::translate("Pictures",
                                                       "the metafile's drawing cannot be shown"));
    return drawing;
}
