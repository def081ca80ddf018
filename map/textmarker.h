// The mark of a text that the editor shows, in a table of texts: the translation tools read
// QUARVEL_TR_NOOP("Context", "…") as Qt's QT_TRANSLATE_NOOP, and the code that shows the text
// passes it through Tr("Context", text) (editor/texts.h). In the program the mark is the text
// itself, so the tables stay plain arrays of the texts as written.
#pragma once

#define QUARVEL_TR_NOOP(context, text) text
