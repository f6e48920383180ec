#pragma once

#include <QRect>

// Window and control geometry is laid out in twips (1/1440 inch). Qt works in
// logical pixels of 1/96 inch and scales those itself on high-DPI screens, so
// this is the one place where the two meet.
constexpr int TwipsPerPixel = 15;

constexpr int twipsToPixels(int twips)
{
    return twips / TwipsPerPixel;
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

constexpr QSize twipsSize(int width, int height)
{
    return QSize(twipsToPixels(width), twipsToPixels(height));
}
