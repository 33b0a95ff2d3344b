#include "newsfile.h"

#include "cp1250.h"
#include "cursor.h"
#include "database.h"
#include "storeerror.h"
#include "tables.h"
#include "textformat.h"

#include <QFile>
#include <QFileInfo>
#include <limits>
#include <optional>
#include <vector>

namespace {

constexpr int actionNews = 1;
constexpr int actionInquiry = 2;

// The inquiry's twelve lines in the order they come; the last two are prices.
const char *const inquiryFields[] = {
    "Nev",     "CimIrsz", "CimVaros",  "CimUtca",   "CimMegye",
    "Telefon", "Email",   "TipusText", "Telepules", "Szoveg",
};

struct Entry
{
    QString mikor;
    QString kuldo;
    int action = 0;
    QString uzenet;
    QStringList inquiry;
    double artol = 0;
    double arig = 0;
};

// A line ends at CR, an LF right after it belonging to the line end; 0x1A or the physical end
// ends the file. A lone LF is an ordinary character of the line.
std::vector<QByteArray> splitLines(QByteArray bytes)
{
    const qsizetype eof = bytes.indexOf('\x1a');
    if (eof >= 0)
        bytes.truncate(eof);
    std::vector<QByteArray> lines;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype cr = bytes.indexOf('\r', pos);
        if (cr < 0)
            cr = bytes.size();
        lines.push_back(bytes.mid(pos, cr - pos));
        pos = cr + 1;
        if (pos < bytes.size() && bytes.at(pos) == '\n')
            ++pos;
    }
    return lines;
}

std::optional<qint64> wholeNumber(const QByteArray &line, qint64 min, qint64 max)
{
    const QByteArray text = line.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    if (i == text.size() || text.size() - i > 12)
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    if (negative)
        value = -value;
    if (value < min || value > max)
        return std::nullopt;
    return value;
}

class Reader
{
public:
    explicit Reader(std::vector<QByteArray> lines)
        : m_lines(std::move(lines))
    { }

    bool atEnd() const { return m_next >= m_lines.size(); }

    bool onlyBlankLinesLeft() const
    {
        for (size_t i = m_next; i < m_lines.size(); ++i) {
            if (!m_lines[i].isEmpty())
                return false;
        }
        return true;
    }

    const QByteArray &line()
    {
        if (atEnd())
            throw StoreError(QStringLiteral("a fájl a(z) %1. sornál egy bejegyzés közepén véget ér")
                                 .arg(m_next + 1));
        return m_lines[m_next++];
    }

    QString text() { return cp1250::decode(line()); }
    const QByteArray &lastLine() const { return m_lines[m_next - 1]; }

    qint64 number(qint64 min, qint64 max, const QString &what)
    {
        const QByteArray &read = line();
        const std::optional<qint64> value = wholeNumber(read, min, max);
        if (!value)
            throw StoreError(
                QStringLiteral("a(z) %1. sorban nem szabályos %2 áll").arg(m_next).arg(what));
        return *value;
    }

private:
    std::vector<QByteArray> m_lines;
    size_t m_next = 0;
};

std::vector<Entry> parse(std::vector<QByteArray> lines)
{
    Reader reader(std::move(lines));
    std::vector<Entry> entries;
    while (!reader.onlyBlankLinesLeft()) {
        Entry entry;
        entry.mikor = reader.text();
        entry.kuldo = reader.text();
        entry.action = static_cast<int>(reader.number(std::numeric_limits<qint16>::min(),
                                                      std::numeric_limits<qint16>::max(),
                                                      QStringLiteral("műveletkód")));
        // Codes other than news and inquiry show their own line as the message.
        entry.uzenet = cp1250::decode(reader.lastLine());
        if (entry.action == actionNews) {
            entry.uzenet = reader.text();
        } else if (entry.action == actionInquiry) {
            entry.uzenet = QStringLiteral("Érdeklődés érkezett.");
            for (size_t i = 0; i < std::size(inquiryFields); ++i)
                entry.inquiry << reader.text();
            const QString price = QStringLiteral("ár");
            entry.artol = static_cast<double>(reader.number(
                std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(), price));
            entry.arig = static_cast<double>(reader.number(
                std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(), price));
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

void store(Database &db, const std::vector<Entry> &entries)
{
    Database::Transaction transaction(db);
    Cursor hirek(db, tables::hirek, false);
    Cursor erdeklodes(db, tables::erdeklodes, false);
    const QString processed = textformat::timestampNow();
    for (const Entry &entry : entries) {
        hirek.append();
        hirek.setValue(QStringLiteral("Mikor"), entry.mikor);
        hirek.setValue(QStringLiteral("Kuldo"), entry.kuldo);
        hirek.setValue(QStringLiteral("Action"), entry.action);
        hirek.setValue(QStringLiteral("Uzenet"), entry.uzenet);
        if (entry.action == actionInquiry) {
            erdeklodes.append();
            for (size_t i = 0; i < std::size(inquiryFields); ++i)
                erdeklodes.setValue(QString::fromLatin1(inquiryFields[i]),
                                    entry.inquiry.at(static_cast<qsizetype>(i)));
            erdeklodes.setValue(QStringLiteral("Artol"), entry.artol);
            erdeklodes.setValue(QStringLiteral("Arig"), entry.arig);
            erdeklodes.setValue(QStringLiteral("Mikor"), processed);
            erdeklodes.post();
        }
        hirek.post();
    }
    transaction.commit();
}

} // namespace

bool ProcessNewsFile(Database &db, const QString &path,
                     const std::function<void(const QString &)> &log, NewsCounts *counts)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        log(QStringLiteral("A(z) %1 nem olvasható (%2), a hírek a szerveren maradnak.")
                .arg(name, file.errorString()));
        return false;
    }
    const QByteArray bytes = file.readAll();
    const bool readOk = file.error() == QFileDevice::NoError;
    file.close();
    if (!readOk) {
        log(QStringLiteral("A(z) %1 nem olvasható (%2), a hírek a szerveren maradnak.")
                .arg(name, file.errorString()));
        return false;
    }

    std::vector<Entry> entries;
    try {
        entries = parse(splitLines(bytes));
    } catch (const StoreError &error) {
        log(QStringLiteral("Hibás %1: %2. A hírek nem kerültek rögzítésre.")
                .arg(name, error.message()));
        return false;
    }
    try {
        store(db, entries);
    } catch (const StoreError &error) {
        log(QStringLiteral("A hírek rögzítése nem sikerült: %1").arg(error.message()));
        return false;
    }

    NewsCounts stored;
    stored.messages = static_cast<int>(entries.size());
    for (const Entry &entry : entries)
        stored.inquiries += entry.action == actionInquiry ? 1 : 0;
    if (counts)
        *counts = stored;
    if (!QFile::remove(path))
        log(QStringLiteral("A(z) %1 nem törölhető.").arg(name));
    log(QString::number(stored.messages) + QStringLiteral(" új hír érkezett."));
    if (stored.inquiries >= 1)
        log(QString::number(stored.inquiries) + QStringLiteral(" új érdeklődés érkezett."));
    return true;
}
