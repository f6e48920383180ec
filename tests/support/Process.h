#pragma once

#include <QProcess>
#include <QStringList>

#include <optional>

// Runs a command to its end and returns its standard output; nothing if it
// could not start, took longer than ms, crashed or exited with an error.
inline std::optional<QString> runProcess(const QString &program, const QStringList &arguments,
                                         int ms = 30000)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(ms) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(process.readAllStandardOutput());
}
