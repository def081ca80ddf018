// Qt's own texts (file and colour dialogs, message box buttons) in Japanese, as the rest of
// the editor, whatever language the user's session is set to.
#pragma once

class QCoreApplication;

namespace quarvel {

// Installs Qt's Japanese translations from Qt's translations folder. False when they are
// not installed there (Qt's texts then stay English).
bool InstallJapaneseQtTexts(QCoreApplication& app);

} // namespace quarvel
