// SPDX-License-Identifier: GPL-3.0-or-later
// What may be typed into each field, and how a field is checked and
// rewritten when it is left.

#include "Setup.h"

#include "NumericText.h"
#include "PortDevice.h"
#include "Services.h"
#include "TextBox.h"

namespace kestrix {

namespace {

constexpr KeyCode kBlank = 32;
constexpr double kHighestMegahertz = 999.999;
constexpr double kLongestTimer = 63;
bool isDigit(KeyCode code)
{
    return code >= 0 && IsAsciiDigit(static_cast<char32_t>(code));
}

bool isDecimalPoint(QChar c)
{
    return c == QLatin1Char(',') || c == QLatin1Char('.') || QString(c) == GetDecimalSeparator();
}

// The timer's numeric test: digits with at most one decimal point, at least
// one digit, no sign and no blanks.
bool isTimerNumber(const QString &text)
{
    int points = 0;
    int digits = 0;
    for (const QChar c : text) {
        if (IsAsciiDigit(c.unicode()))
            ++digits;
        else if (isDecimalPoint(c))
            ++points;
        else
            return false;
    }
    return digits > 0 && points <= 1;
}

QString withKey(const TextBox *box, KeyCode code)
{
    return box->text() + QChar(static_cast<char16_t>(code));
}

} // namespace

void CallsignKeyFilter(KeyCode &code)
{
    const bool kept = code == kBackspace || code == kBlank || code == '-' || code == '/' ||
                      isDigit(code) || code == '?' || (code >= 'A' && code <= 'Z') ||
                      (code >= 'a' && code <= 'z');
    if (!kept)
        code = 0;
    else if (code >= 'a' && code <= 'z')
        code = static_cast<KeyCode>(code - 'a' + 'A');
}

KeyCode DecimalKeyFilter(const TextBox *focused, KeyCode code)
{
    if (isDigit(code) || code == kBackspace)
        return code;
    const QString separator = GetDecimalSeparator();
    if (QString(QChar(static_cast<char16_t>(code))) == separator && focused->selStart() > 0 &&
        !focused->text().contains(separator))
        return code;
    return 0;
}

void Setup::connectFieldReactions()
{
    for (TextBox *box : allFields()) {
        connect(box, &TextBox::clicked, box, &TextBox::selectAllLater);
        connect(box, &TextBox::gotFocus, box, &TextBox::selectAllLater);
    }
    txtComm->setKeyFilter([this](KeyCode &code) { txtComm_KeyPress(code); });
    txtTimer->setKeyFilter([this](KeyCode &code) { txtTimer_KeyPress(code); });
    txtUsrM->setKeyFilter([this](KeyCode &code) { txtUsrM_KeyPress(code); });
    connect(txtComm, &TextBox::lostFocus, this, &Setup::txtComm_LostFocus);
    connect(txtTimer, &TextBox::lostFocus, this, &Setup::txtTimer_LostFocus);
    connect(txtUsrM, &TextBox::lostFocus, this,
            [this] { txtUsrM->setBackground(TextBox::Background::Normal); });
    for (int i = 0; i < kDxCallRows; ++i) {
        txtDxCall[i]->setKeyFilter([this, i](KeyCode &code) { txtDxCall_KeyPress(i, code); });
        connect(txtDxCall[i], &TextBox::lostFocus, this,
                [this, i] { txtDxCall[i]->setBackground(TextBox::Background::Normal); });
    }
    for (int i = 0; i < kRangeRows; ++i) {
        txtRangeLow[i]->setKeyFilter(
            [this, i](KeyCode &code) { rangeKeyPress(txtRangeLow[i], code); });
        txtRangeHigh[i]->setKeyFilter(
            [this, i](KeyCode &code) { rangeKeyPress(txtRangeHigh[i], code); });
        connect(txtRangeLow[i], &TextBox::lostFocus, this, [this, i] { txtRangeLow_LostFocus(i); });
        connect(txtRangeHigh[i], &TextBox::lostFocus, this,
                [this, i] { txtRangeHigh_LostFocus(i); });
    }
}

std::vector<TextBox *> Setup::allFields() const
{
    std::vector<TextBox *> fields = {txtComm, txtTimer, txtUsrM};
    fields.insert(fields.end(), txtDxCall.begin(), txtDxCall.end());
    fields.insert(fields.end(), txtRangeLow.begin(), txtRangeLow.end());
    fields.insert(fields.end(), txtRangeHigh.begin(), txtRangeHigh.end());
    return fields;
}

void Setup::txtComm_KeyPress(KeyCode &code)
{
    if (!isDigit(code) && code != kBackspace)
        code = 0;
}

void Setup::txtTimer_KeyPress(KeyCode &code)
{
    if (code != kBackspace && !isTimerNumber(withKey(txtTimer, code)))
        code = 0;
}

void Setup::txtUsrM_KeyPress(KeyCode &code)
{
    // A quote would end the message early in a saved file.
    if (code == '"' || code == '\'' || code == '`' || code >= 123)
        code = 0;
}

void Setup::txtDxCall_KeyPress(int index, KeyCode &code)
{
    CallsignKeyFilter(code);
    const TextBox *box = txtDxCall[index];
    // A blank may only follow a call of at least three characters.
    if (code == kBlank && (box->selStart() != box->text().size() || box->text().size() < 3))
        code = 0;
}

void Setup::rangeKeyPress(TextBox *box, KeyCode &code)
{
    // The limit is tested on the old text plus the key, whatever is selected.
    if (ValueOf(withKey(box, code)) > kHighestMegahertz) {
        code = 0;
        m_services.beep();
        return;
    }
    code = DecimalKeyFilter(box, code);
}

void Setup::txtComm_LostFocus()
{
    if (ParseLeadingNumber(txtComm->text()) < kFirstPort)
        txtComm->setText(QString::number(kFirstPort));
    if (ParseLeadingNumber(txtComm->text()) > kLastPort)
        txtComm->setText(QString::number(kLastPort));
    writeField(txtComm, FormatNumber(ParseLeadingNumber(txtComm->text()), NumberPattern::Integer));
}

void Setup::txtTimer_LostFocus()
{
    if (ValueOf(txtTimer->text()) > kLongestTimer) {
        txtTimer->setText(QString::number(kLongestTimer));
        m_services.beep();
    }
    // A negative timer can only come from a file; the box holds 0 to 63.
    const double quarters = std::max(0.0, RoundHalfEven(ValueOf(txtTimer->text()) * 4));
    writeField(txtTimer, FormatNumber(quarters / 4, NumberPattern::Seconds));
}

void Setup::leaveRange(TextBox *box, TextBox *partner, bool boxIsLow)
{
    const double low = ValueOf((boxIsLow ? box : partner)->text());
    const double high = ValueOf((boxIsLow ? partner : box)->text());
    if (low > high) {
        box->setText(partner->text());
        m_services.beep();
    }
    writeField(box, FormatNumber(ValueOf(box->text()), NumberPattern::Megahertz));
}

void Setup::txtRangeLow_LostFocus(int index)
{
    leaveRange(txtRangeLow[index], txtRangeHigh[index], true);
}

void Setup::txtRangeHigh_LostFocus(int index)
{
    leaveRange(txtRangeHigh[index], txtRangeLow[index], false);
}

} // namespace kestrix
