// SPDX-License-Identifier: GPL-3.0-or-later
#include "ComboBox.h"

#include <QWheelEvent>

namespace kestrix {

ComboBox::ComboBox(const QStringList &entries, QWidget *parent) : QComboBox(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    addItems(entries);
    setCurrentIndex(-1);
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        m_reactedToChange = true;
        emit clickReaction();
    });
    // activated follows currentIndexChanged when the operator picks another
    // entry; it comes alone when the same entry is picked again.
    connect(this, &QComboBox::activated, this, [this] {
        if (!m_reactedToChange)
            emit clickReaction();
        m_reactedToChange = false;
    });
}

void ComboBox::wheelEvent(QWheelEvent *event)
{
    if (hasFocus())
        QComboBox::wheelEvent(event);
    else
        event->ignore();
}

void ComboBox::setListIndex(int index)
{
    setCurrentIndex(index);
    m_reactedToChange = false;
}

} // namespace kestrix
