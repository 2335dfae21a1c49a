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

// The part of window named name, or the window itself; a part that is not
// there fails the test that asks for it.
template <typename Control = QWidget> Control *Part(const QObject *window, const QString &name)
{
    auto *found =
        qobject_cast<Control *>(window->objectName() == name ? const_cast<QObject *>(window)
                                                             : window->findChild<QObject *>(name));
    if (!found)
        throw std::runtime_error("no " + std::string(Control::staticMetaObject.className()) +
                                 " named " + name.toStdString());
    return found;
}

inline QPushButton *Button(const QObject *w, const QString &name)
{
    return Part<QPushButton>(w, name);
}
