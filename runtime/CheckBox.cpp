// SPDX-License-Identifier: GPL-3.0-or-later
#include "CheckBox.h"

namespace kestrix {

CheckBox::CheckBox(const QString &caption, QWidget *parent) : QCheckBox(caption, parent)
{
    setTristate(true);
    connect(this, &QCheckBox::stateChanged, this, &CheckBox::clickReaction);
}

int CheckBox::value() const
{
    switch (checkState()) {
    case Qt::Unchecked:
        return 0;
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    }
    return 0;
}

void CheckBox::setValue(int value)
{
    setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

void CheckBox::nextCheckState()
{
    setValue(value() == 0 ? 1 : 0);
}

} // namespace kestrix
