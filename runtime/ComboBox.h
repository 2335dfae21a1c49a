// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A drop-down list with a fixed set of entries; position -1 is no choice.

#include <QComboBox>

namespace kestrix {

class ComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ComboBox(const QStringList &entries, QWidget *parent = nullptr);

    int listIndex() const { return currentIndex(); }
    void setListIndex(int index);

protected:
    // The wheel turns only the list that has the focus, never one the
    // pointer merely rests on.
    void wheelEvent(QWheelEvent *event) override;

signals:
    // An entry was chosen: by the operator, even the one already shown, or by
    // the program changing the position.
    void clickReaction();

private:
    bool m_reactedToChange = false;
};

} // namespace kestrix
