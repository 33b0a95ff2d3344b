#pragma once

#include "store/tabledef.h"

#include <QString>
#include <QVariantList>
#include <vector>

class Record;

// A filter text ("(Web = True or Apro = True) and Feltoltve = False") as a tree. It is evaluated
// either as parameterised SQL or directly against a record; the two agree, and nothing a user
// typed is ever pasted into SQL.
class Filter
{
public:
    enum class Op { Equal, GreaterOrEqual, LessOrEqual };
    enum class ConstantKind { Number, Text, Boolean };

    struct Constant
    {
        ConstantKind kind = ConstantKind::Number;
        double number = 0;
        QString text; // the digits as written for a number, the unquoted text otherwise
        bool prefix = false; // a quoted text that ended in "*": text holds what precedes it
        bool boolean = false;
    };

    struct Node
    {
        enum class Type { And, Or, Compare } type = Type::Compare;
        std::vector<Node> children;
        QString field;
        Op op = Op::Equal;
        Constant constant;
    };

    struct Sql
    {
        QString where; // empty when everything passes
        QVariantList binds;
    };

    Filter() = default; // passes everything
    // Throws StoreError with a Hungarian message when the text is not a valid filter.
    static Filter parse(const QString &text);

    bool isEmpty() const { return m_root.empty(); }
    const Node *root() const { return m_root.empty() ? nullptr : &m_root.front(); }

    // Throws StoreError when a field is not in the table.
    Sql toSql(const TableDef &table, bool caseInsensitive) const;
    bool matches(const Record &record, bool caseInsensitive) const;

    // A text as a quoted constant, apostrophes doubled: what every filter built from typed text
    // must use.
    static QString quote(const QString &text);

private:
    std::vector<Node> m_root; // zero or one node
};

// The filter texts the program builds for itself, spelt in one place.
namespace filters {

// The rows of a linked table (owners, detailed record, archived owners) that belong to one
// property.
QString ofProperty(double propertyId);
// The one record with this record number.
QString withId(double id);
// The properties on the print list.
QString printListed();

} // namespace filters
