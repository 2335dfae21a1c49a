// SPDX-License-Identifier: GPL-3.0-or-later
// Field and help text keep 4.5:1 contrast under light and dark themes. What
// a screen reader is told is checked through AT-SPI by accessibility-test.py.

#include "SetupFixture.h"
#include "frmIstruzioni.h"

#include <QStyle>
#include <QStyleFactory>
#include <QTextEdit>

#include <algorithm>
#include <cmath>

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

// A dark desktop theme as GTK's Adwaita dark gives it: light text, dark
// fields, greyed text a middle grey.
QPalette darkPalette()
{
    QPalette p(QColor(0xee, 0xee, 0xec), QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::Base, QColor(0x2d, 0x2d, 0x2d));
    p.setColor(QPalette::Text, QColor(0xff, 0xff, 0xff));
    p.setColor(QPalette::Disabled, QPalette::Base, QColor(0x32, 0x32, 0x32));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x91, 0x91, 0x90));
    return p;
}

struct PaletteGuard
{
    QPalette saved = QApplication::palette();
    ~PaletteGuard() { QApplication::setPalette(saved); }
};

} // namespace

TEST_F(SetupFixture, TextKeepsItsContrastInEveryStateUnderLightAndDarkThemes)
{
    const PaletteGuard guard;
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create("Fusion"));
    for (const auto &[theme, palette] :
         {std::pair{"light", fusion->standardPalette()}, {"dark", darkPalette()}}) {
        QApplication::setPalette(palette);
        const frmIstruzioni help(services); // its own colours, as a tooltip's
        const QPalette shown = help.rtfIstruzioni->palette();
        EXPECT_GE(contrast(shown.color(QPalette::Text), shown.color(QPalette::Base)), 4.5) << theme;
        // Marked: edited, or dropped on without the focus; greyed: switched off.
        for (const auto &[marked, greyed] :
             {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
            SCOPED_TRACE(std::string(theme) + (marked ? ", marked" : "") +
                         (greyed ? ", greyed" : ""));
            setup->cmdDefault_Click();
            Check(setup.get(), "chkRange")->setValue(1);
            TextBox *box = Text(setup.get(), "txtRangeLow", 0);
            if (marked)
                box->setText("14");
            if (greyed)
                Check(setup.get(), "chkRange")->setValue(0);
            ASSERT_EQ(box->background() == TextBox::Background::Edited, marked);
            ASSERT_EQ(box->isEnabled(), !greyed);
            for (const QPalette::ColorGroup group :
                 greyed ? std::vector{QPalette::Disabled}
                        : std::vector{QPalette::Active, QPalette::Inactive}) {
                const QColor base = box->palette().color(group, QPalette::Base);
                const QColor text = box->palette().color(group, QPalette::Text);
                EXPECT_GE(contrast(text, base), 4.5)
                    << text.name().toStdString() << " on " << base.name().toStdString();
                EXPECT_TRUE(!marked || base == QColor(Qt::yellow)) << base.name().toStdString();
            }
        }
    }
}
