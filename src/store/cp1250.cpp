#include "store/cp1250.h"

#include <array>
#include <cstring>
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
    // Indexed by UTF-16 code unit: a lone surrogate reads as "?".
    std::array<char, 0x10000> fromUnicode {};

    Tables()
    {
        fromUnicode.fill('?');
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
            fromUnicode[u] = static_cast<char>(b);
        }
        iconv_close(cd);
        for (char16_t u = 0; u < 0x80; ++u)
            fromUnicode[u] = static_cast<char>(u);
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
    QByteArray out;
    append(out, text);
    return out;
}

void append(QByteArray &out, QStringView text)
{
    const auto &map = tables().fromUnicode;
    const qsizetype start = out.size();
    out.resize(start + text.size());
    char *dst = out.data() + start;
    const char16_t *src = text.utf16();
    const char16_t *end = src + text.size();
    for (; src < end; ++src) {
        *dst++ = map[*src];
        if (QChar::isHighSurrogate(*src) && src + 1 < end && QChar::isLowSurrogate(src[1]))
            ++src; // one character outside the BMP is one "?"
    }
    out.truncate(dst - out.constData());
}

bool appendUtf8(QByteArray &out, QByteArrayView utf8)
{
    const auto &map = tables().fromUnicode;
    const qsizetype start = out.size();
    out.resize(start + utf8.size()); // never more bytes than the UTF-8 has
    char *dst = out.data() + start;
    const auto *src = reinterpret_cast<const unsigned char *>(utf8.data());
    const unsigned char *end = src + utf8.size();
    const auto follows = [&](int n) {
        if (end - src <= n)
            return false;
        for (int i = 1; i <= n; ++i) {
            if ((src[i] & 0xC0) != 0x80)
                return false;
        }
        return true;
    };
    while (src < end) {
        // Runs of ASCII, the bulk of every text, eight bytes at a time.
        quint64 word;
        if (end - src >= 8 && (std::memcpy(&word, src, 8), (word & 0x8080808080808080ULL) == 0)) {
            std::memcpy(dst, src, 8);
            dst += 8;
            src += 8;
            continue;
        }
        const unsigned char lead = *src;
        if (lead < 0x80) {
            *dst++ = static_cast<char>(lead);
            ++src;
            continue;
        }
        char32_t code = 0;
        if (lead >= 0xC2 && lead < 0xE0 && follows(1)) {
            code = (char32_t(lead & 0x1F) << 6) | (src[1] & 0x3F);
            src += 2;
        } else if (lead >= 0xE0 && lead < 0xF0 && follows(2)) {
            code = (char32_t(lead & 0x0F) << 12) | (char32_t(src[1] & 0x3F) << 6) | (src[2] & 0x3F);
            if (code < 0x800 || (code >= 0xD800 && code < 0xE000))
                break; // overlong, or a surrogate written as a character
            src += 3;
        } else if (lead >= 0xF0 && lead < 0xF5 && follows(3)) {
            code = (char32_t(lead & 0x07) << 18) | (char32_t(src[1] & 0x3F) << 12) |
                (char32_t(src[2] & 0x3F) << 6) | (src[3] & 0x3F);
            if (code < 0x10000 || code > 0x10FFFF)
                break;
            src += 4;
        } else {
            break;
        }
        *dst++ = code < 0x10000 ? map[code] : '?';
    }
    if (src < end) {
        out.truncate(start);
        return false;
    }
    out.truncate(dst - out.constData());
    return true;
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
