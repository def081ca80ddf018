// Code page 932 at the edge of the widgets: QString in, QString out.
#include "views/cp932.h"

#include "map/cp932.h"

namespace quarvel {

QString FromCp932(const std::string& bytes) {
    return QString::fromStdString(Cp932ToUtf8Lossy(bytes));
}

std::string ToCp932(const QString& text, bool* ok) {
    std::string bytes;
    const bool converted = TryUtf8ToCp932(text.toStdString(), bytes);
    if (ok) *ok = converted;
    return converted ? bytes : std::string();
}

} // namespace quarvel
