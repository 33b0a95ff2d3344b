#pragma once

#include <QMap>
#include <QString>

// The PostgreSQL server a run on `--db postgres` measures: the one PELMORA_DB names, or a
// throwaway cluster started for the run (tests/support/pgcluster). Each register of a case gets
// a database of its own there; the destructor drops them and stops a cluster it started, so a
// case that fails or throws leaves nothing running.
class BenchServer
{
public:
    // Starts nothing when `onServer` is false. Throws std::runtime_error, saying why, when the
    // server cannot be had.
    BenchServer(bool onServer, const QString &workDir);
    ~BenchServer();
    BenchServer(const BenchServer &) = delete;
    BenchServer &operator=(const BenchServer &) = delete;

    bool active() const { return !m_admin.isEmpty(); }
    // Where the register `name` lives: made on the first ask; empty when not on a server.
    QString addressOf(const QString &name);
    // The server as the line of a case tells it.
    QString description() const { return m_description; }

private:
    void startCluster();
    void stopCluster();

    QString m_admin; // the superuser's address, on a database the databases are made from
    QString m_clusterDir; // set while a cluster of our own runs
    QString m_description;
    QMap<QString, QString> m_databases; // register name -> database name
};
