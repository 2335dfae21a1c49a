// SPDX-License-Identifier: GPL-3.0-or-later
#include "EntryCases.h"
#include "LocaleGuard.h"
#include "PortChooser.h"
#include "SetupFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QProcess>
#include <QPushButton>

using namespace kestrix;

namespace {

// Real input through the X server, as from a keyboard and a mouse.
void xdotool(const QStringList &args)
{
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), args), 0)
        << args.join(' ').toStdString();
    QTest::qWait(150); // the server's events reach the window
}

void clickOn(const QWidget *widget, int button)
{
    const QPoint at = widget->mapToGlobal(widget->rect().center());
    xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click",
             QString::number(button)});
}

void typeText(const QString &text)
{
    xdotool({"type", "--delay", "30", "--", text});
}

class RealWindow : public SetupFixture
{
protected:
    void SetUp() override
    {
        SetupFixture::SetUp();
        setup->show();
        setup->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(setup.get(), 10000));
        QTest::qWait(200);
    }

    // Clicks into a field and empties it, as the operator would.
    void clear(TextBox *box)
    {
        clickOn(box, 1);
        xdotool({"key", "BackSpace"});
        ASSERT_EQ(box->text(), QString()) << box->objectName().toStdString();
        services.beeps = 0;
    }

    LocaleGuard point = LocaleGuard::point();
};

} // namespace

TEST_F(RealWindow, TypingAtOpenReplacesTheTimer)
{
    ASSERT_TRUE(setup->txtTimer->hasFocus());
    EXPECT_EQ(setup->txtTimer->selectedText(), setup->txtTimer->text());
    typeText("5");
    EXPECT_EQ(setup->txtTimer->text(), "5");
}

TEST_F(RealWindow, TypedKeysPassTheKeyReaction)
{
    setup->chkRange->setValue(1);
    setup->chkDxCall->setValue(1);
    for (const EntryCase &c : kEntryCases) {
        TextBox *box = c.field(*setup);
        clear(box);
        typeText(c.input);
        EXPECT_EQ(box->text(), c.typed) << c.name;
        EXPECT_EQ(services.beeps, c.typedBeeps) << c.name;
    }
    // A full field takes no more.
    clear(setup->txtUsrM);
    typeText("abcdefghij");
    EXPECT_EQ(setup->txtUsrM->text(), "abcdefghi");
}

TEST_F(RealWindow, ContextMenuAndMiddleClickPastePassTheKeyReaction)
{
    setup->chkRange->setValue(1);
    setup->chkDxCall->setValue(1);
    for (const EntryCase &c : kEntryCases) {
        TextBox *box = c.field(*setup);
        clear(box);
        QApplication::clipboard()->setText(c.input);
        clickOn(box, 3);
        ASSERT_NE(qobject_cast<QMenu *>(QApplication::activePopupWidget()), nullptr) << c.name;
        xdotool({"key", "p"});      // the menu's &Paste
        xdotool({"key", "Escape"}); // closes the menu where Paste was disabled
        EXPECT_EQ(box->text(), c.pasted) << "menu " << c.name;

        clear(box);
        QApplication::clipboard()->setText(c.input, QClipboard::Selection);
        clickOn(box, 2);
        EXPECT_EQ(box->text(), c.pasted) << "middle click " << c.name;
        EXPECT_EQ(services.beeps, 0) << c.name;
    }
}

TEST_F(RealWindow, ReturnPressesTheFocusedButton)
{
    clear(setup->txtTimer);
    typeText("7");
    setup->cmdDefault->setFocus();
    xdotool({"key", "Return"});
    EXPECT_EQ(setup->txtTimer->text(), "1,0"); // the default, in every locale
}

// The chooser opens with the focus in its list but no row chosen, so Return
// stores nothing.
TEST_F(RealWindow, ChooserKeysAloneStoreNothing)
{
    ports.entries = {PortEntry{"/dev/ttyS0", "", "", "", "", PortAvailability::Free},
                     PortEntry{"/dev/ttyUSB0", "USB UART", "", "", "", PortAvailability::Free}};
    xdotool({"key", "ctrl+shift+d"});
    auto *chooser = setup->findChild<PortChooser *>();
    ASSERT_NE(chooser, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(chooser, 10000));
    xdotool({"key", "Return"});
    EXPECT_TRUE(portMappings.devices.empty());
    EXPECT_TRUE(chooser->isVisible());
    xdotool({"key", "Down", "Return"}); // a row selected: now Return stores it
    EXPECT_EQ(portMappings.storedDevice(1), "/dev/ttyUSB0");
}
