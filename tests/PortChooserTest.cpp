// SPDX-License-Identifier: GPL-3.0-or-later
// The serial device chooser over fake ports: the scenarios in
// tests/data/chooser, whose README says what each step means.

#include "PortChooser.h"
#include "QtSerialPort.h"
#include "Scenario.h"
#include "SetupFixture.h"

#include <QMenu>
#include <QTreeWidget>

using namespace kestrix;

namespace {

// In the order of PortAvailability.
const QStringList kAvailability = {"free", "in use", "no permission", "unknown"};

QString rowText(const QTreeWidget *list, int row)
{
    QStringList cells;
    for (int column = 0; column < list->columnCount(); ++column)
        cells << list->topLevelItem(row)->text(column);
    while (!cells.isEmpty() && cells.last().isEmpty())
        cells.removeLast();
    return cells.join(" | ");
}

void runChooser(const QString &path)
{
    FakePortLister ports;
    FakePortMappings stored;
    QProcessEnvironment environment;
    std::unique_ptr<PortChooser> chooser;
    RunScenario(path, [&](const QString &verb, const QString &rest) {
        const QStringList cells = rest.split(" | ");
        const int number = rest.section(' ', 0, 0).toInt();
        QTreeWidget *list = chooser ? chooser->list() : nullptr;
        if (verb == "port") {
            ports.entries << PortEntry{cells[0], cells[1],
                                       cells[2], cells[3],
                                       cells[4], PortAvailability(kAvailability.indexOf(cells[5]))};
        } else if (verb == "stored") {
            stored.devices[number] = rest.section(' ', 1);
        } else if (verb == "env") {
            environment.insert("KESTRIX_COM2", rest);
        } else if (verb == "refuses") {
            stored.failure = rest;
        } else if (verb == "open") {
            chooser = std::make_unique<PortChooser>(2, ports, stored, environment);
            chooser->show();
            QApplication::setActiveWindow(chooser.get());
            ASSERT_TRUE(QTest::qWaitForWindowActive(chooser.get()));
        } else if (verb == "use") {
            list->setCurrentItem(list->topLevelItem(number));
            chooser->useButton()->click();
        } else if (verb == "forget") {
            chooser->forgetButton()->click();
        } else if (verb == "refresh") {
            chooser->refresh();
        } else if (verb == "key") {
            const QKeyCombination key = QKeySequence(rest)[0];
            QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        } else if (verb == "title") {
            EXPECT_EQ(chooser->windowTitle(), rest);
        } else if (verb == "now") {
            EXPECT_PRED2(Matches, chooser->current()->text(), rest);
        } else if (verb == "problem") {
            EXPECT_PRED2(Matches, chooser->problem()->text(), rest);
        } else if (verb == "row") {
            EXPECT_EQ(rowText(list, number), rest.section(' ', 1));
        } else if (verb == "rows") {
            QStringList now;
            for (int row = 0; row < list->topLevelItemCount(); ++row)
                now << list->topLevelItem(row)->text(5);
            EXPECT_EQ(now.join(" | "), rest);
        } else if (verb == "enabled") {
            QStringList on;
            if (chooser->useButton()->isEnabled())
                on << "use";
            if (chooser->forgetButton()->isEnabled())
                on << "forget";
            EXPECT_EQ(on.join(' '), rest);
        } else if (verb == "is") {
            EXPECT_EQ(chooser->isVisible() ? "open" : "closed", rest);
        } else if (verb == "choices") {
            QStringList all;
            for (const auto &[port, device] : stored.devices)
                all << QStringLiteral("%1=%2").arg(port).arg(device);
            EXPECT_EQ(all.join(' '), rest);
        } else if (verb == "missing") {
            QtSerialPort serial(environment, &stored);
            serial.adviseOnMissingDevice(&ports, "Right-click Comm num to choose one.");
            ASSERT_TRUE(serial.setPortNumber(2));
            EXPECT_PRED2(Matches, Said(serial.open()), rest);
        } else {
            ADD_FAILURE() << "no step " << verb.toStdString();
        }
    });
}

} // namespace

#ifndef Q_OS_WIN
TEST(PortChooser, Scenarios)
{
    RunScenarios("chooser", runChooser);
}
#endif

TEST_F(SetupFixture, ThePortFieldsMenuAndCtrlShiftDOpenTheChooser)
{
    Text(setup.get(), "txtComm")->setText("2");
    std::unique_ptr<QMenu> menu(Text(setup.get(), "txtComm")->createEditMenu());
    QAction *choose = menu->actions().last();
    EXPECT_EQ(choose->text(), "Serial &device for COM2...");
    choose->trigger();
    delete Part<PortChooser>(setup.get(), "PortChooser");

    ASSERT_TRUE(showActive());
    type(Text(setup.get(), "txtTimer"), QString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Part<PortChooser>(setup.get(), "PortChooser")->windowTitle(),
              "Serial device for COM2");
    EXPECT_EQ(Text(setup.get(), "txtTimer")->text(), "1,0"); // the key typed nothing
}
