#include "Cp936.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {
QString Decode(QByteArrayView bytes) {
    QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}
} // namespace

std::optional<std::string> EncodeCp936(std::u16string_view text) {
    QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    if (!encoder.isValid()) {
        return std::nullopt;
    }
    const QString source = QStringView(text).toString();
    const QByteArray bytes = encoder.encode(source);
    // The converter substitutes characters GBK lacks; a round trip shows them.
    if (encoder.hasError() || Decode(bytes) != source) {
        return std::nullopt;
    }
    return bytes.toStdString();
}

std::u16string DecodeCp936(std::string_view bytes) {
    // The converter drops a lead byte at the very end, as the start of a
    // character still to come. A blank after it makes it a byte without its
    // pair, decoded as U+FFFD like any other; the blank is taken off again.
    const std::string padded = std::string(bytes) + ' ';
    QString text = Decode(QByteArrayView(padded.data(), static_cast<qsizetype>(padded.size())));
    text.chop(1);
    return text.toStdU16String();
}
