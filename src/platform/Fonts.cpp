#include "Fonts.h"

QFont formFont(QFont font)
{
    font.setPointSizeF(7.5);
    font.setStretch(QFont::SemiCondensed);
    return font;
}
