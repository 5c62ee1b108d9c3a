#include "platform/qt/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#ifndef PICTAVO_TRANSLATIONS_DIR_FROM_BIN
#error "the build sets PICTAVO_TRANSLATIONS_DIR_FROM_BIN"
#endif

QString translationsFolder() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                           QStringLiteral(PICTAVO_TRANSLATIONS_DIR_FROM_BIN));
}

QStringList installTranslations(QCoreApplication& app, const QLocale& locale) {
    QStringList loaded;
    const auto install = [&](const QString& name, const QString& folder) {
        auto* translator = new QTranslator(&app);
        // Tries each of the user's languages in turn, "pt_BR" before "pt".
        if (translator->load(locale, name, QStringLiteral("_"), folder) &&
            QCoreApplication::installTranslator(translator))
            loaded.append(translator->filePath());
        else
            delete translator;
    };
    install(QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    install(QStringLiteral("pictavo"), translationsFolder());
    return loaded;
}
