#include "ui/parts/window_language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>

namespace tidepool {

namespace {

// The language part of a BCP 47 tag: "ja" of "ja-Jpan-JP".
QString LanguageOf(const QString& tag) {
    return tag.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
}

} // namespace

WindowLanguage ChooseWindowLanguage(const QStringList& uiLanguages) {
    if (uiLanguages.isEmpty())
        return WindowLanguage::Japanese;
    const QString first = LanguageOf(uiLanguages.constFirst());
    // Qt names the C and POSIX locales "C".
    if (first.isEmpty() || first == QLatin1String("c") || first == QLatin1String("ja"))
        return WindowLanguage::Japanese;
    return WindowLanguage::English;
}

QStringList TranslationFolders(const QString& programFolder) {
    if (programFolder.isEmpty())
        return {};
    const QDir program(programFolder);
    return {QDir::cleanPath(program.filePath(QStringLiteral(TIDEPOOL_TRANSLATIONS_FROM_PROGRAM))),
            program.filePath(QStringLiteral("translations"))};
}

WindowTranslations::WindowTranslations(WindowLanguage language, const QString& programFolder) {
    if (language == WindowLanguage::Japanese) {
        if (qt_.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&qt_);
        return;
    }
    found_ = false;
    for (const QString& folder : TranslationFolders(programFolder)) {
        if (own_.load(QStringLiteral("tidepool_en"), folder)) {
            QCoreApplication::installTranslator(&own_);
            found_ = true;
            return;
        }
    }
}

} // namespace tidepool
