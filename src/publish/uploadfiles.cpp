#include "publish/uploadfiles.h"

#include "store/cp1250.h"
#include "store/cursor.h"
#include "store/directscan.h"
#include "store/storeerror.h"
#include "store/textformat.h"

#include <QFile>
#include <QFileInfo>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

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

void appendEncodedBytes(QByteArray &out, QByteArrayView bytes)
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

// A TAB or line break inside a plain column would break the portal's line structure: from
// `start` on, CR and LF become a blank, and TAB too with `blankTabs`.
void blankBreaks(QByteArray &out, qsizetype start, bool blankTabs)
{
    char *end = out.data() + out.size();
    for (char *at = out.data() + start; at < end; ++at) {
        if (*at == '\r' || *at == '\n' || (blankTabs && *at == '\t'))
            *at = ' ';
    }
}

void appendCp1250(QByteArray &out, const QString &text, bool blankTabs)
{
    const qsizetype start = out.size();
    cp1250::append(out, text);
    blankBreaks(out, start, blankTabs);
}

void appendUrlEncoded(QByteArray &out, const QString &text)
{
    thread_local QByteArray bytes;
    bytes.clear();
    cp1250::append(bytes, text);
    appendEncodedBytes(out, bytes);
}

void appendNumber(QByteArray &out, qint64 value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end - digits);
}

void appendRounded(QByteArray &out, double value)
{
    // Prices beyond 32 bits are ordinary; only a value no integer type holds goes the long way.
    const double rounded = textformat::roundHalfEven(value);
    if (std::fabs(rounded) < 9.0e18)
        appendNumber(out, static_cast<qint64>(rounded));
    else
        out.append(QByteArray::number(rounded, 'f', 0));
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
        appendCp1250(out, value.toString(), true);
        break;
    case Form::Integer:
        appendNumber(out, value.toLongLong());
        break;
    case Form::Rounded:
        appendRounded(out, value.toDouble());
        break;
    case Form::Flag:
        out.append(value.toBool() ? '1' : '0');
        break;
    case Form::Encoded:
        appendUrlEncoded(out, value.toString());
        break;
    }
}

bool isWholeNumber(FieldKind kind)
{
    return kind == FieldKind::Int16 || kind == FieldKind::Int32 || kind == FieldKind::AutoInc;
}

// The column straight from SQLite's bytes where it holds what its field stores (text as text,
// whole numbers within 32 bits, reals as reals); anything else is read as Qt SQL reads it, so
// both readers write the same bytes for every value a register may hold.
void appendColumn(QByteArray &out, Form form, FieldKind kind, const directscan::Row &row,
                  int column)
{
    using Type = directscan::Row::Type;
    const Type type = row.type(column);
    const bool text = kind == FieldKind::Text || kind == FieldKind::Memo;
    if (type == Type::Text && text && form == Form::Text) {
        const qsizetype start = out.size();
        if (cp1250::appendUtf8(out, row.text(column))) {
            blankBreaks(out, start, true);
            return;
        }
    } else if (type == Type::Text && text && form == Form::Encoded) {
        thread_local QByteArray bytes;
        bytes.clear();
        if (cp1250::appendUtf8(bytes, row.text(column))) {
            appendEncodedBytes(out, bytes);
            return;
        }
    } else if (type == Type::Integer &&
               ((form == Form::Integer && isWholeNumber(kind)) ||
                (form == Form::Flag && kind == FieldKind::Boolean))) {
        const qint64 value = row.integer(column);
        if (value >= std::numeric_limits<qint32>::min() &&
            value <= std::numeric_limits<qint32>::max()) {
            if (form == Form::Integer)
                appendNumber(out, value);
            else
                out.append(value != 0 ? '1' : '0');
            return;
        }
    } else if (type == Type::Real && kind == FieldKind::Float && form == Form::Rounded) {
        appendRounded(out, row.real(column));
        return;
    }
    appendColumn(out, form, row.value(column));
}

QStringList dataFields()
{
    QStringList fields;
    for (const Column &column : dataColumns)
        fields << QString::fromLatin1(column.field);
    return fields;
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
    appendEncodedBytes(out, cp1250Text);
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

QString WriteDataFile(const QString &runStamp, const Cursor &properties, const QDir &directory,
                      RegisterReader reader)
{
    QString path = directory.filePath(dataFileName(runStamp));
    const QStringList fields = dataFields();
    std::array<int, dataColumns.size()> indexes {};
    std::array<FieldKind, dataColumns.size()> kinds {};
    for (size_t i = 0; i < dataColumns.size(); ++i) {
        indexes[i] = properties.def().fieldIndex(fields[static_cast<qsizetype>(i)]);
        kinds[i] = properties.def().fields[indexes[i]].kind;
    }
    LineFile file(path);
    QByteArray &out = file.buffer();
    const auto direct = [&](const directscan::Row &row) {
        for (size_t i = 0; i < dataColumns.size(); ++i) {
            if (i > 0)
                out.append('\t');
            appendColumn(out, dataColumns[i].form, kinds[i], row, static_cast<int>(i));
        }
        file.endLine();
    };
    if (reader == RegisterReader::QtSql || !properties.scanDirect(fields, direct)) {
        properties.scan(fields, [&](const Record &record) {
            for (size_t i = 0; i < dataColumns.size(); ++i) {
                if (i > 0)
                    out.append('\t');
                appendColumn(out, dataColumns[i].form, record.value(indexes[i]));
            }
            file.endLine();
        });
    }
    file.close();
    return path;
}

QString WriteHeadFile(const QString &runStamp, Cursor &properties, const QDir &directory,
                      RegisterReader reader)
{
    QString path = directory.filePath(headFileName(runStamp));
    properties.setFiltered(false);
    const QStringList fields {QStringLiteral("Id"), QStringLiteral("Azonosito")};
    const int id = properties.def().fieldIndex(fields[0]);
    const int azonosito = properties.def().fieldIndex(fields[1]);
    const FieldKind idKind = properties.def().fields[id].kind;
    const FieldKind azonositoKind = properties.def().fields[azonosito].kind;
    LineFile file(path);
    QByteArray &out = file.buffer();
    const auto direct = [&](const directscan::Row &row) {
        appendColumn(out, Form::Integer, idKind, row, 0);
        out.append('\t');
        appendColumn(out, Form::Text, azonositoKind, row, 1);
        out.append('\t');
        file.endLine();
    };
    if (reader == RegisterReader::QtSql || !properties.scanDirect(fields, direct)) {
        properties.scan(fields, [&](const Record &record) {
            appendColumn(out, Form::Integer, record.value(id));
            out.append('\t');
            appendColumn(out, Form::Text, record.value(azonosito));
            out.append('\t');
            file.endLine();
        });
    }
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
        appendCp1250(file.buffer(), record.text(QString::fromLatin1(field)), false);
        file.endLine();
    }
    file.buffer().append(
        cp1250::encode(textformat::numberText(record.number(QStringLiteral("Version")))));
    file.endLine();
    file.close();
    return path;
}
