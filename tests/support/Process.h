#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <optional>

// How a program ran: finished within the wait (else it was killed), its exit
// status (-1 after a crash) and what it printed.
struct ProcessRun
{
    bool finished = false;
    int status = -1;
    QString out, err;
};

inline ProcessRun runProgram(const QString &program, const QStringList &arguments, int ms = 30000,
                             const std::optional<QProcessEnvironment> &environment = {})
{
    QProcess process;
    if (environment)
        process.setProcessEnvironment(*environment);
    process.start(program, arguments);
    ProcessRun run;
    run.finished = process.waitForFinished(ms);
    if (!run.finished) {
        process.kill();
        process.waitForFinished(ms);
    } else if (process.exitStatus() == QProcess::NormalExit) {
        run.status = process.exitCode();
    }
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

// Runs a command to its end and returns its standard output; nothing if it
// could not start, took longer than ms, crashed or exited with an error.
inline std::optional<QString> runProcess(const QString &program, const QStringList &arguments,
                                         int ms = 30000)
{
    const ProcessRun run = runProgram(program, arguments, ms);
    return run.status == 0 ? std::optional(run.out) : std::nullopt;
}
