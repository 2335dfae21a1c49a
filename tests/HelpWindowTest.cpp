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

void runHelp(const QString &path)
{
    QTemporaryDir folder;
    const QString savedDir = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    FakeServices services;
    FakeFileDialogs files;
    FakeSerialPort port;
    FakePortLister ports;
    FakePortMappings portMappings;
    auto setup = std::make_unique<Setup>(SetupPlatform{services, port, files, ports, portMappings});
    setup->load();
    setup->show();
    activate(setup.get());
    // What an action opened has taken the activation, or closed at it.
    const auto settle = [&] {
        const QPointer<frmIstruzioni> help = setup->instructions();
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return !help || !help->isVisible() || help->isActiveWindow(); }));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    const auto help = [&] { return setup->instructions(); };
    F1Counter counter;
    QPointer<frmIstruzioni> markedWindow;
    QPointer<QTextDocument> markedDocument;
    const QStringList icons = {"none", "information", "critical"}; // as MessageIcon
    QFile file(QString::fromLatin1(kHelpFileName));

    RunScenario(path, [&](const QString &verb, const QString &rest) {
        if (verb == "write") {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(rest.toUtf8());
            file.close();
        } else if (verb == "mkdir") {
            ASSERT_TRUE(QDir().mkdir(file.fileName()));
        } else if (verb == "click") {
            QTest::mouseClick(Button(setup.get(), rest), Qt::LeftButton);
            settle();
        } else if (verb == "focus") {
            activate(setup.get());
            Part(setup.get(), rest)->setFocus();
            Part(setup.get(), rest)->installEventFilter(&counter);
        } else if (verb == "key") {
            const QKeyCombination key = QKeySequence(rest)[0];
            QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
            settle();
        } else if (verb == "away") {
            activate(setup.get());
        } else if (verb == "back") {
            activate(help());
            settle();
        } else if (verb == "close") {
            help()->close();
            settle();
        } else if (verb == "is") {
            EXPECT_EQ(help() && help()->isVisible() ? "open" : "closed", rest);
        } else if (verb == "title") {
            EXPECT_EQ(help()->windowTitle(), rest);
        } else if (verb == "shows") {
            EXPECT_EQ(help()->rtfIstruzioni->toPlainText(), rest);
        } else if (verb == "said") {
            QStringList said;
            for (const FakeServices::Message &m : services.messages)
                said << icons[int(m.icon)] + " | " + m.title + " | " + m.text;
            EXPECT_PRED2(Matches, said.join("\n"), rest);
            services.messages.clear();
        } else if (verb == "reached") {
            EXPECT_EQ(counter.presses, rest.toInt());
        } else if (verb == "mark") {
            markedWindow = help();
            markedDocument = help()->rtfIstruzioni->document();
        } else if (verb == "same") {
            EXPECT_TRUE(rest == "window" ? help() == markedWindow
                                         : help()->rtfIstruzioni->document() == markedDocument);
        } else {
            ADD_FAILURE() << "no step " << verb.toStdString();
        }
    });
    setup.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QDir::setCurrent(savedDir);
}

} // namespace

TEST(HelpWindow, Scenarios)
{
    RunScenarios("help", runHelp);
}
