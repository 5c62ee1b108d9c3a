#include "commands/file_names.h"

#include <cmath>

namespace FileNames {

QString proposedName(const QString& name, const QString& extension) {
    if (name.size() < 4)
        return {};
    return name.left(name.size() - 4) + extension;
}

QString extensionOf(const QString& path) {
    return path.right(4).toLower();
}

QString fileNameOf(const QString& path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString withTrailingSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString formatSeconds(float seconds, const QString& decimalPoint) {
    const double value = seconds;
    if (value == 0.0 || !std::isfinite(value))
        return QStringLiteral("0");
    // Fixed notation with as many decimals as seven significant digits leave.
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::max(0, 6 - exponent);
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    text.replace(QLatin1Char('.'), decimalPoint);
    return text;
}

QString saveAllBaseName(const QString& folder, int index, const QDateTime& now,
                        const QString& decimalPoint) {
    const auto seconds = static_cast<float>(now.time().msecsSinceStartOfDay() / 1000.0);
    return withTrailingSlash(folder) + QStringLiteral("image_") + QString::number(index + 1) +
           QLatin1Char('_') + now.date().toString(QStringLiteral("MM-dd-yyyy")) + QLatin1Char('_') +
           formatSeconds(seconds, decimalPoint);
}

namespace {
// Characters other systems refuse in a file name, which a target may copy it to.
bool unsafeInName(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7f ||
           QStringLiteral("/\\:*?\"<>|").contains(c);
}
} // namespace

QString dragFileName(const QString& entryName, const QString& fallback) {
    QString base = fileNameOf(entryName);
    // The picture goes out as PNG whatever it was loaded from: "shot.final.jpg" gives "shot.final".
    const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        base.truncate(dot);
    for (QChar& c : base) {
        if (unsafeInName(c))
            c = QLatin1Char('_');
    }
    // A leading dot would hide the file; trailing dots and spaces vanish on other systems.
    while (!base.isEmpty() && (base.front() == QLatin1Char('.') || base.front().isSpace()))
        base.remove(0, 1);
    while (!base.isEmpty() && (base.back() == QLatin1Char('.') || base.back().isSpace()))
        base.chop(1);
    // 255 bytes is the common limit; room is left for ".png".
    constexpr qsizetype kMaxBytes = 200;
    while (base.toUtf8().size() > kMaxBytes) {
        base.chop(1);
        if (!base.isEmpty() && base.back().isHighSurrogate())
            base.chop(1);
    }
    if (base.isEmpty())
        base = fallback;
    return base + QStringLiteral(".png");
}

} // namespace FileNames
