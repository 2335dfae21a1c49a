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

// The column of every row, or the cells of a row that are not empty.
QString shown(const QTreeWidget *list, int row, int column)
{
    QStringList cells;
    for (int r = 0; r < list->topLevelItemCount(); ++r)
        for (int c = 0; c < list->columnCount(); ++c)
            if ((r == row || row < 0) && (c == column || column < 0) &&
                !list->topLevelItem(r)->text(c).isEmpty())
                cells << list->topLevelItem(r)->text(c);
    return cells.join(" | ");
}

void runChooser(const QString &path)
{
    FakePortLister ports;
    FakePortMappings stored;
    QProcessEnvironment environment;
    std::unique_ptr<PortChooser> chooser;
    const Steps steps = {
        {"port",
         [&](const QString &rest) {
             const QStringList c = rest.split(" | ");
             ports.entries << PortEntry{c[0], c[1], c[2],
                                        c[3], c[4], PortAvailability(kAvailability.indexOf(c[5]))};
         }},
        {"stored",
         [&](const QString &rest) { stored.devices[rest.left(1).toInt()] = rest.mid(2); }},
        {"env", [&](const QString &rest) { environment.insert("KESTRIX_COM2", rest); }},
        {"refuses", [&](const QString &rest) { stored.failure = rest; }},
        {"open",
         [&](const QString &) {
             chooser = std::make_unique<PortChooser>(2, ports, stored, environment);
             chooser->show();
             QApplication::setActiveWindow(chooser.get());
             ASSERT_TRUE(QTest::qWaitForWindowActive(chooser.get()));
         }},
        {"use",
         [&](const QString &rest) {
             chooser->list()->setCurrentItem(chooser->list()->topLevelItem(rest.toInt()));
             chooser->useButton()->click();
         }},
        {"forget", [&](const QString &) { chooser->forgetButton()->click(); }},
        {"refresh", [&](const QString &) { chooser->refresh(); }},
        {"key",
         [&](const QString &rest) {
             const QKeyCombination key = QKeySequence(rest)[0];
             QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
         }},
        {"title", Expect([&] { return chooser->windowTitle(); })},
        {"now", Expect([&] { return chooser->current()->text(); })},
        {"problem", Expect([&] { return chooser->problem()->text(); })},
        {"first", Expect([&] { return shown(chooser->list(), 0, -1); })},
        {"rows", Expect([&] { return shown(chooser->list(), -1, 5); })},
        {"enabled", Expect([&] {
             return QStringList{chooser->useButton()->isEnabled() ? "use" : "",
                                chooser->forgetButton()->isEnabled() ? "forget" : ""}
                 .join(' ')
                 .trimmed();
         })},
        {"is", Expect([&] { return chooser->isVisible() ? "open" : "closed"; })},
        {"choices", Expect([&] {
             QStringList all;
             for (const auto &[port, device] : stored.devices)
                 all << QStringLiteral("%1=%2").arg(port).arg(device);
             return all.join(' ');
         })},
        {"missing", Expect([&] {
             QtSerialPort serial(environment, &stored);
             serial.adviseOnMissingDevice(&ports, "Right-click Comm num to choose one.");
             return serial.setPortNumber(2) ? Said(serial.open()) : "no COM2";
         })},
    };
    RunScenario(path, steps);
}

} // namespace

#ifndef Q_OS_WIN
TEST(PortChooser, Scenarios)
{
    for (const QString &path : Scenarios("chooser"))
        runChooser(path);
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
    Text(setup.get(), "txtTimer")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Part<PortChooser>(setup.get(), "PortChooser")->windowTitle(),
              "Serial device for COM2");
    EXPECT_EQ(Text(setup.get(), "txtTimer")->text(), "1,0"); // the key typed nothing
}
