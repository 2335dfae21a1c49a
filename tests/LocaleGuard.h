// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>

// Switches the default locale for one test and puts the old one back.
class LocaleGuard
{
public:
    explicit LocaleGuard(QLocale::Language language, QLocale::Territory territory)
        : m_saved(QLocale())
    {
        QLocale::setDefault(QLocale(language, territory));
    }
    ~LocaleGuard() { QLocale::setDefault(m_saved); }
    LocaleGuard(const LocaleGuard &) = delete;
    LocaleGuard &operator=(const LocaleGuard &) = delete;

    static LocaleGuard comma() { return LocaleGuard(QLocale::Italian, QLocale::Italy); }
    static LocaleGuard point() { return LocaleGuard(QLocale::English, QLocale::UnitedStates); }

private:
    QLocale m_saved;
};
