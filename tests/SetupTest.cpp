// SPDX-License-Identifier: GPL-3.0-or-later
#include "SetupFixture.h"

#include "ConfigFields.h"
#include "Dialog.h"
#include "LocaleGuard.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

using namespace kestrix;

namespace {
const QString kPlain = QString::fromLatin1(kPlainTitle);
const QString kFileTitle = QStringLiteral("Kestrix v6.DX - saved.cfg");
} // namespace

TEST_F(SetupFixture, StartsWithTheDefaultsAndEverySectionOff)
{
    EXPECT_EQ(setup->settings(), DefaultSettings());
    EXPECT_EQ(setup->windowTitle(), kPlain);
    EXPECT_EQ(Part<QGroupBox>(setup.get(), "frRange")->title(), "Frequency Ranges - OFF");
    EXPECT_EQ(Part<QGroupBox>(setup.get(), "frBand")->title(), "Amateur Bands - OFF");
    EXPECT_EQ(Part<QGroupBox>(setup.get(), "frDxCall")->title(), "Dx Calls - OFF");
    for (QWidget *w : std::initializer_list<QWidget *>{
             Part<QGroupBox>(setup.get(), "frRange"), Part<QLabel>(setup.get(), "lblRanges"),
             List(setup.get(), "cbNumRange"), List(setup.get(), "cbBand", 0),
             Text(setup.get(), "txtDxCall", 0), List(setup.get(), "cbNumDxCalls")})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(Text(setup.get(), "txtUsrM")->isEnabled());
    EXPECT_EQ(view().edited, QList<bool>(view().edited.size(), false));
    EXPECT_TRUE(setup->hasDialog());
    EXPECT_FALSE(setup->dialog()->isVisible());
}

TEST_F(SetupFixture, FocusStartsInTheTimer)
{
    setup->show();
    QApplication::setActiveWindow(setup.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(setup.get()));
    EXPECT_EQ(QApplication::focusWidget(), Text(setup.get(), "txtTimer"));
}

TEST_F(SetupFixture, DefaultRestoresTheStartStateAndIsIdempotent)
{
    const View atStart = view();
    Check(setup.get(), "chkRange")->setValue(1);
    List(setup.get(), "cbNumBand")->setListIndex(1);
    Check(setup.get(), "chkBand")->setValue(1);
    Check(setup.get(), "chkUsrM")->setValue(0);
    Text(setup.get(), "txtComm")->setText("7");
    Text(setup.get(), "txtRangeLow", 3)->setText("99");
    setup->setWindowTitle(kFileTitle);
    ASSERT_NE(view(), atStart);

    Button(setup.get(), "cmdDefault")->click();
    EXPECT_EQ(view(), atStart);
    Button(setup.get(), "cmdDefault")->click();
    EXPECT_EQ(view(), atStart);
}

TEST_F(SetupFixture, DefaultsFollowTheLocaleSeparatorButTheTimerKeepsItsComma)
{
    const auto guard = LocaleGuard::point();
    setup->cmdDefault_Click();
    EXPECT_EQ(Text(setup.get(), "txtRangeLow", 0)->text(), "1.810");
    EXPECT_EQ(Text(setup.get(), "txtTimer")->text(), "1,0");
}

struct SectionCase
{
    const char *name;
    int count;          // list position
    QList<bool> rowsOn; // enabled rows with the section on
};

class SectionSwitches : public SetupFixture, public testing::WithParamInterface<SectionCase>
{
};

TEST_P(SectionSwitches, CountEnablesRowsWhileOnAndAllOffWhileOff)
{
    const SectionCase &c = GetParam();
    const QString name = QString::fromLatin1(c.name);
    CheckBox *toggle = name == "band"    ? Check(setup.get(), "chkBand")
                       : name == "range" ? Check(setup.get(), "chkRange")
                                         : Check(setup.get(), "chkDxCall");
    ComboBox *count = name == "band"    ? List(setup.get(), "cbNumBand")
                      : name == "range" ? List(setup.get(), "cbNumRange")
                                        : List(setup.get(), "cbNumDxCalls");
    QGroupBox *frame = name == "band"    ? Part<QGroupBox>(setup.get(), "frBand")
                       : name == "range" ? Part<QGroupBox>(setup.get(), "frRange")
                                         : Part<QGroupBox>(setup.get(), "frDxCall");
    const auto rowEnabled = [&](int i) -> bool {
        if (name == "band")
            return List(setup.get(), "cbBand", i)->isEnabled();
        if (name == "range")
            return Text(setup.get(), "txtRangeLow", i)->isEnabled() &&
                   Text(setup.get(), "txtRangeHigh", i)->isEnabled();
        return Text(setup.get(), "txtDxCall", i)->isEnabled();
    };

    count->setListIndex(c.count);
    toggle->click();
    ASSERT_EQ(toggle->value(), 1);
    for (int i = 0; i < c.rowsOn.size(); ++i)
        EXPECT_EQ(rowEnabled(i), c.rowsOn[i]) << c.name << " row " << i;
    EXPECT_TRUE(frame->title().endsWith(" - ON"));
    for (QLabel *label : frame->findChildren<QLabel *>())
        EXPECT_TRUE(label->isEnabled()) << label->text().toStdString();

    toggle->click();
    EXPECT_TRUE(frame->title().endsWith(" - OFF"));
    for (int i = 0; i < c.rowsOn.size(); ++i)
        EXPECT_FALSE(rowEnabled(i));
    EXPECT_FALSE(count->isEnabled());
    EXPECT_EQ(count->listIndex(), c.count); // kept while off

    toggle->click(); // back on: the same rows again
    for (int i = 0; i < c.rowsOn.size(); ++i)
        EXPECT_EQ(rowEnabled(i), c.rowsOn[i]);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SectionSwitches,
    testing::Values(SectionCase{"band", 2, {true, true, true, false, false, false}},
                    SectionCase{"band", -1, {true, false, false, false, false, false}},
                    SectionCase{"range", 5, {true, true, true, true, true, true}},
                    SectionCase{"range", 1, {true, true, false, false, false, false}},
                    SectionCase{"dx", 0, {true, false, false}},
                    SectionCase{"dx", 2, {true, true, true}}));

TEST_F(SetupFixture, UserMessageSwitchKeepsTheText)
{
    Check(setup.get(), "chkUsrM")->click();
    EXPECT_FALSE(Text(setup.get(), "txtUsrM")->isEnabled());
    EXPECT_EQ(Text(setup.get(), "txtUsrM")->text(), "WWV");
    Check(setup.get(), "chkUsrM")->click();
    EXPECT_TRUE(Text(setup.get(), "txtUsrM")->isEnabled());
}

TEST_F(SetupFixture, GrayedBoxClickedByTheOperatorBecomesOffOrOn)
{
    Check(setup.get(), "chkBeep")->setValue(2);
    EXPECT_EQ(Check(setup.get(), "chkBeep")->value(), 2);
    Check(setup.get(), "chkBeep")->click();
    EXPECT_EQ(Check(setup.get(), "chkBeep")->value(), 0);
    Check(setup.get(), "chkBeep")->click();
    EXPECT_EQ(Check(setup.get(), "chkBeep")->value(), 1);
}

// Every setting's control, changed as Load or the operator changes it.
TEST_F(SetupFixture, EveryChangeButThePortNumberResetsAFileTitle)
{
    for (const ConfigField &field : ConfigFields()) {
        setup->setWindowTitle(kFileTitle);
        QWidget *control = setup->findChild<QWidget *>(field.control);
        ASSERT_NE(control, nullptr) << field.control.toStdString();
        if (auto *box = qobject_cast<TextBox *>(control))
            box->setText(box->text() + "1");
        else if (auto *check = qobject_cast<CheckBox *>(control))
            check->click();
        else if (auto *list = qobject_cast<ComboBox *>(control))
            list->setListIndex((list->listIndex() + 1) % list->count());
        const QString expected = field.control == "txtComm" ? kFileTitle : kPlain;
        EXPECT_EQ(setup->windowTitle(), expected) << field.control.toStdString();
    }

    setup->setWindowTitle(kFileTitle);
    emit List(setup.get(), "cbBand", 0)
        ->activated(List(setup.get(), "cbBand", 0)->listIndex()); // the same band again
    EXPECT_EQ(setup->windowTitle(), kPlain);
    setup->setWindowTitle(kFileTitle);
    type(Text(setup.get(), "txtComm"), "2");
    EXPECT_EQ(setup->windowTitle(), kFileTitle);
    EXPECT_EQ(Text(setup.get(), "txtComm")->background(), TextBox::Background::Edited);
}

TEST_F(SetupFixture, WritingTheSameTextIsNoChange)
{
    setup->setWindowTitle(kFileTitle);
    Text(setup.get(), "txtTimer")->setText(Text(setup.get(), "txtTimer")->text());
    EXPECT_EQ(setup->windowTitle(), kFileTitle);
    EXPECT_EQ(Text(setup.get(), "txtTimer")->background(), TextBox::Background::Normal);
}

TEST_F(SetupFixture, CloseIsRefusedWhileThePortIsOpen)
{
    setup->show();
    port.open_ = true;
    EXPECT_FALSE(setup->close());
    EXPECT_TRUE(setup->isVisible());
    EXPECT_TRUE(services.messages.empty());
    port.open_ = false;
    EXPECT_TRUE(setup->close());
    EXPECT_FALSE(setup->hasDialog() && setup->dialog()->isVisible());
}

TEST_F(SetupFixture, DialogHidesOnOkOrAfterItsInterval)
{
    Dialog *dialog = setup->dialog();
    Part<QTimer>(dialog, "tmrHide")->setInterval(20);
    dialog->show();
    Part<QTimer>(dialog, "tmrHide")->start();
    QTest::mouseClick(Part<QPushButton>(dialog, "OKButton"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(Part<QTimer>(dialog, "tmrHide")->isActive()); // will not fire later

    dialog->show();
    Part<QTimer>(dialog, "tmrHide")->start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->isVisible(); }, 2000));
    EXPECT_FALSE(Part<QTimer>(dialog, "tmrHide")->isActive());
    EXPECT_EQ(Part<QTimer>(dialog, "tmrHide")->interval(), 20);
}
