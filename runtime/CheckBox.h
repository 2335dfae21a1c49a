// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A check box with the three values of the settings: 0 off, 1 on and 2
// grayed. Only the program sets 2; an operator's click always gives 0 or 1.

#include <QCheckBox>

namespace kestrix {

class CheckBox : public QCheckBox
{
    Q_OBJECT

public:
    explicit CheckBox(const QString &caption, QWidget *parent = nullptr);

    int value() const;
    void setValue(int value);

signals:
    // Every change of the value, the program's writes included.
    void clickReaction();

protected:
    void nextCheckState() override;
};

} // namespace kestrix
