#include "LabelPages.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

// The narrower side of the widest medium that takes one customer a page. Every
// label roll (DYMO's up to 4 in, Brother's up to 103 mm), 4 x 6 and 4 x 8 in
// shipping labels, #10 and DL envelopes and postcards are within it; office
// paper, from A5 at 5.8 in, is not.
constexpr qreal NarrowestSheet = 4.5 * 72; // points

// One label laid out at a width: the blank lines before and after its address,
// and the address's rows, a line wider than the width wrapped and an empty line
// within the address a row with no text. No row is ever left out.
//
// On a label rows break at spaces only, so that no word, hyphenated name or
// ZIP+4 code is split; a word wider than the label overflows its row, which is
// for the fit to see. On a sheet a word wider than the page breaks anywhere
// rather than run off it.
struct LaidOutLabel
{
    LaidOutLabel(const QStringList &lines, const QFont &font, QPaintDevice *device, qreal width,
                 bool wholeWords)
        : blank(QFontMetricsF(font, device).lineSpacing())
    {
        const auto isText = [](const QString &line) { return !line.isEmpty(); };
        const auto first = std::find_if(lines.begin(), lines.end(), isText);
        leading = int(first - lines.begin());
        if (first == lines.end())
            return;
        const auto last = std::find_if(lines.rbegin(), lines.rend(), isText).base();
        trailing = int(lines.end() - last);

        QTextOption option;
        option.setWrapMode(wholeWords ? QTextOption::WordWrap
                                      : QTextOption::WrapAtWordBoundaryOrAnywhere);
        option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
        for (auto line = first; line != last; ++line) {
            if (line->isEmpty()) {
                addRow(QTextLine(), blank);
                continue;
            }
            const QString text = printableText(*line);
            option.setTextDirection(text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
            auto &layout = *layouts.emplace_back(std::make_unique<QTextLayout>(text, font, device));
            layout.setTextOption(option);
            layout.beginLayout();
            for (QTextLine row = layout.createLine(); row.isValid(); row = layout.createLine()) {
                row.setLineWidth(width);
                if (wholeWords)
                    breakAtSpace(row, text);
                widest = qMax(widest, row.naturalTextWidth());
            }
            layout.endLayout();
            wraps = wraps || layout.lineCount() > 1;
            // A script the default font lacks comes from a fallback font that
            // may be taller; never let its rows overlap the next line.
            for (int i = 0; i < layout.lineCount(); ++i)
                addRow(layout.lineAt(i), qMax(blank, layout.lineAt(i).height()));
        }
    }

    // Qt also breaks after a hyphen or a slash: move such a break back to the
    // last space in the row, or on to the next when the row has none.
    static void breakAtSpace(QTextLine &row, const QString &text)
    {
        const qsizetype start = row.textStart();
        const qsizetype end = start + row.textLength();
        if (end >= text.size() || text.at(end - 1) == u' ')
            return;
        qsizetype space = text.lastIndexOf(u' ', end - 1);
        if (space < start) {
            space = text.indexOf(u' ', end);
            if (space < 0)
                space = text.size() - 1;
        }
        row.setNumColumns(int(space + 1 - start));
    }

    void addRow(const QTextLine &line, qreal rowHeight)
    {
        rows.push_back({line, rowHeight});
        height += rowHeight;
    }

    struct Row
    {
        QTextLine line; // not valid for an empty line
        qreal height;
    };
    qreal blank;
    int leading = 0;
    int trailing = 0;
    std::vector<std::unique_ptr<QTextLayout>> layouts; // what the rows draw
    std::vector<Row> rows;
    qreal height = 0;
    qreal widest = 0;   // the widest row's text
    bool wraps = false; // some line is wider than the width
};

// Every label laid out in a frame, in device pixels.
struct Fit
{
    bool fits = true;   // every address within the frame, no word broken
    bool wraps = false; // some line is wider than the frame
    qreal tallest = 0;  // the tallest address
    qreal widest = 0;   // the widest row
};

// The part of a page the printer reaches, in device pixels rounded down: the
// rows are measured in it and drawn in it, and nothing drawn there falls past
// the page's edge.
QSizeF printableSize(const QSizeF &points, const QMarginsF &margins, qreal pixelsPerPoint)
{
    return {std::floor((points.width() - margins.left() - margins.right()) * pixelsPerPoint),
            std::floor((points.height() - margins.top() - margins.bottom()) * pixelsPerPoint)};
}

Fit fitLabels(const LabelDocument &labels, QPaintDevice *device, const QSizeF &frame)
{
    const QFont font;
    Fit fit;
    for (const QStringList &lines : labels) {
        const LaidOutLabel label(lines, font, device, frame.width(), true);
        fit.fits = label.widest <= frame.width() && label.height <= frame.height();
        if (!fit.fits)
            break;
        fit.wraps = fit.wraps || label.wraps;
        fit.tallest = qMax(fit.tallest, label.height);
        fit.widest = qMax(fit.widest, label.widest);
    }
    return fit;
}

} // namespace

bool isSingleLabel(const QPageSize &medium)
{
    const QSizeF size = medium.size(QPageSize::Point);
    return medium.isValid() && qMin(size.width(), size.height()) <= NarrowestSheet;
}

std::optional<LabelLayout> layOutLabels(const LabelDocument &labels, const Medium &medium,
                                        QPaintDevice *device)
{
    LabelLayout layout{medium.size};
    if (!isSingleLabel(medium.size))
        return layout;
    layout.labelPerPage = true;

    const qreal pixelsPerPoint = device->logicalDpiY() / 72.0;
    const QMarginsF &margins = medium.margins;
    const QSize page = medium.size.sizePoints();
    // Tape runs as long as the driver lets a page be.
    const QSizeF upright =
        printableSize(QSizeF(page.width(), medium.continuous ? medium.longest : page.height()),
                      margins, pixelsPerPoint);

    const Fit standing = fitLabels(labels, device, upright);
    Fit fit = standing;
    if (!standing.fits || standing.wraps) {
        const Fit turned = fitLabels(labels, device, upright.transposed());
        layout.across = turned.fits;
        if (turned.fits)
            fit = turned;
        else if (!standing.fits)
            return std::nullopt;
    }
    if (medium.continuous) {
        const qreal address = (layout.across ? fit.widest : fit.tallest) / pixelsPerPoint;
        // In whole points, as a PDF page has them, and rounded up with room for
        // the device's rounding, so that the last row still fits.
        const qreal length = address + margins.top() + margins.bottom() + 0.5;
        layout.page = QPageSize(QSize(page.width(), int(std::ceil(qMax(length, medium.shortest)))),
                                QString(), QPageSize::ExactMatch);
    }
    return layout;
}

// Draws the labels down the pages in the device's default font. An address is
// never split: on a sheet a label starts a new page when its address would not
// fit on what is left of this one, and on labels every label is a page of its
// own. Blank lines give way: those that would run past the end of a page, or
// push an address off it, are left out rather than carried over, so no page
// comes out blank. Only an address taller than a whole page flows on to the
// next.
bool drawLabels(QPagedPaintDevice &device, const LabelDocument &labels, const LabelLayout &layout)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QFont font;
    const QPageLayout pageLayout = device.pageLayout();
    QSizeF page =
        printableSize(pageLayout.pageSize().sizePoints(), pageLayout.margins(QPageLayout::Point),
                      device.logicalDpiY() / 72.0);
    QTransform turn;
    if (layout.across) {
        // The page stays as the driver defines it, so the printer's edges hold
        // on all four sides whichever way a driver would turn a landscape page.
        turn.translate(0, page.height());
        turn.rotate(-90);
        page.transpose();
        painter.setTransform(turn);
    }
    qreal y = 0;
    bool pageHasAddress = false;
    // Should a page break fail, what was drawn still goes out when the painter
    // ends (abort() does nothing for PDF and CUPS output), but the job reports
    // a failure.
    const auto newPage = [&] {
        y = 0;
        pageHasAddress = false;
        if (!device.newPage())
            return false;
        if (layout.across)
            painter.setTransform(turn);
        return true;
    };
    for (const QStringList &lines : labels) {
        const LaidOutLabel label(lines, font, &device, page.width(), layout.labelPerPage);
        const auto blanksThatFit = [&](int count, qreal below) {
            return std::clamp(int((page.height() - y - below) / label.blank), 0, count);
        };
        if (pageHasAddress && !label.rows.empty() &&
            (layout.labelPerPage ||
             y + label.leading * label.blank + label.height > page.height()) &&
            !newPage())
            return false;
        y += blanksThatFit(label.leading, label.height) * label.blank;
        for (const LaidOutLabel::Row &row : label.rows) {
            if (y > 0 && y + row.height > page.height() && !newPage())
                return false;
            if (row.line.isValid())
                row.line.draw(&painter, QPointF(0, y - row.line.y()));
            y += row.height;
            pageHasAddress = true;
        }
        y += blanksThatFit(label.trailing, 0) * label.blank;
    }
    return painter.end();
}

QString printableText(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (u < 0x20)
            result += QChar(char16_t(0x2400 + u));
        else if (u == 0x7f)
            result += QChar(char16_t(0x2421));
        else if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            result += c;
            result += text.at(++i);
        } else if ((u >= 0x80 && u <= 0x9f) || c.isSurrogate())
            // C1 controls have no pictures of their own; a lone surrogate is no
            // character at all.
            result += QChar(QChar::ReplacementCharacter);
        else
            result += c;
    }
    return result;
}
