#pragma once

#include "print/printoutput.h"
#include "store/registerstate.h"
#include "tests/support/tempdatadir.h"

#include <QHash>
#include <QStringList>
#include <QVariant>
#include <memory>

// A data directory with the register's cursors, and every printer run written to a PDF file of
// its own, read back as text.
class PrintFixture
{
public:
    PrintFixture();

    TempDataDir dir;
    Database db;
    RegisterState cursors;

    // Sends every run of `output` to a fresh PDF file; `runs()` lists them in order.
    void capture(PrintOutput &output);
    const QStringList &runs() const { return m_runs; }
    // The text of a run's PDF in content order, pages separated by form feeds.
    static QString pdfText(const QString &file);
    QString runText(int index) const { return pdfText(m_runs.value(index)); }
    QString pdfFile(const QString &name) const { return dir.filePath(name); }
    // Paints one report into a PDF of its own and returns its text.
    QString render(const PaintRoutine &paint, int copies = 1);

    void setSettings(const QHash<QString, QVariant> &values);
    // A property with the given fields; returns its Id.
    int addProperty(const QHash<QString, QVariant> &values);
    void addDetails(int egyszeruId, const QHash<QString, QVariant> &values);
    void addOwner(int egyszeruId, const QHash<QString, QVariant> &values);

private:
    // A record of a table that refers to a property, closed again like the program's tables.
    void addLinked(Cursor &cursor, int egyszeruId, const QHash<QString, QVariant> &values);

    QStringList m_runs;
    int m_rendered = 0;
};

// The number of pages of a text from pdfText.
int pageCount(const QString &text);
// The text of one page (from 0).
QString pageText(const QString &text, int page);
// A price as the list prints it, with plain blanks for the grouping (as the PDF reads back).
QString printedMoney(double amount);
// True when the texts appear in this order in `text`.
bool inOrder(const QString &text, const QStringList &parts);
