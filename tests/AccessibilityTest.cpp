// SPDX-License-Identifier: GPL-3.0-or-later
#include "SetupFixture.h"

#include <QAccessible>
#include <QStyle>
#include <QStyleFactory>

#include <cmath>
#include <memory>

using namespace kestrix;

namespace {

// WCAG 2: relative luminance of an sRGB colour, and the contrast of two.
double luminance(const QColor &colour)
{
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.red()) + 0.7152 * linear(colour.green()) +
           0.0722 * linear(colour.blue());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
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

QPalette lightPalette()
{
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    return fusion->standardPalette();
}

class PaletteGuard
{
public:
    explicit PaletteGuard(const QPalette &palette) { QApplication::setPalette(palette); }
    ~PaletteGuard() { QApplication::setPalette(m_saved); }

private:
    QPalette m_saved = QApplication::palette();
};

struct FieldState
{
    const char *name;
    bool marked;
    bool greyed;
};

const FieldState kFieldStates[] = {
    {"normal", false, false},
    {"marked", true, false},
    {"greyed", false, true},
    {"marked and greyed", true, true}, // a drop marks a field without the focus
};

} // namespace

TEST_F(SetupFixture, FieldTextKeepsItsContrastInEveryStateUnderLightAndDarkThemes)
{
    for (const auto &[theme, palette] :
         {std::pair{"light", lightPalette()}, {"dark", darkPalette()}}) {
        const PaletteGuard guard(palette);
        for (const FieldState &state : kFieldStates) {
            setup->cmdDefault_Click();
            Check(setup.get(), "chkRange")->setValue(1);
            TextBox *box = Text(setup.get(), "txtRangeLow", 0);
            if (state.marked)
                box->setText(QStringLiteral("14"));
            if (state.greyed)
                Check(setup.get(), "chkRange")->setValue(0);
            ASSERT_EQ(box->background() == TextBox::Background::Edited, state.marked);
            ASSERT_EQ(box->isEnabled(), !state.greyed);
            const auto groups = state.greyed ? std::vector{QPalette::Disabled}
                                             : std::vector{QPalette::Active, QPalette::Inactive};
            for (const QPalette::ColorGroup group : groups) {
                const QColor base = box->palette().color(group, QPalette::Base);
                const QColor text = box->palette().color(group, QPalette::Text);
                EXPECT_GE(contrast(text, base), 4.5)
                    << theme << ", " << state.name << ": " << text.name().toStdString() << " on "
                    << base.name().toStdString();
                if (state.marked) {
                    EXPECT_EQ(base, QColor(Qt::yellow)) << theme << ", " << state.name;
                }
            }
        }
    }
}

TEST_F(SetupFixture, EveryFieldAndListHasANameOfItsOwn)
{
    QStringList names;
    for (QWidget *w : setup->findChildren<QWidget *>()) {
        if (w->focusPolicy() == Qt::NoFocus || w->window() != setup.get())
            continue;
        QAccessibleInterface *control = QAccessible::queryAccessibleInterface(w);
        ASSERT_NE(control, nullptr);
        names << control->text(QAccessible::Name);
    }
    // Worked out from the rows: 18 fields, 9 lists, 8 check boxes, 5 buttons.
    QStringList expected = {"Suspend timer, seconds", "Active ranges", "Active bands",
                            "Active DX calls",        "User message",  "Comm port number"};
    for (int row = 1; row <= kRangeRows; ++row)
        expected << QStringLiteral("Range %1 from, MHz").arg(row)
                 << QStringLiteral("Range %1 to, MHz").arg(row)
                 << QStringLiteral("Band %1").arg(row);
    for (int row = 1; row <= kDxCallRows; ++row)
        expected << QStringLiteral("DX call %1").arg(row);
    for (const QString &name : expected)
        EXPECT_EQ(names.count(name), 1) << name.toStdString();
    EXPECT_EQ(names.size(), 40);
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size());
}
