// SPDX-License-Identifier: GPL-3.0-or-later
// Section switches, counts, the field switch, and the title rule.

#include "Setup.h"

#include "CaptionFit.h"
#include "CheckBox.h"
#include "ComboBox.h"
#include "EnableContainer.h"
#include "SetupLayout.h"
#include "TextBox.h"

#include <QGroupBox>

namespace kestrix {

namespace {

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

void Setup::switchSection(const ControlRow &row, const CheckBox *toggle)
{
    const bool on = toggle->value() != 0;
    auto *frame = find<QGroupBox>(row.governs);
    EnableContainer(frame, on, m_services);
    for (const ControlRow &member : SetupLayout()) {
        if (member.section != row.governs)
            continue;
        find<QWidget>(member.name)->setEnabled(on);
        if (on && member.reaction == Reaction::CountList)
            countRows(member, find<ComboBox>(member.name));
    }
    setCaption(frame, FindControlRow(row.governs)->caption +
                          (on ? QStringLiteral(" - ON") : QStringLiteral(" - OFF")));
    FitCaption(frame);
}

// Row i of a section is active when the count list's position is at least
// i; row 0 is never governed.
void Setup::countRows(const ControlRow &row, const ComboBox *count)
{
    for (const ControlRow &member : SetupLayout())
        if (member.parent == row.section && member.element >= 1)
            find<QWidget>(member.name)->setEnabled(count->listIndex() >= member.element);
}

void Setup::switchField(const ControlRow &row, const CheckBox *toggle)
{
    find<QWidget>(row.governs)->setEnabled(toggle->value() != 0);
}

} // namespace kestrix
