// The changed keys of the menu's commands in the user's settings (group "Shortcuts": the
// command's name, its key in Qt's portable text, empty for no key).
#pragma once

#include "editor/shortcuts.h"

namespace quarvel {

// The kept keys, read by the bounded settings reader: nothing from a settings file that is no
// regular file or is too large. A value that is no text is kept as a text no key has.
TKeptShortcuts ReadShortcuts();
// Keeps `changes` in place of the kept keys; a settings file that is no regular file or is
// too large is left as it is.
void WriteShortcuts(const TKeptShortcuts& changes);

} // namespace quarvel
