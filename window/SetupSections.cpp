// SPDX-License-Identifier: GPL-3.0-or-later
// Section switches, counts, the user-message switch, and the title rule.

#include "Setup.h"

#include "CaptionFit.h"
#include "CheckBox.h"
#include "ComboBox.h"
#include "EnableContainer.h"
#include "TextBox.h"

#include <QGroupBox>
#include <QLabel>

namespace kestrix {

namespace {

// Row i of a section is active when the count list's position is at least i;
// row 0 is never governed.
template <typename Row> void enableCountedRows(const ComboBox *count, Row row, int rows)
{
    for (int i = 1; i < rows; ++i)
        row(i, count->listIndex() >= i);
}

// A frame inside another would be read by the outer one's caption, and a
// new caption would go untold; named, it is read by its own and each change
// is told, so that a screen reader hears the section go on or off.
void setCaption(QGroupBox *frame, const QString &caption)
{
    frame->setTitle(caption);
    frame->setAccessibleName(caption);
}

} // namespace

void Setup::resetTitle()
{
    setWindowTitle(QString::fromLatin1(kPlainTitle));
}

void Setup::markEdited(TextBox *box, bool resetsTitle)
{
    box->setBackground(TextBox::Background::Edited);
    if (resetsTitle)
        resetTitle();
}

void Setup::switchSection(CheckBox *toggle, QGroupBox *frame, QLabel *status, ComboBox *count,
                          const QString &caption, void (Setup::*countReaction)())
{
    const bool on = toggle->value() != 0;
    EnableContainer(frame, on, m_services);
    status->setEnabled(on);
    count->setEnabled(on);
    if (on) {
        (this->*countReaction)();
        setCaption(frame, caption + QStringLiteral(" - ON"));
    } else {
        setCaption(frame, caption + QStringLiteral(" - OFF"));
    }
    FitCaption(frame);
    resetTitle();
}

void Setup::chkRange_Click()
{
    switchSection(chkRange, frRange, lblRanges, cbNumRange, QStringLiteral("Frequency Ranges"),
                  &Setup::cbNumRange_Click);
}

void Setup::chkBand_Click()
{
    switchSection(chkBand, frBand, lblBands, cbNumBand, QStringLiteral("Amateur Bands"),
                  &Setup::cbNumBand_Click);
}

void Setup::chkDxCall_Click()
{
    switchSection(chkDxCall, frDxCall, lblDxCalls, cbNumDxCalls, QStringLiteral("Dx Calls"),
                  &Setup::cbNumDxCalls_Click);
}

void Setup::cbNumRange_Click()
{
    enableCountedRows(
        cbNumRange,
        [this](int i, bool on) {
            txtRangeLow[i]->setEnabled(on);
            txtRangeHigh[i]->setEnabled(on);
        },
        kRangeRows);
    resetTitle();
}

void Setup::cbNumBand_Click()
{
    enableCountedRows(
        cbNumBand, [this](int i, bool on) { cbBand[i]->setEnabled(on); }, kBandRows);
    resetTitle();
}

void Setup::cbNumDxCalls_Click()
{
    enableCountedRows(
        cbNumDxCalls, [this](int i, bool on) { txtDxCall[i]->setEnabled(on); }, kDxCallRows);
    resetTitle();
}

void Setup::chkUsrM_Click()
{
    txtUsrM->setEnabled(chkUsrM->value() != 0);
    resetTitle();
}

} // namespace kestrix
