#include "Captions.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>

#include <optional>

namespace {

// The caption as one line, then split in two at each space in turn.
QStringList twoLineLayouts(const QString &caption)
{
    QStringList result{caption};
    for (qsizetype i = caption.indexOf(u' '); i >= 0; i = caption.indexOf(u' ', i + 1))
        result << caption.left(i) + u'\n' + caption.mid(i + 1);
    return result;
}

// Width and height of a caption as drawn, without its access-key marker. Laid
// out as the style draws it: the sum of rounded advances can be a pixel or two
// short of that in a synthesised semi-condensed face.
QSize textSize(const QFontMetrics &metrics, const QString &layout)
{
    return metrics.size(Qt::TextShowMnemonic, layout);
}

struct Fit
{
    QString text;
    QFont font;
    int rank = 0; // how far the font had to shrink; 0 for the full size
};

// The largest font, and at that size the narrowest layout, that fits room.
std::optional<Fit> bestFit(QFont font, const QStringList &layouts, QSize room)
{
    const qreal fullSize = font.pointSizeF();
    int rank = 0;
    for (int step = 0; fullSize - step * 0.5 >= fullSize * 0.7; ++step) {
        font.setPointSizeF(fullSize - step * 0.5);
        for (const int stretch :
             {int(QFont::Unstretched), int(QFont::SemiCondensed), int(QFont::Condensed)}) {
            font.setStretch(stretch);
            const QFontMetrics metrics(font);
            std::optional<Fit> best;
            int bestWidth = 0;
            for (const QString &layout : layouts) {
                const QSize needed = textSize(metrics, layout);
                if (needed.width() <= room.width() && needed.height() <= room.height() &&
                    (!best || needed.width() < bestWidth)) {
                    best = Fit{layout, font, rank};
                    bestWidth = needed.width();
                }
            }
            if (best)
                return best;
            ++rank;
        }
    }
    return std::nullopt;
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
    if (textSize(button->fontMetrics(), caption).width() <= room.width())
        return;
    if (const auto fit = bestFit(button->font(), twoLineLayouts(caption), room)) {
        button->setText(fit->text);
        if (fit->font != button->font())
            button->setFont(fit->font);
    }
}

void fitCaptions(const QList<QLabel *> &labels)
{
    // One font for the whole column, so the captions look alike: the one that
    // the widest caption needs.
    std::optional<Fit> smallest;
    for (QLabel *label : labels) {
        if (textSize(label->fontMetrics(), label->text()).width() <= label->contentsRect().width())
            continue;
        const auto fit = bestFit(label->font(), {label->text()}, label->contentsRect().size());
        if (fit && (!smallest || fit->rank > smallest->rank))
            smallest = fit;
    }
    if (smallest) {
        for (QLabel *label : labels)
            label->setFont(smallest->font);
    }
}

void fitItems(QComboBox *combo)
{
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.rect = combo->rect();
    option.editable = combo->isEditable();
    const QSize room =
        combo->style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
            .size();
    QString widest;
    for (int i = 0; i < combo->count(); ++i) {
        if (textSize(combo->fontMetrics(), combo->itemText(i)).width() >
            textSize(combo->fontMetrics(), widest).width())
            widest = combo->itemText(i);
    }
    if (textSize(combo->fontMetrics(), widest).width() <= room.width())
        return;
    if (const auto fit = bestFit(combo->font(), {widest}, room))
        combo->setFont(fit->font);
}
