#pragma once

#include "printing/Printer.h"

#include <QStringList>

// The system's default printer, driven through QPrinter with its own default
// font, page and margins. Lines are kept until the document ends and then
// drawn and sent as one job, so a refused job leaves nothing half printed.
class SystemPrinter : public Printer
{
public:
    // An empty outputFile prints to the default printer; otherwise every job
    // is written to that PDF file instead, as the tests and benchmarks do.
    // A document without lines sends no job, so no blank page comes out. A PDF
    // file appears complete or not at all.
    explicit SystemPrinter(QString outputFile = QString());

    void printLine(const QString &text) override;
    void printEmptyLine() override;
    PrintOutcome endDocument() override;
    bool saveUnprintedDocument(const QString &pdfFile) override;

private:
    QString mOutputFile;
    QStringList mLines;
    QStringList mUnprinted; // the last document, while no printer took it
};

// How a line is drawn: C0 controls and DEL become their visible Unicode
// pictures, C1 controls (which have none) and unpaired surrogates the
// replacement character, so that nothing typed vanishes from the page or
// reaches the printer as a command. The text kept for the job is unchanged.
QString printableText(const QString &text);
