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

#include <gtest/gtest.h>

template <typename Control = QWidget>
Control *Part(const QObject *window, const QString &name, int element = -1)
{
    const QString full = element < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(element);
    auto *found = window->findChild<Control *>(full);
    if (!found)
        ADD_FAILURE() << "no " << Control::staticMetaObject.className() << " named "
                      << full.toStdString();
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

inline kestrix::ComboBox *List(const QObject *w, const QString &name, int element = -1)
{
    return Part<kestrix::ComboBox>(w, name, element);
}

inline QPushButton *Button(const QObject *w, const QString &name)
{
    return Part<QPushButton>(w, name);
}
