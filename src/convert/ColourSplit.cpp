#include "ColourSplit.h"

#include "runtime/Numbers.h"

namespace {

// One character's digit value: "0" <= c <= "9" as an ordinal string comparison (an empty text is
// below "0"), else exact equality with "A" to "F", else 0.
std::int16_t digitValue(QStringView character) {
    if (character.compare(u"0") >= 0 && character.compare(u"9") <= 0) {
        return static_cast<std::int16_t>(character.front().unicode() - u'0');
    }
    constexpr char16_t letters[] = u"ABCDEF";
    for (int index = 0; index < 6; ++index) {
        if (character == QStringView(&letters[index], 1)) {
            return static_cast<std::int16_t>(10 + index);
        }
    }
    return 0;
}

} // namespace

std::int16_t HexPairValue(const QString& text) {
    return HexPairValue(QStringView(text));
}

std::int16_t HexPairValue(QStringView text) {
    const std::int16_t first = digitValue(text.left(1));
    const std::int16_t last = digitValue(text.right(1));
    return checkedAdd16(checkedMultiply16(first, 16), last);
}

ColourChannels SplitColour(ColourValue colour) {
    // A negative value is written as the eight digits of its two's complement.
    const QString hex = QString::number(static_cast<quint32>(colour), 16).toUpper();
    const QString padded = QStringLiteral("000000") + hex;
    const QStringView six = QStringView(padded).right(6);
    ColourChannels channels;
    channels.red = HexPairValue(six.right(2));
    channels.green = HexPairValue(six.mid(2, 2));
    channels.blue = HexPairValue(six.left(2));
    return channels;
}
