#include "store/filter.h"

#include "store/record.h"
#include "store/storeerror.h"
#include "store/textformat.h"

#include <cmath>

namespace {

using Node = Filter::Node;
using Op = Filter::Op;
using Constant = Filter::Constant;
using ConstantKind = Filter::ConstantKind;

// Each parenthesis costs a few stack frames in the parser and in every walk of the tree; typed
// filters never come near this, a pasted or hostile text must not exhaust the stack.
constexpr int maxNesting = 64;

class Parser
{
public:
    explicit Parser(const QString &text)
        : m_text(text)
    { }

    Node parseAll()
    {
        Node node = parseOr();
        skipSpace();
        if (m_pos < m_text.size())
            fail(QStringLiteral("váratlan szöveg"));
        return node;
    }

private:
    [[noreturn]] void fail(const QString &what) const
    {
        throw StoreError(QStringLiteral("Hibás szűrőfeltétel (%1, %2. karakter): %3")
                             .arg(what)
                             .arg(m_pos + 1)
                             .arg(shownText()));
    }

    // A message box can show a typed filter whole, not a pasted page of it.
    QString shownText() const
    {
        constexpr qsizetype shown = 200;
        return m_text.size() <= shown ? m_text : m_text.left(shown) + QChar(0x2026);
    }

    void skipSpace()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace())
            ++m_pos;
    }

    bool atKeyword(const QString &word)
    {
        skipSpace();
        if (m_text.mid(m_pos, word.size()).compare(word, Qt::CaseInsensitive) != 0)
            return false;
        const qsizetype end = m_pos + word.size();
        if (end < m_text.size() && (m_text.at(end).isLetterOrNumber() || m_text.at(end) == u'_'))
            return false;
        m_pos = end;
        return true;
    }

    Node combine(Node::Type type, Node left, Node right)
    {
        if (left.type == type) {
            left.children.push_back(std::move(right));
            return left;
        }
        Node node;
        node.type = type;
        node.children.push_back(std::move(left));
        node.children.push_back(std::move(right));
        return node;
    }

    Node parseOr()
    {
        Node left = parseAnd();
        while (atKeyword(QStringLiteral("or")))
            left = combine(Node::Type::Or, std::move(left), parseAnd());
        return left;
    }

    Node parseAnd()
    {
        Node left = parsePrimary();
        while (atKeyword(QStringLiteral("and")))
            left = combine(Node::Type::And, std::move(left), parsePrimary());
        return left;
    }

    Node parsePrimary()
    {
        skipSpace();
        if (m_pos < m_text.size() && m_text.at(m_pos) == u'(') {
            if (++m_depth > maxNesting)
                fail(QStringLiteral("túl sok egymásba ágyazott zárójel"));
            ++m_pos;
            Node inner = parseOr();
            --m_depth;
            skipSpace();
            if (m_pos >= m_text.size() || m_text.at(m_pos) != u')')
                fail(QStringLiteral("hiányzó záró zárójel"));
            ++m_pos;
            return inner;
        }
        return parseComparison();
    }

    Node parseComparison()
    {
        Node node;
        node.type = Node::Type::Compare;
        skipSpace();
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() &&
               (m_text.at(m_pos).isLetterOrNumber() || m_text.at(m_pos) == u'_'))
            ++m_pos;
        if (m_pos == start)
            fail(QStringLiteral("hiányzó mezőnév"));
        node.field = m_text.mid(start, m_pos - start);
        skipSpace();
        if (m_text.mid(m_pos, 2) == QLatin1String(">=")) {
            node.op = Op::GreaterOrEqual;
            m_pos += 2;
        } else if (m_text.mid(m_pos, 2) == QLatin1String("<=")) {
            node.op = Op::LessOrEqual;
            m_pos += 2;
        } else if (m_pos < m_text.size() && m_text.at(m_pos) == u'=') {
            node.op = Op::Equal;
            ++m_pos;
        } else {
            fail(QStringLiteral("hiányzó összehasonlítás"));
        }
        node.constant = parseConstant();
        return node;
    }

    Constant parseConstant()
    {
        skipSpace();
        Constant c;
        if (m_pos < m_text.size() && m_text.at(m_pos) == u'\'') {
            ++m_pos;
            QString value;
            for (;;) {
                if (m_pos >= m_text.size())
                    fail(QStringLiteral("lezáratlan szöveg"));
                const QChar ch = m_text.at(m_pos++);
                if (ch == u'\'') {
                    if (m_pos < m_text.size() && m_text.at(m_pos) == u'\'') {
                        value += ch;
                        ++m_pos;
                        continue;
                    }
                    break;
                }
                value += ch;
            }
            c.kind = ConstantKind::Text;
            if (value.endsWith(u'*')) {
                c.prefix = true;
                value.chop(1);
            }
            c.text = value;
            return c;
        }
        if (atKeyword(QStringLiteral("true"))) {
            c.kind = ConstantKind::Boolean;
            c.boolean = true;
            return c;
        }
        if (atKeyword(QStringLiteral("false"))) {
            c.kind = ConstantKind::Boolean;
            return c;
        }
        const qsizetype start = m_pos;
        if (m_pos < m_text.size() && (m_text.at(m_pos) == u'-' || m_text.at(m_pos) == u'+'))
            ++m_pos;
        while (m_pos < m_text.size() && (m_text.at(m_pos).isDigit() || m_text.at(m_pos) == u'.'))
            ++m_pos;
        bool ok = false;
        c.text = m_text.mid(start, m_pos - start);
        c.number = c.text.toDouble(&ok);
        if (!ok)
            fail(QStringLiteral("hibás érték"));
        c.kind = ConstantKind::Number;
        return c;
    }

    QString m_text;
    qsizetype m_pos = 0;
    int m_depth = 0;
};

QString quoteIdentifier(const QString &name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

const char *sqlOperator(Op op)
{
    switch (op) {
    case Op::GreaterOrEqual:
        return ">=";
    case Op::LessOrEqual:
        return "<=";
    case Op::Equal:
        break;
    }
    return "=";
}

bool isNumberKind(FieldKind kind)
{
    return kind == FieldKind::Int16 || kind == FieldKind::Int32 || kind == FieldKind::Float ||
        kind == FieldKind::AutoInc || kind == FieldKind::Boolean;
}

// The greatest character: a prefix p matches exactly the texts t with p <= t < p + this.
const QString &prefixCeiling()
{
    static const QString ceiling = QString::fromUcs4(U"\U0010FFFF", 1);
    return ceiling;
}

// The numeric value a constant stands for, if it stands for one.
bool constantNumber(const Constant &c, double *value)
{
    switch (c.kind) {
    case ConstantKind::Number:
        *value = c.number;
        return true;
    case ConstantKind::Boolean:
        *value = c.boolean ? 1 : 0;
        return true;
    case ConstantKind::Text: {
        bool ok = false;
        *value = c.text.trimmed().toDouble(&ok);
        return ok && !c.prefix;
    }
    }
    return false;
}

// The text a constant compares as against a text field.
QString constantText(const Constant &c)
{
    if (c.kind == ConstantKind::Boolean)
        return c.boolean ? QStringLiteral("True") : QStringLiteral("False");
    return c.text;
}

void compareToSql(const Node &node, const TableDef &table, bool ci, Filter::Sql &out)
{
    const int index = table.fieldIndex(node.field);
    if (index < 0)
        throw StoreError(QStringLiteral("Ismeretlen mező a szűrőben: %1").arg(node.field));
    const FieldDef &field = table.fields[index];
    const Constant &c = node.constant;

    if (isNumberKind(field.kind)) {
        double value = 0;
        if (!constantNumber(c, &value)) {
            out.where += QStringLiteral("1 = 0");
            return;
        }
        // A whole number is bound as one. A fraction says its type: the server would take the
        // value as the column's integer and round it, where SQLite compares it as it is.
        const bool whole = std::trunc(value) == value && std::abs(value) < 9.0e15;
        // A record number is its row id (the server keeps a copy computed from it), and only the
        // row id is indexed there: finding a property by number must not scan the register.
        const QString column = field.kind == FieldKind::AutoInc ? QStringLiteral("rowid")
                                                                : quoteIdentifier(field.name);
        out.where += column + QLatin1Char(' ') + QLatin1String(sqlOperator(node.op)) +
            (whole ? QStringLiteral(" ?") : QStringLiteral(" CAST(? AS DOUBLE PRECISION)"));
        out.binds << (whole ? QVariant(qint64(value)) : QVariant(value));
        return;
    }
    if (field.kind == FieldKind::DateTime) {
        out.where += QStringLiteral("1 = 0");
        return;
    }

    // Text and memo fields. Case-blind cursors compare folded texts: through the stored folded
    // copy where the table keeps one (an index range), through the folding function otherwise.
    QString column = quoteIdentifier(field.name);
    QString value = constantText(c);
    const bool textual = c.kind == ConstantKind::Text;
    if (ci && textual) {
        column = field.folded ? quoteIdentifier(TableDef::foldedColumn(field.name))
                              : QStringLiteral("pelmora_fold(%1)").arg(column);
        value = textformat::fold(value);
    }
    if (node.op == Op::Equal && textual && c.prefix) {
        if (value.isEmpty()) {
            out.where += QStringLiteral("1 = 1");
            return;
        }
        out.where += QStringLiteral("(%1 >= ? AND %1 < ?)").arg(column);
        out.binds << value << value + prefixCeiling();
        return;
    }
    out.where +=
        column + QLatin1Char(' ') + QLatin1String(sqlOperator(node.op)) + QStringLiteral(" ?");
    out.binds << value;
}

void nodeToSql(const Node &node, const TableDef &table, bool ci, Filter::Sql &out)
{
    if (node.type == Node::Type::Compare) {
        compareToSql(node, table, ci, out);
        return;
    }
    const QString joiner =
        node.type == Node::Type::And ? QStringLiteral(" AND ") : QStringLiteral(" OR ");
    out.where += QLatin1Char('(');
    for (size_t i = 0; i < node.children.size(); ++i) {
        if (i > 0)
            out.where += joiner;
        nodeToSql(node.children[i], table, ci, out);
    }
    out.where += QLatin1Char(')');
}

template<typename T>
bool compareValues(const T &left, Op op, const T &right)
{
    switch (op) {
    case Op::Equal:
        return left == right;
    case Op::GreaterOrEqual:
        return left >= right;
    case Op::LessOrEqual:
        return left <= right;
    }
    return false;
}

bool compareMatches(const Node &node, const Record &record, bool ci)
{
    const TableDef *table = record.def();
    const int index = table->fieldIndex(node.field);
    if (index < 0)
        throw StoreError(QStringLiteral("Ismeretlen mező a szűrőben: %1").arg(node.field));
    const FieldDef &field = table->fields[index];
    const Constant &c = node.constant;
    const QVariant stored = record.value(index);

    if (isNumberKind(field.kind)) {
        double value = 0;
        if (!constantNumber(c, &value))
            return false;
        const double have =
            field.kind == FieldKind::Boolean ? (stored.toBool() ? 1 : 0) : stored.toDouble();
        return compareValues(have, node.op, value);
    }
    if (field.kind == FieldKind::DateTime)
        return false;

    QString have = stored.toString();
    QString value = constantText(c);
    const bool textual = c.kind == ConstantKind::Text;
    if (ci && textual) {
        have = textformat::fold(have);
        value = textformat::fold(value);
    }
    if (node.op == Op::Equal && textual && c.prefix)
        return have.startsWith(value);
    return compareValues(have, node.op, value);
}

bool nodeMatches(const Node &node, const Record &record, bool ci)
{
    switch (node.type) {
    case Node::Type::Compare:
        return compareMatches(node, record, ci);
    case Node::Type::And:
        for (const Node &child : node.children) {
            if (!nodeMatches(child, record, ci))
                return false;
        }
        return true;
    case Node::Type::Or:
        for (const Node &child : node.children) {
            if (nodeMatches(child, record, ci))
                return true;
        }
        return false;
    }
    return false;
}

} // namespace

Filter Filter::parse(const QString &text)
{
    Filter filter;
    if (text.trimmed().isEmpty())
        return filter;
    filter.m_root.push_back(Parser(text).parseAll());
    return filter;
}

Filter::Sql Filter::toSql(const TableDef &table, bool caseInsensitive) const
{
    Sql sql;
    if (const Node *node = root())
        nodeToSql(*node, table, caseInsensitive, sql);
    return sql;
}

bool Filter::matches(const Record &record, bool caseInsensitive) const
{
    const Node *node = root();
    return !node || nodeMatches(*node, record, caseInsensitive);
}

QString Filter::quote(const QString &text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

namespace filters {

QString ofProperty(double propertyId)
{
    return QStringLiteral("EgyszeruId = ") + textformat::filterNumber(propertyId);
}

QString withId(double id)
{
    return QStringLiteral("Id = ") + textformat::filterNumber(id);
}

QString printListed()
{
    return QStringLiteral("Print = True");
}

} // namespace filters
