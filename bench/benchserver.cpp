#include "bench/benchserver.h"

#include "store/server.h"
#include "tests/support/serveradmin.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <cstdio>
#include <stdexcept>

namespace {

// pgcluster prints its own diagnostics; a cluster that does not come up in two minutes will not.
constexpr int clusterTimeoutMs = 120000;

bool runCluster(const QString &action, const QString &dir, QString *output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(PELMORA_PGCLUSTER), {action, dir});
    const bool finished = process.waitForFinished(clusterTimeoutMs);
    *output = QString::fromLocal8Bit(process.readAll()).trimmed();
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

BenchServer::BenchServer(bool onServer, const QString &workDir)
{
    if (!onServer)
        return;
    const QString named = server::fromEnvironment();
    if (named.isEmpty()) {
        // As root the cluster belongs to `postgres`, which must reach it through the work folder.
        QFile::setPermissions(
            workDir, QFile::permissions(workDir) | QFileDevice::ExeOther | QFileDevice::ExeGroup);
        m_clusterDir = workDir + QStringLiteral("/pgcluster");
        startCluster();
        return;
    }
    m_admin = named;
    m_description = QStringLiteral("PELMORA_DB ") + server::describe(named);
}

BenchServer::~BenchServer()
{
    for (const QString &database : std::as_const(m_databases)) {
        try {
            serveradmin::dropDatabase(m_admin, database);
        } catch (const std::exception &error) {
            std::fprintf(stderr, "pelmora-bench: database %s left on the server: %s\n",
                         qPrintable(database), error.what());
        }
    }
    stopCluster();
}

void BenchServer::startCluster()
{
    QString output;
    const bool started = runCluster(QStringLiteral("start"), m_clusterDir, &output);
    QFile uri(m_clusterDir + QStringLiteral("/uri"));
    if (!started || !uri.open(QIODevice::ReadOnly)) {
        stopCluster();
        throw std::runtime_error("the throwaway PostgreSQL cluster did not start: " +
                                 output.toStdString());
    }
    m_admin = QString::fromUtf8(uri.readAll()).trimmed();
    m_description = QStringLiteral("throwaway cluster");
}

void BenchServer::stopCluster()
{
    if (m_clusterDir.isEmpty())
        return;
    QString output;
    if (!runCluster(QStringLiteral("stop"), m_clusterDir, &output))
        std::fprintf(stderr, "pelmora-bench: the cluster in %s did not stop: %s\n",
                     qPrintable(m_clusterDir), qPrintable(output));
    m_clusterDir.clear();
}

QString BenchServer::addressOf(const QString &name)
{
    if (!active())
        return {};
    auto found = m_databases.constFind(name);
    if (found == m_databases.constEnd()) {
        try {
            found = m_databases.insert(
                name, serveradmin::createDatabase(m_admin, QStringLiteral("pelmora_bench_")));
        } catch (const std::exception &error) {
            throw std::runtime_error(std::string("no database of its own can be made on the "
                                                 "server (it needs the right to create one): ") +
                                     error.what());
        }
    }
    return serveradmin::withDatabase(m_admin, *found);
}
