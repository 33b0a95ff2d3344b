#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <vector>

class Cursor;

// The register's tables: one SQLite file in the data directory, or the office's PostgreSQL
// server that several workstations share. Cursors, copies and transactions all go through one
// open Database, which the program passes to whatever needs it; nothing above it knows which
// of the two it runs on.
class Database : public QObject
{
    Q_OBJECT
public:
    static constexpr const char *fileName = "pelmora.sqlite";

    // What a new register starts with, written in the same unit as its tables: a register is
    // either made whole or not at all.
    using Seed = std::function<void(Database &)>;

    // Opens the database of the data directory. A file holding no tables yet gets every table,
    // and the seed's rows, in one unit; one of an earlier layout is brought up to this program's
    // layout in one unit, keeping its rows. Throws StoreError (Hungarian message) when the file
    // cannot be opened, made or brought up to date.
    // The server is the one the environment names (server::fromEnvironment()), if any.
    explicit Database(const QString &dataDir, QObject *parent = nullptr);
    Database(const QString &dataDir, const Seed &seed, QObject *parent = nullptr);
    // `server` is a libpq connection URI or key=value string; empty: the embedded file.
    Database(const QString &dataDir, const Seed &seed, const QString &server,
             QObject *parent = nullptr);
    ~Database() override;

    // The directory the alias stands for, ending with a path separator.
    const QString &dataDir() const { return m_dataDir; }
    // The tables were made by this open.
    bool createdNow() const { return m_createdNow; }
    QSqlDatabase connection() const;
    // The tables live on the office server, not in the data directory's file.
    bool isServer() const { return !m_server.isEmpty(); }
    const QString &server() const { return m_server; }

    // What an INSERT appends so that insertedRowId() can tell the new record's row id.
    QString returningRowId() const;
    qint64 insertedRowId(QSqlQuery &query) const;

    // Every write to a table goes through here. The table's generation moves at once, so every
    // cursor's cached rows go stale; `changed` goes out at once outside a unit, and inside one
    // only when the outermost unit has committed.
    void tableChanged(const QString &table);
    quint64 generation(const QString &table) const { return m_generations.value(table); }

    // A unit of writes that stands or falls together: constructed before the first write,
    // commit() at the end; destroyed without commit() it undoes everything since construction,
    // and the cursors that wrote in it drop their edits and read the table again. Units nest
    // (an inner one is a savepoint of the outer).
    class Transaction
    {
    public:
        explicit Transaction(Database &db);
        ~Transaction();
        Transaction(const Transaction &) = delete;
        Transaction &operator=(const Transaction &) = delete;
        void commit();

    private:
        Database &m_db;
        int m_depth;
        bool m_done = false;
    };

    // Runs one statement, throwing StoreError with the driver's text on failure.
    void exec(const QString &sql);
    // Runs one parameterised statement, read forward only; throws StoreError on failure.
    QSqlQuery query(const QString &sql, const QVariantList &binds = {});

signals:
    void changed(const QString &table);

private:
    friend class Cursor;

    // A cursor that wrote in a unit, and where it stood before its first write there.
    struct Touched
    {
        QPointer<Cursor> cursor;
        qint64 rowId;
        int position;
    };
    struct Unit
    {
        std::vector<Touched> cursors;
        QStringList tables;
    };

    void openConnection();
    // The server tells every workstation which tables another one's commit changed.
    static constexpr const char *changeChannel = "pelmora_valtozas";
    void listen();
    void announce(const QStringList &tables);
    void heard(const QString &channel, QSqlDriver::NotificationSource source,
               const QVariant &payload);
    // The server went away and is back (restarted, the network mended): a new connection, set
    // up as the first, and every cached row read again. False while it is still away.
    bool reconnect();
    // A failed statement's error for the user; a lost server connection is tried again once
    // outside a unit (`retry`), since nothing was half done there.
    QString failure(const QSqlError &error, int attempt, bool *retry);
    void open(const Seed &seed);
    void setUpSession();
    void registerFold();
    // Called by a cursor before it writes, with its current record and place.
    void cursorWrites(Cursor &cursor, qint64 rowId, int position);
    void endUnit(bool committed);
    void rollBack(Unit &unit);

    QString m_dataDir;
    QString m_server;
    QString m_connectionName;
    bool m_createdNow = false;
    std::vector<Unit> m_units; // the open units, outermost first
    QHash<QString, quint64> m_generations;
};
