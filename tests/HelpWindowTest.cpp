// SPDX-License-Identifier: GPL-3.0-or-later
#include "SetupFixture.h"
#include "frmIstruzioni.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>

using namespace kestrix;

namespace {

// Counts the F1 presses that reach a widget.
class F1Counter : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1)
            ++count;
        return false;
    }
};

// A settings window started in an empty working directory.
class HelpWindow : public SetupFixture
{
protected:
    void SetUp() override
    {
        m_savedDir = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(m_folder.path()));
        SetupFixture::SetUp();
        setup->show();
        activate(setup.get());
    }
    void TearDown() override
    {
        setup.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QDir::setCurrent(m_savedDir);
    }

    static void writeHelp(const QByteArray &rtf)
    {
        QFile file(QString::fromLatin1(kHelpFileName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(rtf);
    }
    static void activate(QWidget *window)
    {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    // Help as the button gives it, once the window has taken the activation.
    void openHelp()
    {
        setup->cmdHelp_Click();
        ASSERT_TRUE(setup->instructions());
        activate(setup->instructions());
    }
    QString shownText() const { return setup->instructions()->rtfIstruzioni->toPlainText(); }
    bool helpOpen() const
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return setup->instructions() && setup->instructions()->isVisible();
    }

private:
    QTemporaryDir m_folder;
    QString m_savedDir;
};

} // namespace

TEST_F(HelpWindow, HelpShowsTheFileInTheWorkingDirectoryUnderItsTitle)
{
    writeHelp("{\\rtf1 First {\\b version}.}");
    QTest::mouseClick(Button(setup.get(), "cmdHelp"), Qt::LeftButton);
    activate(setup->instructions());
    ASSERT_TRUE(helpOpen());
    EXPECT_EQ(setup->instructions()->windowTitle(), " Kestrix Config v6.DX - Istruzioni");
    EXPECT_EQ(shownText(), "First version.");
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(HelpWindow, TheFileIsReadAgainWhenTheWindowIsActivatedAgain)
{
    writeHelp("{\\rtf1 First}");
    openHelp();
    ASSERT_TRUE(helpOpen());
    activate(setup.get());
    writeHelp("{\\rtf1 Second}");
    EXPECT_EQ(shownText(), "First");
    activate(setup->instructions());
    EXPECT_EQ(shownText(), "Second");

    // Help while it is open: the same window, to the front, read again.
    frmIstruzioni *window = setup->instructions();
    activate(setup.get());
    writeHelp("{\\rtf1 Third}");
    setup->cmdHelp_Click();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    EXPECT_EQ(setup->instructions(), window);
    EXPECT_EQ(shownText(), "Third");

    // An unchanged file is not read again.
    const QTextDocument *shown = window->rtfIstruzioni->document();
    activate(setup.get());
    activate(window);
    EXPECT_EQ(window->rtfIstruzioni->document(), shown);
}

TEST_F(HelpWindow, AMissingFileIsReportedAndNoWindowStays)
{
    QDir().mkdir(QString::fromLatin1(kHelpFileName)); // a folder is no help file
    setup->cmdHelp_Click();
    QTest::qWait(50);
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, "Manca il file di help Kestrix_Config.rtf");
    EXPECT_EQ(services.messages[0].title, "Kestrix Config v6.DX");
    EXPECT_EQ(services.messages[0].icon, MessageIcon::Critical);
    EXPECT_FALSE(helpOpen());
    EXPECT_TRUE(Button(setup.get(), "cmdSend")->isEnabled()); // the settings window works on
}

TEST_F(HelpWindow, AFileThatCannotBeReadKeepsTheWindowWithItsEarlierText)
{
    writeHelp("{\\rtf1 Good}");
    openHelp();
    ASSERT_TRUE(helpOpen());
    activate(setup.get());
    writeHelp("not rich text");
    activate(setup->instructions());
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text,
              "The file is not in rich text format: it does not begin with {\\rtf.\r\n"
              "Kestrix_Config.rtf");
    EXPECT_EQ(services.messages[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(helpOpen());
    EXPECT_EQ(shownText(), "Good");
}

TEST_F(HelpWindow, F1WithAnyModifierOpensHelpAndStillReachesTheFocusedField)
{
    writeHelp("{\\rtf1 Help}");
    F1Counter counter;
    Text(setup.get(), "txtTimer")->installEventFilter(&counter);
    int presses = 0;
    for (const Qt::KeyboardModifiers modifiers :
         {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier),
          Qt::KeyboardModifiers(Qt::ControlModifier), Qt::KeyboardModifiers(Qt::AltModifier)}) {
        if (setup->instructions())
            setup->instructions()->close();
        ASSERT_FALSE(helpOpen());
        activate(setup.get());
        Text(setup.get(), "txtTimer")->setFocus();
        QTest::keyClick(Text(setup.get(), "txtTimer"), Qt::Key_F1, modifiers);
        ASSERT_TRUE(setup->instructions()) << modifiers;
        activate(setup->instructions());
        EXPECT_TRUE(helpOpen());
        EXPECT_EQ(shownText(), "Help");
        EXPECT_EQ(counter.count, ++presses);
    }
    EXPECT_EQ(Text(setup.get(), "txtTimer")->text(), "1,0");
}

TEST_F(HelpWindow, EscapeClosesTheWindowFromItsText)
{
    writeHelp("{\\rtf1 Help}");
    openHelp();
    ASSERT_TRUE(helpOpen());
    QTest::keyClick(setup->instructions()->rtfIstruzioni, Qt::Key_Escape);
    EXPECT_FALSE(helpOpen());
}
