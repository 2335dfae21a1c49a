// SPDX-License-Identifier: GPL-3.0-or-later
#include "SetupFixture.h"

#include "ConfigFields.h"
#include "LocaleGuard.h"

#include <QApplication>
#include <QPushButton>

using namespace kestrix;

namespace {

// Field tests run once under a comma and once under a point locale.
class FieldEntry : public SetupFixture, public testing::WithParamInterface<bool>
{
protected:
    void SetUp() override
    {
        guard = GetParam() ? std::make_unique<LocaleGuard>(QLocale::Italian, QLocale::Italy)
                           : std::make_unique<LocaleGuard>(QLocale::English, QLocale::UnitedStates);
        SetupFixture::SetUp();
        ASSERT_TRUE(showActive());
        Check(setup.get(), "chkRange")->setValue(1);
        Check(setup.get(), "chkDxCall")->setValue(1);
    }
    void TearDown() override
    {
        setup.reset();
        guard.reset();
    }

    QString sep() const { return GetParam() ? "," : "."; }
    // Localises a number written with a comma.
    QString n(const char *text) const { return QString::fromLatin1(text).replace(",", sep()); }

    // Enters the field (selecting its text), optionally clears it, types.
    void enter(TextBox *box, const QString &keys, bool clear = true)
    {
        box->setFocus();
        QCoreApplication::processEvents();
        if (clear) {
            box->selectAll();
            QTest::keyClick(box, Qt::Key_Backspace);
        }
        QTest::keyClicks(box, keys);
    }
    void leave() { Button(setup.get(), "cmdSend")->setFocus(); }

    std::unique_ptr<LocaleGuard> guard;
};

} // namespace

TEST_P(FieldEntry, EnteringAFieldSelectsItsWholeTextWhichAKeyReplaces)
{
    Text(setup.get(), "txtUsrM")->setText("CQDXTEST9"); // full
    Text(setup.get(), "txtUsrM")->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(Text(setup.get(), "txtUsrM")->selectedText(), "CQDXTEST9");
    QTest::keyClicks(Text(setup.get(), "txtUsrM"), "X");
    EXPECT_EQ(Text(setup.get(), "txtUsrM")->text(), "X");
}

TEST_P(FieldEntry, EveryFieldIsMarkedWhileEditedAndNoLongerOnceLeft)
{
    for (const ConfigField &field : ConfigFields()) {
        auto *box = setup->findChild<TextBox *>(field.control);
        if (!box)
            continue;
        enter(box, "1");
        EXPECT_EQ(box->background(), TextBox::Background::Edited) << field.control.toStdString();
        leave();
        EXPECT_EQ(box->background(), TextBox::Background::Normal) << field.control.toStdString();
    }
}

TEST_P(FieldEntry, Timer)
{
    struct Case
    {
        const char *typed;
        const char *shown;
        int beeps;
    };
    const Case cases[] = {{"2,3", "2,25", 0},  {"0,125", "0,0", 0}, {"0,375", "0,5", 0},
                          {"63,5", "63,0", 1}, {"99", "63,0", 1},   {"", "0,0", 0},
                          {"63", "63,0", 0},   {"1a5", "15,0", 0},  {"-2", "2,0", 0},
                          {"1,2,3", "1,25", 0}};
    for (const Case &c : cases) {
        services.beeps = 0;
        enter(Text(setup.get(), "txtTimer"), n(c.typed));
        leave();
        EXPECT_EQ(Text(setup.get(), "txtTimer")->text(), n(c.shown)) << c.typed;
        EXPECT_EQ(services.beeps, c.beeps) << c.typed;
    }
    // After Default the box holds "1,0" in every locale; a typed value replaces it.
    setup->cmdDefault_Click();
    enter(Text(setup.get(), "txtTimer"), "7", false);
    EXPECT_EQ(Text(setup.get(), "txtTimer")->text(), "7");
    // From a file a negative timer can arrive; leaving keeps the box within 0 to 63.
    Text(setup.get(), "txtTimer")->setText("-5");
    Text(setup.get(), "txtTimer")->setFocus();
    leave();
    EXPECT_EQ(Text(setup.get(), "txtTimer")->text(), n("0,0"));
}

TEST_P(FieldEntry, PortNumber)
{
    const std::pair<const char *, const char *> cases[] = {{"0", "1"},  {"17", "16"}, {"99", "16"},
                                                           {"07", "7"}, {"", "1"},    {"a3.", "3"}};
    for (const auto &[typed, shown] : cases) {
        enter(Text(setup.get(), "txtComm"), typed);
        leave();
        EXPECT_EQ(Text(setup.get(), "txtComm")->text(), shown) << typed;
    }
}

TEST_P(FieldEntry, RangeKeys)
{
    TextBox *low = Text(setup.get(), "txtRangeLow", 0);
    enter(low, sep() + "5");
    EXPECT_EQ(low->text(), "5"); // never first
    low->selectAll();
    low->setCursorPosition(0);
    low->end(true);
    low->setSelection(0, low->text().size());
    QTest::keyClicks(low, GetParam() ? "." : ",");
    EXPECT_EQ(low->text(), "5"); // the other separator is refused

    services.beeps = 0;
    enter(low, n("999,99"));
    QTest::keyClicks(low, "9");
    EXPECT_EQ(low->text(), n("999,999"));
    QTest::keyClicks(low, "9");
    EXPECT_EQ(low->text(), n("999,999")); // full at seven characters
    EXPECT_EQ(services.beeps, 1);         // the eighth is over the limit too

    // Over the limit from a file: every key is refused with a beep.
    low->setText("1000");
    services.beeps = 0;
    QTest::keyClick(low, Qt::Key_Backspace);
    QTest::keyClicks(low, "1");
    EXPECT_EQ(low->text(), "1000");
    EXPECT_EQ(services.beeps, 2);
}

TEST_P(FieldEntry, RangeLeaveChecks)
{
    TextBox *low = Text(setup.get(), "txtRangeLow", 0);
    TextBox *high = Text(setup.get(), "txtRangeHigh", 0);
    low->setText(n("14,000"));
    high->setText(n("14,350"));

    enter(low, "15");
    leave();
    EXPECT_EQ(low->text(), n("14,350"));
    EXPECT_EQ(services.beeps, 1);

    low->setText(n("14,000"));
    enter(high, "13");
    leave();
    EXPECT_EQ(high->text(), n("14,000"));
    EXPECT_EQ(services.beeps, 2);

    enter(low, n("7,5"));
    leave();
    EXPECT_EQ(low->text(), n("7,500"));
    enter(high, "144");
    leave();
    EXPECT_EQ(high->text(), n("144,000"));
    EXPECT_EQ(services.beeps, 2);

    high->setText("");
    enter(low, "14");
    leave();
    EXPECT_EQ(low->text(), n("0,000")); // the empty partner reads 0
    EXPECT_EQ(services.beeps, 3);

    high->setText(n("7,500"));
    enter(low, n("7,5"));
    leave();
    EXPECT_EQ(services.beeps, 3); // equal bounds do not cross
}

TEST_P(FieldEntry, LeavingAFieldInItsPatternKeepsAFileTitle)
{
    leave(); // from the timer, whose "1,0" a point locale rewrites
    setup->setWindowTitle("Kestrix v6.DX - saved.cfg");
    Text(setup.get(), "txtRangeLow", 2)->setFocus();
    leave();
    EXPECT_EQ(setup->windowTitle(), "Kestrix v6.DX - saved.cfg");
}

namespace {

bool isDigit(int c)
{
    return c >= '0' && c <= '9';
}

int callsignKey(int c)
{
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 'A';
    const bool kept = c == kBackspace || isDigit(c) || (c >= 'A' && c <= 'Z') ||
                      QByteArray("-/?").contains(char(c));
    return kept ? c : 0;
}

int refusedUnless(bool kept, int c)
{
    return kept ? c : 0;
}

} // namespace

// Every code from 0 to 255 (Windows-1252) through each field's key reaction,
// in a point locale, with the field holding a text that decides the answer.
TEST_F(SetupFixture, EveryCodeGoesThroughEachKeyReactionAsDesigned)
{
    const auto point = LocaleGuard::point();
    Check(setup.get(), "chkRange")->setValue(1);
    Check(setup.get(), "chkDxCall")->setValue(1);
    List(setup.get(), "cbNumDxCalls")->setListIndex(2);
    const struct
    {
        const char *name;
        TextBox *box;
        const char *before;
        std::function<int(int)> expected;
        int beeps = 0;
    } cases[] = {
        {"port", Text(setup.get(), "txtComm"), "1",
         [](int c) { return refusedUnless(isDigit(c) || c == 8, c); }},
        {"timer", Text(setup.get(), "txtTimer"), "1",
         [](int c) { return refusedUnless(isDigit(c) || c == 8 || c == '.' || c == ',', c); }},
        {"timer with a point", Text(setup.get(), "txtTimer"), "1.",
         [](int c) { return refusedUnless(isDigit(c) || c == 8, c); }},
        {"message", Text(setup.get(), "txtUsrM"), "CQ",
         [](int c) { return refusedUnless(c < 123 && !QByteArray("\"'`").contains(char(c)), c); }},
        {"short call", Text(setup.get(), "txtDxCall", 1), "AB", callsignKey},
        {"call", Text(setup.get(), "txtDxCall", 2), "ABC",
         [](int c) { return c == ' ' ? c : callsignKey(c); }},
        {"range", Text(setup.get(), "txtRangeLow", 1), "14",
         [](int c) { return refusedUnless(isDigit(c) || c == 8 || c == '.', c); }},
        {"range with a point", Text(setup.get(), "txtRangeHigh", 2), "14.5",
         [](int c) { return refusedUnless(isDigit(c) || c == 8, c); }},
        {"range at its limit", Text(setup.get(), "txtRangeHigh", 3), "999",
         [](int c) { return refusedUnless(c == 8 || c == '.', c); }, 10},
    };
    for (const auto &c : cases) {
        c.box->setText(c.before);
        c.box->setFocus();
        c.box->end(false);
        services.beeps = 0;
        for (int code = 0; code < 256; ++code)
            EXPECT_EQ(c.box->filtered(KeyCode(code)), c.expected(code)) << c.name << ": " << code;
        EXPECT_EQ(services.beeps, c.beeps) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, FieldEntry, testing::Values(true, false),
                         [](const auto &info) { return info.param ? "Comma" : "Point"; });
