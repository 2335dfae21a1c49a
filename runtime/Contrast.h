// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Text colours that stay readable on a given background, whatever the
// desktop theme: a pair of colours keeps at least 4.5:1 between the
// relative luminances of text and background (WCAG AA for normal text).

#include <QColor>

namespace kestrix {

inline constexpr double kMinimumContrast = 4.5;

// (lighter + 0.05) / (darker + 0.05) of the two colours' relative luminances.
double ContrastRatio(const QColor &a, const QColor &b);

// text itself when it is readable on background; otherwise text moved just
// far enough toward black or white (whichever stands out more) to become
// readable, so that a greyed text still looks greyed.
QColor ReadableOn(const QColor &text, const QColor &background);

} // namespace kestrix
