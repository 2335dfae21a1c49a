// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The windows are designed in twips (1/1440 inch) and fonts in points at
// 96 dpi; Qt scales the resulting pixels for high-DPI screens.

#include <QFont>
#include <QRect>

namespace kestrix {

inline constexpr int kTwipsPerPixel = 15;

constexpr int Pixels(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

constexpr QRect TwipsRect(int left, int top, int width, int height)
{
    return QRect(Pixels(left), Pixels(top), Pixels(width), Pixels(height));
}

// The designed sans-serif face at a point size of the design: 8.25, 9.75 or
// 13.5. Sized in pixels so the text keeps its place in the twips layout
// whatever dpi the screen reports. Liberation Sans and Arial, narrowed a
// little, keep the captions within the widths the layout was drawn for.
QFont DesignFont(double points, bool bold = false);

} // namespace kestrix
