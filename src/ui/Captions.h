#pragma once

#include <QList>

class QComboBox;
class QLabel;
class QPushButton;

// Make a caption fully readable within its control's fixed size, whatever the
// desktop's default font. A caption that fits is left alone. Otherwise a
// button's caption first breaks onto two lines at the space that balances them
// best; then the font steps down half a point at a time, trying a condensed
// face at each size, until the text fits. The access key is kept.
void fitCaption(QPushButton *button);
// For a column of labels: one font for all, the one the widest caption needs.
void fitCaptions(const QList<QLabel *> &labels);

// For a drop-down list: a font in which every item shows whole in the box.
void fitItems(QComboBox *combo);
