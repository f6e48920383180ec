#pragma once

#include "printing/Printer.h"

#include <QList>
#include <QStringList>

class QPageSize;

// The system's default printer, driven through QPrinter on the paper the
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

    // Each label's lines, in order.
    using Document = QList<QStringList>;

private:
    QString mOutputFile;
    Document mLabels;
    Document mUnprinted; // the last document, while no printer took it
};

// How a line is drawn: C0 controls and DEL become their visible Unicode
// pictures, C1 controls (which have none) and unpaired surrogates the
// replacement character, so that nothing typed vanishes from the page or
// reaches the printer as a command. The text kept for the job is unchanged.
QString printableText(const QString &text);

// The paper of the user's locale (LC_PAPER): what a PDF is laid out on when
// there is no printer to ask.
QPageSize localePaper();

// Whether a medium is one label rather than a sheet that labels are printed
// down.
bool isSingleLabel(const QPageSize &medium);
