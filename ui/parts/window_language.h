#pragma once

#include <QString>
#include <QStringList>
#include <QTranslator>

namespace tidepool {

// The languages the windows speak. Japanese is the program's own: its texts are written in it,
// and English comes from a translation.
enum class WindowLanguage { Japanese, English };

// The language for the user's preferred languages, most preferred first, as
// QLocale::system().uiLanguages() gives them: Japanese when Japanese comes first, and when no
// preference is stated (the C and POSIX locales, "C"); English for any other.
WindowLanguage ChooseWindowLanguage(const QStringList& uiLanguages);

// The folders the translations are looked for in, first match first: where an installed program
// keeps them (<prefix>/share/tidepool/translations for <prefix>/bin), then the folder
// translations beside the program, where a build tree keeps them.
QStringList TranslationFolders(const QString& programFolder);

// Puts the application's texts into language while it lives: Tidepool's own, and Qt's own
// (its dialogs' buttons and titles) when Qt's translations are installed. Japanese needs no
// translation of Tidepool's texts, English none of Qt's.
class WindowTranslations {
  public:
    WindowTranslations(WindowLanguage language, const QString& programFolder);
    WindowTranslations(const WindowTranslations&) = delete;
    WindowTranslations& operator=(const WindowTranslations&) = delete;

    // False when the language needs a translation of Tidepool's texts that was not found.
    bool found() const { return found_; }

  private:
    QTranslator own_;
    QTranslator qt_;
    bool found_ = true;
};

} // namespace tidepool
