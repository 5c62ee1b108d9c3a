// The program's texts and Qt's own (dialog buttons, key names) in the user's language.
#pragma once

#include <QLocale>
#include <QString>

class QCoreApplication;

/** The folder of the program's translations, found from its own location like the
    private folder, so the build tree and an installation work alike. */
QString translationsFolder();

/**
 * Installs Qt's translations and the program's for locale's languages into app, before
 * any window is made. Returns the files loaded; a language without a file stays English.
 */
QStringList installTranslations(QCoreApplication& app, const QLocale& locale = QLocale::system());
