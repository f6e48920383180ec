#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <optional>

// How a program ran: its exit status (-1 when it crashed, or still ran when
// the wait was over and was killed) and what it printed.
struct ProcessRun
{
    bool started = false;
    bool finished = false; // within the wait
    int status = -1;
    QString out, err;
};

// Runs a program and waits up to ms for it to end; a program still running
// then is killed. environment, if given, replaces the inherited one.
inline ProcessRun runProgram(const QString &program, const QStringList &arguments, int ms = 30000,
                             const std::optional<QProcessEnvironment> &environment = {})
{
    QProcess process;
    if (environment)
        process.setProcessEnvironment(*environment);
    process.start(program, arguments);
    ProcessRun run;
    run.started = process.waitForStarted(ms);
    run.finished = run.started && process.waitForFinished(ms);
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
    if (run.status != 0)
        return std::nullopt;
    return run.out;
}
