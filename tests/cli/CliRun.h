#pragma once

#include "RomFixture.h"

#include <QProcess>
#include <QTemporaryDir>

// Runs the built glyphox-cli on files of a temporary folder, its save journals kept in a
// folder of their own. A word of a command that starts with @ names a file in the folder.
class CCliRun
{
protected:
    QTemporaryDir m_dir;
    QTemporaryDir m_dataHome;
    QString m_out, m_err;

    CCliRun() { RomFixture::UsePrivateDataHome(m_dataHome); }

    QString Path(const QString& name) const { return m_dir.filePath(name); }

    QProcess* Start(const QString& command, const QProcessEnvironment& env) const
    {
        QStringList args = command.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (QString& arg : args)
            if (arg.startsWith(QLatin1Char('@')))
                arg = Path(arg.mid(1));
        auto* process = new QProcess;
        process->setProcessEnvironment(env);
        process->start(QStringLiteral(GLYPHOX_CLI), args);
        return process;
    }

    // Waits for the process, keeps its output and deletes it: its exit status, -1 when it
    // crashed or hung.
    int Finish(QProcess* process)
    {
        const bool finished = process->waitForFinished(60000);
        m_out = QString::fromUtf8(process->readAllStandardOutput());
        m_err = QString::fromUtf8(process->readAllStandardError());
        const int code =
            finished && process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
        delete process;
        return code;
    }

    int Run(const QString& command,
            const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
    {
        return Finish(Start(command, env));
    }
};
