#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

class Record;

enum class FieldKind { Text, Int16, Int32, Float, Boolean, Memo, AutoInc, DateTime };

struct FieldDef
{
    QString name;
    FieldKind kind;
    int width = 0; // characters, text fields only
    // Text fields searched case-blind keep a folded copy and a sort key beside them, written on
    // every post; filters and named indexes then use plain index ranges.
    bool folded = false;
    // The table layout that brought the field (see tables::layoutVersion).
    int since = 1;
};

struct CalcDef
{
    QString name;
    int width;
    std::function<QString(const Record &)> compute;
};

struct IndexDef
{
    QString name; // the name a cursor selects it by ("iar")
    QString field;
    // Further columns the index carries, so that counting a filtered view in this order needs
    // only the index (the folded search columns, for instance).
    QStringList covers = {};
    // The table layout that brought this form of the index: an older register's index of the
    // same name is made anew by that layout's upgrade step.
    int since = 1;
};

struct TableDef
{
    QString name;
    QList<FieldDef> fields;
    QList<CalcDef> calcs;
    QList<IndexDef> indexes;
    // Indexes that only serve filters, each a list of columns.
    QList<QStringList> filterIndexes = {};
    // The table layout that brought the table.
    int since = 1;
    // Columns whose values no two rows may share, enforced by the office server, where several
    // workstations write at once; in the embedded file one writer at a time checks them first.
    // Rows whose values are all empty share nothing.
    QList<QStringList> uniqueOnServer = {};

    int fieldIndex(const QString &fieldName) const; // case-blind, -1 when absent
    int calcIndex(const QString &fieldName) const;
    const IndexDef *index(const QString &indexName) const;

    static QString foldedColumn(const QString &field) { return field + QStringLiteral("_f"); }
    static QString sortColumn(const QString &field) { return field + QStringLiteral("_k"); }
};

// Value a field reads as when never written.
QVariant emptyValue(FieldKind kind);
// A value as the field stores it: texts cut to width and to the Windows-1250 repertoire,
// integers wrapped to their size, booleans and floats normalised.
QVariant storedValue(const FieldDef &field, const QVariant &value);
// A stored value as its column holds it (booleans as 0/1, times as ISO text), and back; a
// column never written reads as the field's empty value.
QVariant toColumn(FieldKind kind, const QVariant &value);
QVariant fromColumn(FieldKind kind, const QVariant &column);
