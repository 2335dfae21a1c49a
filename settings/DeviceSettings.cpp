// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeviceSettings.h"

namespace kestrix {

const QStringList &BandList()
{
    static const QStringList bands = {
        QStringLiteral("160m (0-3 Mhz)"),  QStringLiteral("80m (3 - 6 Mhz)"),
        QStringLiteral("40m (6 - 9 Mhz)"), QStringLiteral("30m (9 - 12 Mhz)"),
        QStringLiteral("20m (12-16 Mhz)"), QStringLiteral("17m (16-20 Mhz)"),
        QStringLiteral("15m (20-23 Mhz)"), QStringLiteral("12m (23-26 Mhz)"),
        QStringLiteral("10m (26-40 Mhz)"), QStringLiteral("6m (40-100 MHz)"),
        QStringLiteral("2m (100-200Mhz)"), QStringLiteral("70cm (>200Mhz)"),
    };
    return bands;
}

QStringList CountList(int rows)
{
    QStringList entries;
    for (int n = 1; n <= rows; ++n)
        entries << QString::number(n);
    return entries;
}

} // namespace kestrix
