#include "Captions.h"

#include <QFontMetrics>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

// The caption as one line, then split in two at each space in turn.
QStringList layouts(const QString &caption)
{
    QStringList result{caption};
    for (qsizetype i = caption.indexOf(u' '); i >= 0; i = caption.indexOf(u' ', i + 1))
        result << caption.left(i) + u'\n' + caption.mid(i + 1);
    return result;
}

// Width and height of the caption as the button draws it.
QSize textSize(const QFontMetrics &metrics, const QString &layout)
{
    const QStringList lines = QString(layout).remove(u'&').split(u'\n');
    int width = 0;
    for (const QString &line : lines)
        width = qMax(width, metrics.horizontalAdvance(line));
    return QSize(width, int(lines.size()) * metrics.height());
}

} // namespace

void fitCaption(QPushButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.rect = button->rect();
    const QSize room =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).size();
    const QString caption = button->text();
    const QStringList candidates = layouts(caption);

    QFont font = button->font();
    const qreal fullSize = font.pointSizeF();
    for (const int stretch : {int(QFont::Unstretched), int(QFont::SemiCondensed)}) {
        font.setStretch(stretch);
        // Half a point at a time, down to three quarters of the full size.
        for (int step = 0; fullSize - step * 0.5 >= fullSize * 0.75; ++step) {
            font.setPointSizeF(fullSize - step * 0.5);
            const QFontMetrics metrics(font);
            QString best;
            int bestWidth = 0;
            for (const QString &layout : candidates) {
                const QSize needed = textSize(metrics, layout);
                if (needed.width() <= room.width() && needed.height() <= room.height() &&
                    (best.isNull() || needed.width() < bestWidth)) {
                    best = layout;
                    bestWidth = needed.width();
                    if (layout == caption)
                        break; // one line that fits beats any split
                }
            }
            if (!best.isNull()) {
                button->setText(best);
                if (font != button->font())
                    button->setFont(font);
                return;
            }
        }
    }
}
