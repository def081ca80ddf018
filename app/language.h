// The language the editor starts in, from the environment, the user's settings and the
// desktop's languages.
#pragma once

#include "views/translations.h"

namespace quarvel {

// ChooseTextLanguage on QUARVEL_LANGUAGE, the setting Language of the user's quarvel.ini (read
// with the bounds of every settings read), QLocale::system().uiLanguages() and the locale of
// messages (LC_ALL, LC_MESSAGES, LANG).
TextLanguage StartTextLanguage();

} // namespace quarvel
