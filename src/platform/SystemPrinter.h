#pragma once

#include "platform/Printer.h"

#include <QStringList>

// The system's default printer, driven through QPrinter with its own default
// font, page and margins. Lines are kept until the document ends and then
// drawn and sent as one job, so a refused job leaves nothing half printed.
class SystemPrinter : public Printer
{
public:
    // An empty outputFile prints to the default printer; otherwise the job is
    // written to that PDF file instead (for measuring without a printer).
    explicit SystemPrinter(QString outputFile = QString());

    void printLine(const QString &text) override;
    void printEmptyLine() override;
    PrintOutcome endDocument() override;

private:
    QString mOutputFile;
    QStringList mLines;
};

// How a line is drawn: control characters become their visible Unicode
// pictures and unpaired surrogates the replacement character, so that nothing
// typed is lost or sent to the printer as a command.
QString printableText(const QString &text);
