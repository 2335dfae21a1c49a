// SPDX-License-Identifier: GPL-3.0-or-later
// The help window as the settings window opens it: the scenarios in
// tests/data/help, whose README says what each step means.

#include "Scenario.h"
#include "SetupFixture.h"
#include "frmIstruzioni.h"

#include <QPointer>
#include <QTemporaryDir>
#include <QTextEdit>

using namespace kestrix;

namespace {

struct F1Counter : QObject
{
    int presses = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        presses += event->type() == QEvent::KeyPress &&
                   static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1;
        return false;
    }
};

void activate(QWidget *window)
{
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
}

} // namespace

TEST_F(SetupFixture, HelpWindowScenarios)
{
    const QString savedDir = QDir::currentPath();
    for (const QString &path : Scenarios("help")) {
        QTemporaryDir folder;
        ASSERT_TRUE(QDir::setCurrent(folder.path()));
        SetUp();
        services.messages.clear();
        setup->show();
        activate(setup.get());
        const auto help = [&] { return setup->instructions(); };
        // What an action opened has taken the activation, or closed at it.
        const auto settle = [&] {
            const QPointer<frmIstruzioni> opened = help();
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return !opened || !opened->isVisible() || opened->isActiveWindow(); }));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        };
        F1Counter counter;
        QPointer<frmIstruzioni> markedWindow;
        QPointer<QTextDocument> markedDocument;
        const QStringList icons = {"none", "information", "critical"}; // as MessageIcon
        QFile file(QString::fromLatin1(kHelpFileName));
        const Steps steps = {
            {"write",
             [&](const QString &rest) {
                 ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
                 file.write(rest.toUtf8());
                 file.close();
             }},
            {"mkdir", [&](const QString &) { ASSERT_TRUE(QDir().mkdir(file.fileName())); }},
            {"click",
             [&](const QString &rest) {
                 QTest::mouseClick(Button(setup.get(), rest), Qt::LeftButton);
                 settle();
             }},
            {"focus",
             [&](const QString &rest) {
                 activate(setup.get());
                 Part(setup.get(), rest)->setFocus();
                 Part(setup.get(), rest)->installEventFilter(&counter);
             }},
            {"key",
             [&](const QString &rest) {
                 const QKeyCombination key = QKeySequence(rest)[0];
                 QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
                 settle();
             }},
            {"away", [&](const QString &) { activate(setup.get()); }},
            {"back", [&](const QString &) { activate(help()), settle(); }},
            {"close", [&](const QString &) { help()->close(), settle(); }},
            {"is", Expect([&] { return help() && help()->isVisible() ? "open" : "closed"; })},
            {"title", Expect([&] { return help()->windowTitle(); })},
            {"shows", Expect([&] { return help()->rtfIstruzioni->toPlainText(); })},
            {"said", Expect([&] {
                 QStringList said;
                 for (const FakeServices::Message &m : services.messages)
                     said << icons[int(m.icon)] + " | " + m.title + " | " + m.text;
                 services.messages.clear();
                 return said.join('\n');
             })},
            {"reached", Expect([&] { return QString::number(counter.presses); })},
            {"mark",
             [&](const QString &) {
                 markedWindow = help();
                 markedDocument = help()->rtfIstruzioni->document();
             }},
            {"same", Expect([&] {
                 return QStringList{help() == markedWindow ? "window" : "",
                                    help()->rtfIstruzioni->document() == markedDocument ? "document"
                                                                                        : ""}
                     .join(' ')
                     .trimmed();
             })},
        };
        RunScenario(path, steps);
        setup.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QDir::setCurrent(savedDir);
}
