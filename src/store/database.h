#pragma once

#include <QHash>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

// The register's tables in one SQLite file in the data directory. Cursors, copies and
// transactions all go through one open Database, which the program passes to whatever needs it.
class Database : public QObject
{
    Q_OBJECT
public:
    static constexpr const char *fileName = "pelmora.sqlite";

    // Opens the database of the data directory, creating the file and its tables when missing.
    // Throws StoreError (Hungarian message) when the file cannot be opened or created.
    explicit Database(const QString &dataDir, QObject *parent = nullptr);
    ~Database() override;

    // The directory the alias stands for, ending with a path separator.
    const QString &dataDir() const { return m_dataDir; }
    bool createdNow() const { return m_createdNow; }
    QSqlDatabase connection() const;

    // Every write to a table goes through here, so that every cursor on that table can tell its
    // view is stale.
    void tableChanged(const QString &table);
    quint64 generation(const QString &table) const { return m_generations.value(table); }

    // A unit of writes that stands or falls together: constructed before the first write,
    // commit() at the end; destroyed without commit() it undoes everything since construction.
    // Units nest (an inner one is a savepoint of the outer).
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
    void createMissingTables();
    void registerFunctions();

    QString m_dataDir;
    QString m_connectionName;
    bool m_createdNow = false;
    int m_transactionDepth = 0;
    QHash<QString, quint64> m_generations;
};
