// The language of the editor's texts: Japanese, the texts as the code writes them, or English
// from the translation built into the program; Qt's own texts (file and colour dialogs,
// message box buttons) follow the same choice.
#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

namespace quarvel {

enum class TextLanguage { Japanese, English };

// The language a start uses. `forced` (the environment variable QUARVEL_LANGUAGE) and then
// `setting` (Language in the user's quarvel.ini) choose it when they are "en" or "ja";
// otherwise English when the first of the desktop's UI languages (`uiLanguages`, as
// QLocale::uiLanguages gives them) is English, Japanese otherwise. `messagesLocale` is the
// locale of messages (LC_ALL, else LC_MESSAGES, else LANG): a C or POSIX one, or none, keeps
// Japanese whatever LANGUAGE lists, as gettext programs ignore LANGUAGE there.
TextLanguage ChooseTextLanguage(const QString& forced, const QString& setting,
                                const QStringList& uiLanguages, const QString& messagesLocale);

// "en" or "ja" (any case, blanks around allowed) as a language; anything else is none.
bool ParseTextLanguage(const QString& text, TextLanguage& language);

// Installs the translators of `language` in place of those an earlier call installed: Qt's
// own (qtbase_ja or qtbase_en from Qt's translations folder, when installed there) and, for
// English, the editor's, also for the texts of the Qt-free core (SetTextTranslator).
// Japanese leaves the editor's texts as written. False when a translation of the editor
// could not be loaded (its texts then stay Japanese).
bool InstallTextLanguage(QCoreApplication& app, TextLanguage language);

} // namespace quarvel
