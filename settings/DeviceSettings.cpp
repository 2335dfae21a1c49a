// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeviceSettings.h"

#include "NumericText.h"

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

DeviceSettings DefaultSettings()
{
    struct RangeDefault
    {
        const char *integer;
        const char *lowDecimals;
        const char *highDecimals;
    };
    static constexpr std::array<RangeDefault, kRangeRows> ranges = {{
        {"1", "810", "838"},
        {"3", "500", "580"},
        {"7", "000", "030"},
        {"14", "000", "065"},
        {"21", "000", "080"},
        {"24", "890", "920"},
    }};

    DeviceSettings s;
    s.txtTimer = QStringLiteral("1,0");
    s.chkRange = 0;
    s.cbNumRange = kRangeRows - 1;
    const QString separator = GetDecimalSeparator();
    for (int i = 0; i < kRangeRows; ++i) {
        const QString integer = QString::fromLatin1(ranges[i].integer);
        s.txtRangeLow[i] = integer + separator + QString::fromLatin1(ranges[i].lowDecimals);
        s.txtRangeHigh[i] = integer + separator + QString::fromLatin1(ranges[i].highDecimals);
    }
    s.chkBand = 0;
    s.cbNumBand = kBandRows - 1;
    for (int i = 0; i < kBandRows; ++i)
        s.cbBand[i] = i + 1;
    s.chkDxCall = 0;
    s.cbNumDxCalls = kDxCallRows - 1;
    for (int i = 0; i < kDxCallRows; ++i)
        s.txtDxCall[i] = QStringLiteral("DXCALL%1").arg(i + 1);
    s.chkToAll = 1;
    s.chkUsrM = 1;
    s.txtUsrM = QStringLiteral("WWV");
    s.txtComm = QStringLiteral("1");
    return s;
}

} // namespace kestrix
