// StartTextLanguage: what the start finds in the environment and the settings.
#include "app/language.h"

#include "app/recentsettings.h"

#include <QLocale>
#include <QSettings>

namespace quarvel {

TextLanguage StartTextLanguage() {
    QString setting;
    ReadSettingsFile(UserSettingsFile("quarvel", "quarvel"),
                     [&](QSettings& settings) { setting = settings.value("Language").toString(); });
    QString messages;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        messages = qEnvironmentVariable(name);
        if (!messages.isEmpty()) break;
    }
    return ChooseTextLanguage(qEnvironmentVariable("QUARVEL_LANGUAGE"), setting,
                              QLocale::system().uiLanguages(), messages);
}

} // namespace quarvel
