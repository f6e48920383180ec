#pragma once

#include <QMarginsF>
#include <QSizeF>
#include <QString>

#include <optional>

// What CUPS itself says of a queue where Qt's print support does not tell.
// libcups is loaded when the program first asks, that is when it first prints,
// and never at start-up; without it every answer is "don't know".
struct CupsQueue
{
    // False only when CUPS says the queue takes no jobs, as after cupsreject:
    // a job sent there is lost.
    bool acceptsJobs = true;
    // The queue's default medium to the hundredth of a millimetre, and the
    // edges the printer cannot print on (points), upright as the driver
    // defines it. Qt rounds a driver's size to a standard one nearby.
    std::optional<QSizeF> mediumSize; // points
    QMarginsF mediumMargins;          // points
};

// The queue a Qt printer name (queue or queue/instance) stands for.
CupsQueue cupsQueue(const QString &printerName);

// Whether CUPS refused the last job sent from this thread. Qt's CUPS print
// engine sends a job when its painter ends and never looks at the answer.
bool cupsRefusedLastJob();
