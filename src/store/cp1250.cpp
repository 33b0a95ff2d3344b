#include "store/cp1250.h"

#include <QHash>
#include <array>
#include <iconv.h>
#include <stdexcept>

namespace cp1250 {
namespace {

constexpr char16_t undefined = u'?';

// Both directions are built once from iconv's own table, so the mapping is the system's and
// per-character conversion afterwards costs a table look-up.
struct Tables
{
    std::array<char16_t, 256> toUnicode {};
    QHash<char16_t, unsigned char> fromUnicode;

    Tables()
    {
        iconv_t cd = iconv_open("UTF-16LE", "WINDOWS-1250");
        // iconv's documented failure value is the handle -1.
        if (cd == reinterpret_cast<iconv_t>(-1)) // NOLINT(performance-no-int-to-ptr)
            throw std::runtime_error("iconv: WINDOWS-1250 is not available");
        for (int b = 0; b < 256; ++b) {
            char in = static_cast<char>(b);
            char out[4] = {};
            char *inPtr = &in;
            char *outPtr = out;
            size_t inLeft = 1;
            size_t outLeft = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) ||
                outLeft != 2) {
                toUnicode[b] = undefined;
                continue;
            }
            const char16_t u = static_cast<unsigned char>(out[0]) |
                static_cast<char16_t>(static_cast<unsigned char>(out[1]) << 8);
            toUnicode[b] = u;
            fromUnicode.insert(u, static_cast<unsigned char>(b));
        }
        iconv_close(cd);
    }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

} // namespace

QByteArray encode(const QString &text)
{
    const auto &map = tables().fromUnicode;
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x80) {
            out.append(static_cast<char>(c.unicode()));
            continue;
        }
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i; // one character outside the BMP is one "?"
        out.append(static_cast<char>(map.value(c.unicode(), '?')));
    }
    return out;
}

QString decode(const QByteArray &bytes)
{
    const auto &map = tables().toUnicode;
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (const char b : bytes)
        *dst++ = QChar(map[static_cast<unsigned char>(b)]);
    return out;
}

QString clean(const QString &text)
{
    bool plain = true;
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            plain = false;
            break;
        }
    }
    return plain ? text : decode(encode(text));
}

} // namespace cp1250
