#include "Twips.h"

#include <QFontInfo>
#include <QGuiApplication>

qreal layoutScale()
{
    const QFont font = QGuiApplication::font();
    // A font given in pixels has no point size of its own.
    const qreal points = font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
    return qMax(qreal(1), points / LayoutPointSize);
}

qreal scaledPointSize(qreal pointSize)
{
    return pointSize * layoutScale();
}

int twipsToPixels(int twips)
{
    return qRound(twips * layoutScale() / TwipsPerPixel);
}

QRect twipsRect(int left, int top, int width, int height)
{
    const int x = twipsToPixels(left);
    const int y = twipsToPixels(top);
    return QRect(x, y, twipsToPixels(left + width) - x, twipsToPixels(top + height) - y);
}

QSize twipsSize(int width, int height)
{
    return QSize(twipsToPixels(width), twipsToPixels(height));
}
