#pragma once

#include <QString>

enum class PrintOutcome {
    Printed,    // handed to the printer's spooler
    NoPrinter,  // no default printer is configured
    Failed,     // the printer refused the job
    DoesNotFit, // an address is larger than the printer's label; nothing was sent
};

// The default printer as the labels see it: plain lines, one under the other,
// and a document that becomes one print job when it is ended.
class Printer
{
public:
    virtual ~Printer() = default;

    // Starts a label: the lines up to the next label, or the end of the
    // document, are one customer's and stay together on paper.
    virtual void beginLabel() = 0;
    virtual void printLine(const QString &text) = 0;
    virtual void printEmptyLine() = 0;
    // Sends every line since the last end as one job; afterwards the next
    // line starts a new document whatever the outcome.
    virtual PrintOutcome endDocument() = 0;
    // Writes the document that the last end found no printer for to a PDF
    // file instead, the same lines drawn the same way. True when the file is
    // complete; on failure that name holds what it held before.
    virtual bool saveUnprintedDocument(const QString &pdfFile) = 0;
};
