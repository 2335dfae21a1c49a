// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The windows' parts, found by the names the windows give them.

#include "CheckBox.h"
#include "ComboBox.h"
#include "TextBox.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <stdexcept>

// The part of window named name, or name(element), or the window itself; a
// part that is not there fails the test that asks for it.
template <typename Control = QWidget>
Control *Part(const QObject *window, const QString &name, int element = -1)
{
    const QString full = element < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(element);
    auto *found =
        qobject_cast<Control *>(window->objectName() == full ? const_cast<QObject *>(window)
                                                             : window->findChild<QObject *>(full));
    if (!found)
        throw std::runtime_error("no " + std::string(Control::staticMetaObject.className()) +
                                 " named " + full.toStdString());
    return found;
}

inline kestrix::TextBox *Text(const QObject *w, const QString &name, int element = -1)
{
    return Part<kestrix::TextBox>(w, name, element);
}

inline kestrix::CheckBox *Check(const QObject *w, const QString &name)
{
    return Part<kestrix::CheckBox>(w, name);
}

inline QPushButton *Button(const QObject *w, const QString &name)
{
    return Part<QPushButton>(w, name);
}
