#pragma once

#include "store/changelog.h"

#include <QDialog>
#include <QList>

class Database;
class QTableView;

// The change log of one property, `fNaplo`: who did what to it and when, the newest first. The
// log is a record of what happened, so it is shown, never edited.
class TfNaplo : public QDialog
{
    Q_OBJECT
public:
    TfNaplo(const QString &identifier, const QList<changelog::Entry> &entries,
            QWidget *parent = nullptr);

    QTableView *grid() const { return m_grid; }

    // The log of a property of the register, or of an archived one (record numbers of their
    // own tables), shown modally; a log that cannot be read is said, not shown.
    static void showOfProperty(Database &db, int propertyId, const QString &identifier,
                               QWidget *parent);
    static void showOfArchived(Database &db, int archiveId, const QString &identifier,
                               QWidget *parent);

private:
    void buildGrid(const QList<changelog::Entry> &entries);

    QTableView *m_grid = nullptr;
};
