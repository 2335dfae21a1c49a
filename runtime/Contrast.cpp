// SPDX-License-Identifier: GPL-3.0-or-later
#include "Contrast.h"

#include <algorithm>
#include <cmath>

namespace kestrix {

namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double luminance(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

// In whole 8-bit channels, as the colour is painted.
QColor mixed(const QColor &from, const QColor &to, double share)
{
    const auto channel = [share](int a, int b) { return int(std::lround(a + (b - a) * share)); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}

} // namespace

double ContrastRatio(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableOn(const QColor &text, const QColor &background)
{
    const QColor solid(text.rgb());
    if (ContrastRatio(solid, background) >= kMinimumContrast)
        return solid;
    // One of black and white always reaches 4.58:1 at least.
    const QColor extreme =
        ContrastRatio(Qt::black, background) >= ContrastRatio(Qt::white, background)
            ? QColor(Qt::black)
            : QColor(Qt::white);
    constexpr int kSteps = 20;
    for (int step = 1; step < kSteps; ++step) {
        const QColor candidate = mixed(solid, extreme, double(step) / kSteps);
        if (ContrastRatio(candidate, background) >= kMinimumContrast)
            return candidate;
    }
    return extreme;
}

} // namespace kestrix
