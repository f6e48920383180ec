#pragma once

#include "printing/Printer.h"

#include <QList>
#include <QStringList>

// Keeps what would have gone to the printer: the lines of the open document and
// every ended document (job). An empty line is recorded as an empty text.
class RecordingPrinter : public Printer
{
public:
    void beginLabel() override { mLabelStarts.append(mOpen.size()); }
    void printLine(const QString &text) override { mOpen.append(text); }
    void printEmptyLine() override { mOpen.append(QString()); }
    PrintOutcome endDocument() override
    {
        jobs.append(std::exchange(mOpen, {}));
        labelStarts.append(std::exchange(mLabelStarts, {}));
        return outcome;
    }

    // Saving goes through the real printer's PDF output; its tests cover it.
    bool saveUnprintedDocument(const QString &) override { return false; }

    QList<QStringList> jobs;
    // For each job, the line at which each of its labels starts.
    QList<QList<qsizetype>> labelStarts;
    // What every job reports, so tests can play a missing or failing printer.
    PrintOutcome outcome = PrintOutcome::Printed;

private:
    QStringList mOpen;
    QList<qsizetype> mLabelStarts;
};
