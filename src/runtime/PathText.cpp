#include "PathText.h"

QString pathForMessages(const QByteArray& path) {
    QString shown;
    const auto* bytes = reinterpret_cast<const unsigned char*>(path.constData());
    const qsizetype size = path.size();
    for (qsizetype at = 0; at < size;) {
        const unsigned char lead = bytes[at];
        const int length = lead < 0x80                    ? 1
                           : lead >= 0xC2 && lead <= 0xDF ? 2
                           : lead >= 0xE0 && lead <= 0xEF ? 3
                           : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                          : 0;
        bool valid = length > 0 && at + length <= size;
        for (int next = 1; valid && next < length; ++next) {
            valid = (bytes[at + next] & 0xC0) == 0x80;
        }
        if (valid && length > 1) {
            // Overlong forms, surrogates and code points past U+10FFFF are not text either.
            const unsigned char second = bytes[at + 1];
            valid = !(lead == 0xE0 && second < 0xA0) && !(lead == 0xED && second >= 0xA0) &&
                    !(lead == 0xF0 && second < 0x90) && !(lead == 0xF4 && second >= 0x90);
        }
        if (!valid || (length == 1 && (lead < 0x20 || lead == 0x7F))) {
            shown += QStringLiteral("\\x") +
                     QString::number(lead, 16).rightJustified(2, QLatin1Char('0')).toUpper();
            ++at;
            continue;
        }
        shown += QString::fromUtf8(path.constData() + at, length);
        at += length;
    }
    return shown;
}
