#pragma once

#include "printing/LabelPages.h"
#include "printing/Printer.h"

class QPageSize;

// The system's default printer, driven through QPrinter on the medium the
// printer holds, with its own default font and within the area it can print.
// Lines are kept until the document ends and then drawn and sent as one job,
// so a refused job leaves nothing half printed.
class SystemPrinter : public Printer
{
public:
    // An empty outputFile prints to the default printer; otherwise every job
    // is written to that PDF file instead, as the tests and benchmarks do.
    // A document without lines sends no job, so no blank page comes out. A PDF
    // file appears complete or not at all.
    explicit SystemPrinter(QString outputFile = QString());

    void beginLabel() override;
    void printLine(const QString &text) override;
    void printEmptyLine() override;
    PrintOutcome endDocument() override;
    bool saveUnprintedDocument(const QString &pdfFile) override;

private:
    QString mOutputFile;
    LabelDocument mLabels;
    LabelDocument mUnprinted; // the last document, while no printer took it
};

// The paper of the user's locale (LC_PAPER): what a PDF is laid out on when
// there is no printer to ask, and a printer that names no medium is given.
QPageSize localePaper();
