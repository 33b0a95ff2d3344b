#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Another copy of the program as a real process: one of the small helper programs of the tests,
// told what to do one line at a time on its standard input, answering a line at a time.
struct HelperProcess
{
    QProcess process;

    bool start(const QString &program, const QStringList &arguments)
    {
        process.start(program, arguments);
        return process.waitForStarted();
    }
    // The next line it wrote; empty when it ended without one.
    QString readLine()
    {
        while (!process.canReadLine()) {
            if (!process.waitForReadyRead(60000))
                return QString();
        }
        return QString::fromUtf8(process.readLine()).trimmed();
    }
    // Sends one command and returns the answer line.
    QString ask(const QString &command)
    {
        send(command);
        return readLine();
    }
    void send(const QString &command)
    {
        process.write(command.toUtf8() + '\n');
        process.waitForBytesWritten();
    }
    bool exit()
    {
        send(QStringLiteral("exit"));
        return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
            process.exitCode() == 0;
    }
    ~HelperProcess()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
};
