// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConfigFields.h"

namespace kestrix {

namespace {

ConfigField textField(QString control, QString description, int line,
                      std::function<QString &(DeviceSettings &)> text)
{
    return {std::move(control),
            std::move(description),
            FieldKind::Text,
            line,
            0,
            std::move(text),
            nullptr};
}

ConfigField numberField(QString control, QString description, FieldKind kind, int line,
                        int lastPosition, std::function<int &(DeviceSettings &)> number)
{
    return {std::move(control), std::move(description), kind, line, lastPosition, nullptr,
            std::move(number)};
}

ConfigField checkField(QString control, QString description, int line, int DeviceSettings::*slot)
{
    return numberField(std::move(control), std::move(description), FieldKind::Check, line, 0,
                       [slot](DeviceSettings &s) -> int & { return s.*slot; });
}

ConfigField countField(QString control, QString description, int line, int rows,
                       int DeviceSettings::*slot)
{
    return numberField(std::move(control), std::move(description), FieldKind::Position, line,
                       rows - 1, [slot](DeviceSettings &s) -> int & { return s.*slot; });
}

std::vector<ConfigField> buildFields()
{
    using S = DeviceSettings;
    std::vector<ConfigField> fields;
    fields.push_back(textField("txtTimer", "the suspend timer", 1,
                               [](S &s) -> QString & { return s.txtTimer; }));
    fields.push_back(checkField("chkBeep", "the beep switch", 1, &S::chkBeep));
    fields.push_back(checkField("chkPacket", "the other-packets switch", 1, &S::chkPacket));
    fields.push_back(checkField("chkRA2", "the RA2 switch", 1, &S::chkRA2));

    fields.push_back(checkField("chkRange", "the ranges switch", 2, &S::chkRange));
    fields.push_back(
        countField("cbNumRange", "the count of ranges", 2, kRangeRows, &S::cbNumRange));
    fields.push_back(checkField("chkBand", "the bands switch", 2, &S::chkBand));
    fields.push_back(countField("cbNumBand", "the count of bands", 2, kBandRows, &S::cbNumBand));

    int line = 3;
    for (int i = 0; i < kRangeRows; ++i)
        fields.push_back(textField(ElementName("txtRangeLow", i),
                                   QStringLiteral("the lower bound of range %1").arg(i + 1), line++,
                                   [i](S &s) -> QString & { return s.txtRangeLow[i]; }));
    for (int i = 0; i < kRangeRows; ++i)
        fields.push_back(textField(ElementName("txtRangeHigh", i),
                                   QStringLiteral("the upper bound of range %1").arg(i + 1), line++,
                                   [i](S &s) -> QString & { return s.txtRangeHigh[i]; }));
    const int lastBand = static_cast<int>(BandList().size()) - 1;
    for (int i = 0; i < kBandRows; ++i)
        fields.push_back(numberField(ElementName("cbBand", i), QStringLiteral("band %1").arg(i + 1),
                                     FieldKind::Band, line++, lastBand,
                                     [i](S &s) -> int & { return s.cbBand[i]; }));

    fields.push_back(checkField("chkDxCall", "the DX calls switch", line, &S::chkDxCall));
    fields.push_back(
        countField("cbNumDxCalls", "the count of DX calls", line++, kDxCallRows, &S::cbNumDxCalls));
    for (int i = 0; i < kDxCallRows; ++i)
        fields.push_back(textField(ElementName("txtDxCall", i),
                                   QStringLiteral("DX call %1").arg(i + 1), line++,
                                   [i](S &s) -> QString & { return s.txtDxCall[i]; }));

    fields.push_back(checkField("chkToAll", "the To ALL switch", line, &S::chkToAll));
    fields.push_back(checkField("chkUsrM", "the user-message switch", line, &S::chkUsrM));
    fields.push_back(textField("txtUsrM", "the user message", line,
                               [](S &s) -> QString & { return s.txtUsrM; }));
    fields.push_back(
        textField("txtComm", "the COM port", line, [](S &s) -> QString & { return s.txtComm; }));
    return fields;
}

} // namespace

QString ElementName(const char *row, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1StringView(row)).arg(index);
}

const std::vector<ConfigField> &ConfigFields()
{
    static const std::vector<ConfigField> fields = buildFields();
    return fields;
}

} // namespace kestrix
