#pragma once

#include <QRect>

// Window and control geometry is laid out in twips (1/1440 inch) for a 9 pt
// application font. Qt works in logical pixels of 1/96 inch and scales those
// itself on high-DPI screens, so this is the one place where the two meet.
//
// A larger application font, as people who see less well set, grows the whole
// layout with it: otherwise its captions would have to shrink to fit the
// controls and the user would lose the size asked for. A window takes the
// application font of the moment it is built.
constexpr int TwipsPerPixel = 15;
constexpr qreal LayoutPointSize = 9;

// How much the layout grows for the application font: 1 up to 9 pt.
qreal layoutScale();

// A font size given for the 9 pt layout, grown with it.
qreal scaledPointSize(qreal pointSize);

int twipsToPixels(int twips);
// Edges are converted rather than sizes, so controls that meet in twips still
// meet in pixels at any scale.
QRect twipsRect(int left, int top, int width, int height);
QSize twipsSize(int width, int height);
