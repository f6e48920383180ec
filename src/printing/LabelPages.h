#pragma once

#include <QList>
#include <QMarginsF>
#include <QPageSize>
#include <QStringList>

#include <optional>

class QPagedPaintDevice;
class QPaintDevice;

// Each label's lines, in order.
using LabelDocument = QList<QStringList>;

// A printer's medium as its driver defines it: upright, with the edges the
// printer cannot print on in that frame.
struct Medium
{
    QPageSize size;
    QMarginsF margins; // points
    // Tape the printer cuts wherever a page ends, so that a label is as long
    // as the page we send: any length from shortest to longest (points).
    bool continuous = false;
    qreal shortest = 0;
    qreal longest = 0;
};

// How a document's labels go on a medium.
struct LabelLayout
{
    QPageSize page;            // the medium, or continuous tape cut to length
    bool labelPerPage = false; // else labels run down the page
    // The address runs along the label, from the page's bottom edge to its
    // top: turn the label a quarter clockwise to read it.
    bool across = false;
};

// Whether a medium takes one customer a page: a label, envelope or postcard
// rather than office paper.
bool isSingleLabel(const QPageSize &medium);

// Where the labels go on a medium, measured in the device's default font:
// addresses down a sheet; on a label upright, across it when a line is wider
// than the label, and on continuous tape cut to the longest address. Nothing
// when some address fits a label neither way round without breaking a word.
std::optional<LabelLayout> layOutLabels(const LabelDocument &labels, const Medium &medium,
                                        QPaintDevice *device);

// Draws the labels on the device's pages as laid out, within its margins. True
// when every page was drawn and the device took them.
bool drawLabels(QPagedPaintDevice &device, const LabelDocument &labels, const LabelLayout &layout);

// How a line is drawn: C0 controls and DEL become their visible Unicode
// pictures, C1 controls (which have none) and unpaired surrogates the
// replacement character, so that nothing typed vanishes from the page or
// reaches the printer as a command. The text kept for the job is unchanged.
QString printableText(const QString &text);
