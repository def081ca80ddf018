// Code page 932 conversions at the edge of the widgets.
#include "views/cp932.h"

#include "map/maperror.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace quarvel {

namespace {
constexpr const char* Codec = "Shift_JIS";
}

QString FromCp932(const std::string& bytes) {
    QStringDecoder decoder(Codec, QStringConverter::Flag::Stateless);
    return decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

std::string ToCp932(const QString& text, bool* ok) {
    QStringEncoder encoder(Codec, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (ok) *ok = !encoder.hasError();
    return bytes.toStdString();
}

std::string Cp932FileName(const std::string& bytes) {
    QStringDecoder decoder(Codec, QStringConverter::Flag::Stateless);
    QString name = decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (decoder.hasError())
        throw QuarvelError("ファイル名がShift_JISではありません: " + name.toStdString());
    return QFile::encodeName(name).toStdString();
}

} // namespace quarvel
