#include "publish/uploadfiles.h"

#include "store/cp1250.h"
#include "store/cursor.h"
#include "store/storeerror.h"
#include "store/textformat.h"

#include <QFile>
#include <QFileInfo>
#include <array>
#include <cmath>

namespace {

constexpr qsizetype flushSize = 1 << 20;

// Writes a file in large blocks; the portal's files run to tens of megabytes.
class LineFile
{
public:
    explicit LineFile(const QString &path)
        : m_file(path)
    {
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            fail();
        m_buffer.reserve(flushSize + qsizetype(64) * 1024);
    }

    QByteArray &buffer() { return m_buffer; }

    void endLine()
    {
        m_buffer.append("\r\n", 2);
        if (m_buffer.size() >= flushSize)
            flush();
    }

    void close()
    {
        flush();
        if (!m_file.flush())
            fail();
        m_file.close();
        if (m_file.error() != QFileDevice::NoError)
            fail();
    }

private:
    void flush()
    {
        if (!m_buffer.isEmpty() && m_file.write(m_buffer) != m_buffer.size())
            fail();
        m_buffer.clear();
    }

    [[noreturn]] void fail()
    {
        throw StoreError(QStringLiteral("A(z) %1 fájl nem írható: %2")
                             .arg(QFileInfo(m_file.fileName()).fileName(), m_file.errorString()));
    }

    QFile m_file;
    QByteArray m_buffer;
};

struct EncodeTable
{
    std::array<std::array<char, 3>, 256> code {};
    std::array<quint8, 256> length {};

    EncodeTable()
    {
        static const char hex[] = "0123456789ABCDEF";
        for (int b = 0; b < 256; ++b) {
            const bool plain =
                (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9');
            if (plain) {
                code[b] = {static_cast<char>(b)};
                length[b] = 1;
            } else if (b == ' ') {
                code[b] = {'+'};
                length[b] = 1;
            } else {
                code[b] = {'%', hex[b >> 4], hex[b & 15]};
                length[b] = 3;
            }
        }
    }
};

const EncodeTable &encodeTable()
{
    static const EncodeTable table;
    return table;
}

void appendUrlEncoded(QByteArray &out, const QByteArray &bytes)
{
    const EncodeTable &table = encodeTable();
    const qsizetype start = out.size();
    out.resize(start + bytes.size() * 3);
    char *dst = out.data() + start;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        const auto &code = table.code[b];
        dst[0] = code[0];
        dst[1] = code[1];
        dst[2] = code[2];
        dst += table.length[b];
    }
    out.truncate(dst - out.constData());
}

// Windows-1250 byte of every UTF-16 code unit, so that the files' tens of megabytes of text
// need no allocation per value. The mapping itself is the store's.
const std::array<char, 65536> &cp1250Table()
{
    static const std::array<char, 65536> table = [] {
        std::array<char, 65536> t {};
        for (int u = 0; u < 65536; ++u) {
            const QChar c(static_cast<char16_t>(u));
            t[u] = c.isSurrogate() ? '?' : cp1250::encode(QString(c)).at(0);
        }
        return t;
    }();
    return table;
}

// The text in Windows-1250, appended; a character outside the repertoire (a surrogate pair
// too) is one "?". With `blankBreaks`, CR and LF become a blank, and TAB too with `blankTabs`.
void appendCp1250(QByteArray &out, const QString &text, bool blankBreaks, bool blankTabs)
{
    const auto &table = cp1250Table();
    const qsizetype start = out.size();
    out.resize(start + text.size());
    char *dst = out.data() + start;
    const auto *src = reinterpret_cast<const char16_t *>(text.utf16());
    const char16_t *end = src + text.size();
    for (; src < end; ++src) {
        char b = table[*src];
        if (QChar::isHighSurrogate(*src) && src + 1 < end && QChar::isLowSurrogate(src[1]))
            ++src;
        if ((blankBreaks && (b == '\r' || b == '\n')) || (blankTabs && b == '\t'))
            b = ' ';
        *dst++ = b;
    }
    out.truncate(dst - out.constData());
}

void appendUrlEncoded(QByteArray &out, const QString &text)
{
    thread_local QByteArray bytes;
    bytes.clear();
    appendCp1250(bytes, text, false, false);
    appendUrlEncoded(out, bytes);
}

QByteArray roundedText(double value)
{
    // Prices beyond 32 bits are ordinary; only a value no integer type holds goes the long way.
    const double rounded = textformat::roundHalfEven(value);
    if (std::fabs(rounded) < 9.0e18)
        return QByteArray::number(static_cast<qint64>(rounded));
    return QByteArray::number(rounded, 'f', 0);
}

enum class Form { Text, Integer, Rounded, Flag, Encoded };

struct Column
{
    const char *field;
    Form form;
};

constexpr std::array<Column, 33> dataColumns {{
    {"Id", Form::Integer},
    {"Azonosito", Form::Text},
    {"TipusId", Form::Rounded},
    {"TipusText", Form::Encoded},
    {"Ar", Form::Rounded},
    {"EpitesEve", Form::Integer},
    {"FelujitasEve", Form::Integer},
    {"EpuletTerulet", Form::Rounded},
    {"TelekTerulet", Form::Rounded},
    {"TelekTeruletMertek", Form::Text},
    {"OsszesHelyseg", Form::Integer},
    {"Szoba", Form::Integer},
    {"Garazs", Form::Integer},
    {"CimIrsz", Form::Text},
    {"CimVaros", Form::Encoded},
    {"CimMegye", Form::Text},
    {"CimUtca", Form::Text},
    {"CimHazszam", Form::Text},
    {"CimEmelet", Form::Text},
    {"CimAjto", Form::Text},
    {"Hrsz", Form::Text},
    {"Kep1", Form::Text},
    {"Kep2", Form::Text},
    {"Kep3", Form::Text},
    {"Kep4", Form::Text},
    {"Apro", Form::Flag},
    {"Web", Form::Flag},
    {"Telepulestis", Form::Flag},
    {"LeirasMagyar", Form::Encoded},
    {"LeirasAngol", Form::Encoded},
    {"LeirasNemet", Form::Encoded},
    {"LeirasApro", Form::Encoded},
    {"CimRegio", Form::Text},
}};

void appendColumn(QByteArray &out, Form form, const QVariant &value)
{
    switch (form) {
    case Form::Text:
        // A TAB or line break inside a plain column would break the portal's line structure.
        appendCp1250(out, value.toString(), true, true);
        break;
    case Form::Integer:
        out.append(QByteArray::number(value.toLongLong()));
        break;
    case Form::Rounded:
        out.append(roundedText(value.toDouble()));
        break;
    case Form::Flag:
        out.append(value.toBool() ? '1' : '0');
        break;
    case Form::Encoded:
        appendUrlEncoded(out, value.toString());
        break;
    }
}

} // namespace

QString MakeRunStamp(const QDateTime &localStart)
{
    const qint64 day = localStart.date().toJulianDay() - QDate(1, 1, 1).toJulianDay() + 1;
    const qint64 millis = localStart.time().msecsSinceStartOfDay();
    return QString::number(day * 86400000 + millis);
}

QByteArray UrlEncode(const QByteArray &cp1250Text)
{
    QByteArray out;
    appendUrlEncoded(out, cp1250Text);
    return out;
}

QByteArray UrlEncode(const QString &text)
{
    QByteArray out;
    appendUrlEncoded(out, text);
    return out;
}

QString dataFileName(const QString &runStamp)
{
    return runStamp + QStringLiteral("ingatlan.data");
}

QString headFileName(const QString &runStamp)
{
    return runStamp + QStringLiteral("ingatlan.head");
}

QString userFileName(const QString &runStamp)
{
    return runStamp + QStringLiteral("ingatlan.user");
}

QString WriteDataFile(const QString &runStamp, const Cursor &properties, const QDir &directory)
{
    QString path = directory.filePath(dataFileName(runStamp));
    QStringList fields;
    std::array<int, dataColumns.size()> indexes {};
    for (size_t i = 0; i < dataColumns.size(); ++i) {
        fields << QString::fromLatin1(dataColumns[i].field);
        indexes[i] = properties.def().fieldIndex(fields.last());
    }
    LineFile file(path);
    QByteArray &out = file.buffer();
    properties.scan(fields, [&](const Record &record) {
        for (size_t i = 0; i < dataColumns.size(); ++i) {
            if (i > 0)
                out.append('\t');
            appendColumn(out, dataColumns[i].form, record.value(indexes[i]));
        }
        file.endLine();
    });
    file.close();
    return path;
}

QString WriteHeadFile(const QString &runStamp, Cursor &properties, const QDir &directory)
{
    QString path = directory.filePath(headFileName(runStamp));
    properties.setFiltered(false);
    const int id = properties.def().fieldIndex(QStringLiteral("Id"));
    const int azonosito = properties.def().fieldIndex(QStringLiteral("Azonosito"));
    LineFile file(path);
    QByteArray &out = file.buffer();
    properties.scan({QStringLiteral("Id"), QStringLiteral("Azonosito")}, [&](const Record &record) {
        out.append(QByteArray::number(record.value(id).toLongLong()));
        out.append('\t');
        appendCp1250(out, record.value(azonosito).toString(), true, true);
        out.append('\t');
        file.endLine();
    });
    file.close();
    return path;
}

QString WriteUserFile(const QString &runStamp, const Cursor &settings, const QDir &directory)
{
    QString path = directory.filePath(userFileName(runStamp));
    const Record record = settings.record();
    LineFile file(path);
    for (const char *field : {"Userid", "Name", "Irsz", "Varos", "Megye", "Utca", "Contact",
                              "Telefon", "Email", "Web"}) {
        appendCp1250(file.buffer(), record.text(QString::fromLatin1(field)), true, false);
        file.endLine();
    }
    file.buffer().append(
        cp1250::encode(textformat::numberText(record.number(QStringLiteral("Version")))));
    file.endLine();
    file.close();
    return path;
}
