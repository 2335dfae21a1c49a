// SPDX-License-Identifier: GPL-3.0-or-later
// Text keeps 4.5:1 contrast under light and dark themes: the themes and the
// check that the window's scenarios use ("theme dark", "expect fields
// readable"). What a screen reader is told is checked through AT-SPI by
// accessibility-test.py.

#include "TextBox.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

using namespace kestrix;

namespace {

// WCAG 2: the contrast of two sRGB colours, from their relative luminance.
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto linear = [](double v) {
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const auto [darker, lighter] = std::minmax({luminance(a), luminance(b)});
    return (lighter + 0.05) / (darker + 0.05);
}

} // namespace

// Fusion's light palette, or a dark desktop theme as GTK's Adwaita dark gives
// it: light text, dark fields, greyed text a middle grey.
QPalette ThemePalette(const QString &theme)
{
    if (theme != "dark")
        return std::unique_ptr<QStyle>(QStyleFactory::create("Fusion"))->standardPalette();
    QPalette p(QColor(0xee, 0xee, 0xec), QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::Base, QColor(0x2d, 0x2d, 0x2d));
    p.setColor(QPalette::Text, QColor(0xff, 0xff, 0xff));
    p.setColor(QPalette::Disabled, QPalette::Base, QColor(0x32, 0x32, 0x32));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x91, 0x91, 0x90));
    return p;
}

// "readable" when a control's text keeps 4.5:1 on its background in each
// colour group, active, inactive and greyed, and a marked field's background
// is yellow; else the first colours that fail.
QString Legibility(const QWidget *w)
{
    const auto *box = qobject_cast<const TextBox *>(w);
    const bool marked = box && box->background() == TextBox::Background::Edited;
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor text = w->palette().color(group, QPalette::Text);
        const QColor base = w->palette().color(group, QPalette::Base);
        if (contrast(text, base) < 4.5 || (marked && base != QColor(Qt::yellow)))
            return text.name() + " on " + base.name();
    }
    return "readable";
}
