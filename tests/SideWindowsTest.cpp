// SPDX-License-Identifier: GPL-3.0-or-later
// The windows the settings window opens beside it, the help window and the
// serial device chooser: the scenarios in tests/data/side-windows, whose
// README says what each step means.

#include "PortChooser.h"
#include "QtSerialPort.h"
#include "Scenario.h"
#include "SetupFixture.h"
#include "frmIstruzioni.h"

#include <QMenu>
#include <QPointer>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTreeWidget>

#include <fstream>

using namespace kestrix;

namespace {

// In the order of PortAvailability.
const QStringList kAvailability = {"free", "in use", "no permission", "unknown"};
const QStringList kIcons = {"none", "information", "critical"}; // as MessageIcon

// The column of every row, or the cells of a row, that are not empty.
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

} // namespace

TEST_F(SetupFixture, SideWindowScenarios)
{
    const QString savedDir = QDir::currentPath();
    for (const QString &path : Scenarios("side-windows")) {
        QTemporaryDir folder;
        ASSERT_TRUE(QDir::setCurrent(folder.path()));
        qunsetenv("KESTRIX_COM2");
        services.messages.clear();
        ports.entries.clear();
        portMappings = {};
        SetUp();
        ASSERT_TRUE(showActive());
        const auto help = [&] { return setup->instructions(); };
        const auto chooser = [&] { return setup->findChild<PortChooser *>(); };
        // What an action opened has taken the activation, or closed at it.
        const auto settle = [&] {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            const QPointer<QWidget> opened = chooser() ? static_cast<QWidget *>(chooser()) : help();
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return !opened || !opened->isVisible() || opened->isActiveWindow(); }));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        };
        std::pair<QPointer<QWidget>, QPointer<QTextDocument>> marked;
        const Steps steps = {
            {"write",
             [&](const QString &rest) { std::ofstream(kHelpFileName) << rest.toStdString(); }},
            {"mkdir", [&](const QString &) { ASSERT_TRUE(QDir().mkdir(kHelpFileName)); }},
            {"port",
             [&](const QString &rest) {
                 const QStringList c = rest.split(" | ");
                 ports.entries << PortEntry{
                     c[0], c[1], c[2], c[3], c[4], PortAvailability(kAvailability.indexOf(c[5]))};
             }},
            {"stored",
             [&](const QString &rest) {
                 portMappings.devices[rest.left(1).toInt()] = rest.mid(2);
             }},
            {"env", [&](const QString &rest) { qputenv("KESTRIX_COM2", rest.toLocal8Bit()); }},
            {"refuses", [&](const QString &rest) { portMappings.failure = rest; }},
            {"set",
             [&](const QString &rest) {
                 Text(setup.get(), rest.section(' ', 0, 0))->setText(rest.section(' ', 1));
             }},
            {"focus",
             [&](const QString &rest) {
                 ASSERT_TRUE(showActive());
                 Part(setup.get(), rest)->setFocus();
             }},
            {"key",
             [&](const QString &rest) {
                 const QKeyCombination key = QKeySequence(rest)[0];
                 QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
                 settle();
             }},
            {"click",
             [&](const QString &rest) {
                 for (QPushButton *b : QApplication::activeWindow()->findChildren<QPushButton *>())
                     if (b->objectName() == rest || b->text().remove('&') == rest)
                         QTest::mouseClick(b, Qt::LeftButton);
                 settle();
             }},
            {"menu",
             [&](const QString &rest) {
                 std::unique_ptr<QMenu> menu(
                     Text(setup.get(), rest.section(' ', 0, 0))->createEditMenu());
                 EXPECT_EQ(menu->actions().last()->text(), rest.section(' ', 1));
                 menu->actions().last()->trigger();
                 settle();
             }},
            {"select",
             [&](const QString &rest) {
                 chooser()->list()->setCurrentItem(chooser()->list()->topLevelItem(rest.toInt()));
             }},
            {"away", [&](const QString &) { ASSERT_TRUE(showActive()); }},
            {"back", [&](const QString &) { help()->activateWindow(), settle(); }},
            {"mark",
             [&](const QString &) {
                 marked = {help(), help()->rtfIstruzioni->document()};
             }},
            {"windows", Expect([&] {
                 QStringList titles;
                 for (QWidget *w : std::initializer_list<QWidget *>{chooser(), help()})
                     if (w && w->isVisible())
                         titles << w->windowTitle();
                 return titles.join(" | ");
             })},
            {"shows", Expect([&] { return help()->rtfIstruzioni->toPlainText(); })},
            {"said", Expect([&] {
                 QStringList said;
                 for (const FakeServices::Message &m : services.messages)
                     said << kIcons[int(m.icon)] + " | " + m.title + " | " + m.text;
                 services.messages.clear();
                 return said.join('\n');
             })},
            {"same", Expect([&] {
                 const bool document = help()->rtfIstruzioni->document() == marked.second;
                 return QStringLiteral("%1 %2")
                     .arg(help() == marked.first ? "window" : "", document ? "document" : "")
                     .trimmed();
             })},
            {"text",
             [&](const QString &rest) {
                 EXPECT_EQ(Text(setup.get(), rest.section(' ', 0, 0))->text(),
                           rest.section(' ', 1));
             }},
            {"now", Expect([&] { return chooser()->current()->text(); })},
            {"problem", Expect([&] { return chooser()->problem()->text(); })},
            {"first", Expect([&] { return shown(chooser()->list(), 0, -1); })},
            {"rows", Expect([&] { return shown(chooser()->list(), -1, 5); })},
            {"enabled", Expect([&] {
                 QStringList on;
                 for (QPushButton *b : chooser()->findChildren<QPushButton *>())
                     if (b->isEnabled())
                         on << b->text().remove('&');
                 return on.join(", ");
             })},
            {"choices", Expect([&] {
                 QStringList all;
                 for (const auto &[number, device] : portMappings.devices)
                     all << QStringLiteral("%1=%2").arg(number).arg(device);
                 return all.join(' ');
             })},
            {"missing", Expect([&] {
                 QtSerialPort serial(QProcessEnvironment::systemEnvironment(), &portMappings);
                 serial.adviseOnMissingDevice(&ports, "Right-click Comm num to choose one.");
                 return serial.setPortNumber(2) ? Said(serial.open()) : "no COM2";
             })},
        };
        RunScenario(path, steps);
        setup.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    qunsetenv("KESTRIX_COM2");
    QDir::setCurrent(savedDir);
}
