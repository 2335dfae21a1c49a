// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>

// Switches the default locale for one test and puts the old one back.
class LocaleGuard
{
public:
    LocaleGuard(QLocale::Language language, QLocale::Territory where) { set({language, where}); }
    ~LocaleGuard() { set(m_saved); }
    LocaleGuard(const LocaleGuard &) = delete;
    LocaleGuard &operator=(const LocaleGuard &) = delete;

    static LocaleGuard comma() { return LocaleGuard(QLocale::Italian, QLocale::Italy); }
    static LocaleGuard point() { return LocaleGuard(QLocale::English, QLocale::UnitedStates); }

private:
    static void set(const QLocale &locale) { QLocale::setDefault(locale); }
    QLocale m_saved;
};
