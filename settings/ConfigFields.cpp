// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConfigFields.h"

#include "NumericText.h"

namespace kestrix {

namespace {

using S = DeviceSettings;

class FieldTable
{
public:
    void text(const QString &control, const QString &description, const QString &byDefault,
              std::function<QString &(S &)> slot, bool localDecimal = false)
    {
        ConfigField field{control,   description, FieldKind::Text, m_line,          0,
                          byDefault, 0,           localDecimal,    std::move(slot), nullptr};
        m_fields.push_back(std::move(field));
    }

    void number(const QString &control, const QString &description, FieldKind kind,
                int lastPosition, int byDefault, std::function<int &(S &)> slot)
    {
        ConfigField field{control,   description, kind,  m_line,  lastPosition,
                          QString(), byDefault,   false, nullptr, std::move(slot)};
        m_fields.push_back(std::move(field));
    }

    void check(const QString &control, const QString &description, int byDefault, int S::*slot)
    {
        number(control, description, FieldKind::Check, 0, byDefault,
               [slot](S &s) -> int & { return s.*slot; });
    }

    // A count list defaults to its last entry: every row active.
    void count(const QString &control, const QString &description, int rows, int S::*slot)
    {
        number(control, description, FieldKind::Position, rows - 1, rows - 1,
               [slot](S &s) -> int & { return s.*slot; });
    }

    void endLine() { ++m_line; }
    std::vector<ConfigField> fields() { return std::move(m_fields); }

private:
    std::vector<ConfigField> m_fields;
    int m_line = 1;
};

std::vector<ConfigField> buildFields()
{
    static constexpr std::array<std::array<const char *, 2>, kRangeRows> rangeDefaults = {{
        {"1.810", "1.838"},
        {"3.500", "3.580"},
        {"7.000", "7.030"},
        {"14.000", "14.065"},
        {"21.000", "21.080"},
        {"24.890", "24.920"},
    }};

    FieldTable t;
    // Read as 1 s in every locale, so written the same in all.
    t.text("txtTimer", "the suspend timer", "1,0", [](S &s) -> QString & { return s.txtTimer; });
    t.check("chkBeep", "the beep switch", 0, &S::chkBeep);
    t.check("chkPacket", "the other-packets switch", 0, &S::chkPacket);
    t.check("chkRA2", "the RA2 switch", 0, &S::chkRA2);
    t.endLine();

    t.check("chkRange", "the ranges switch", 0, &S::chkRange);
    t.count("cbNumRange", "the count of ranges", kRangeRows, &S::cbNumRange);
    t.check("chkBand", "the bands switch", 0, &S::chkBand);
    t.count("cbNumBand", "the count of bands", kBandRows, &S::cbNumBand);
    t.endLine();

    for (int i = 0; i < kRangeRows; ++i, t.endLine())
        t.text(
            ElementName("txtRangeLow", i), QStringLiteral("the lower bound of range %1").arg(i + 1),
            rangeDefaults[i][0], [i](S &s) -> QString & { return s.txtRangeLow[i]; }, true);
    for (int i = 0; i < kRangeRows; ++i, t.endLine())
        t.text(
            ElementName("txtRangeHigh", i),
            QStringLiteral("the upper bound of range %1").arg(i + 1), rangeDefaults[i][1],
            [i](S &s) -> QString & { return s.txtRangeHigh[i]; }, true);
    const int lastBand = static_cast<int>(BandList().size()) - 1;
    for (int i = 0; i < kBandRows; ++i, t.endLine())
        t.number(ElementName("cbBand", i), QStringLiteral("band %1").arg(i + 1), FieldKind::Band,
                 lastBand, i + 1, [i](S &s) -> int & { return s.cbBand[i]; });

    t.check("chkDxCall", "the DX calls switch", 0, &S::chkDxCall);
    t.count("cbNumDxCalls", "the count of DX calls", kDxCallRows, &S::cbNumDxCalls);
    t.endLine();
    for (int i = 0; i < kDxCallRows; ++i, t.endLine())
        t.text(ElementName("txtDxCall", i), QStringLiteral("DX call %1").arg(i + 1),
               QStringLiteral("DXCALL%1").arg(i + 1),
               [i](S &s) -> QString & { return s.txtDxCall[i]; });

    t.check("chkToAll", "the To ALL switch", 1, &S::chkToAll);
    t.check("chkUsrM", "the user-message switch", 1, &S::chkUsrM);
    t.text("txtUsrM", "the user message", "WWV", [](S &s) -> QString & { return s.txtUsrM; });
    t.text("txtComm", "the COM port", "1", [](S &s) -> QString & { return s.txtComm; });
    return t.fields();
}

} // namespace

QString ElementName(const QString &row, int index)
{
    return QStringLiteral("%1(%2)").arg(row).arg(index);
}

const std::vector<ConfigField> &ConfigFields()
{
    static const std::vector<ConfigField> fields = buildFields();
    return fields;
}

const ConfigField *FindConfigField(const QString &control)
{
    for (const ConfigField &field : ConfigFields())
        if (field.control == control)
            return &field;
    return nullptr;
}

DeviceSettings DefaultSettings()
{
    const QString separator = GetDecimalSeparator();
    DeviceSettings s;
    for (const ConfigField &field : ConfigFields()) {
        if (field.kind != FieldKind::Text)
            field.number(s) = field.defaultNumber;
        else if (field.localDecimal)
            field.text(s) = QString(field.defaultText).replace(QLatin1Char('.'), separator);
        else
            field.text(s) = field.defaultText;
    }
    return s;
}

} // namespace kestrix
