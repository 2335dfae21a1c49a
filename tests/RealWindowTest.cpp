// SPDX-License-Identifier: GPL-3.0-or-later
#include "Dialog.h"
#include "EntryCases.h"
#include "LocaleGuard.h"
#include "PortChooser.h"
#include "SetupFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

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
    ASSERT_TRUE(Text(setup.get(), "txtTimer")->hasFocus());
    EXPECT_EQ(Text(setup.get(), "txtTimer")->selectedText(), Text(setup.get(), "txtTimer")->text());
    typeText("5");
    EXPECT_EQ(Text(setup.get(), "txtTimer")->text(), "5");
}

TEST_F(RealWindow, TypedKeysPassTheKeyReaction)
{
    Check(setup.get(), "chkRange")->setValue(1);
    Check(setup.get(), "chkDxCall")->setValue(1);
    for (const EntryCase &c : kEntryCases) {
        TextBox *box = Part<TextBox>(setup.get(), c.field);
        clear(box);
        typeText(c.input);
        EXPECT_EQ(box->text(), c.typed) << c.name;
        EXPECT_EQ(services.beeps, c.typedBeeps) << c.name;
    }
    // A full field takes no more.
    clear(Text(setup.get(), "txtUsrM"));
    typeText("abcdefghij");
    EXPECT_EQ(Text(setup.get(), "txtUsrM")->text(), "abcdefghi");
}

TEST_F(RealWindow, ContextMenuAndMiddleClickPastePassTheKeyReaction)
{
    Check(setup.get(), "chkRange")->setValue(1);
    Check(setup.get(), "chkDxCall")->setValue(1);
    for (const EntryCase &c : kEntryCases) {
        TextBox *box = Part<TextBox>(setup.get(), c.field);
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
    clear(Text(setup.get(), "txtTimer"));
    typeText("7");
    Button(setup.get(), "cmdDefault")->setFocus();
    xdotool({"key", "Return"});
    EXPECT_EQ(Text(setup.get(), "txtTimer")->text(), "1,0"); // the default, in every locale
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

TEST_F(RealWindow, TheResultTakesItsAnswerFromTheKeyboardOnceSendingIsOver)
{
    for (const char *key : {"Return", "space", "Escape"}) {
        bool escapedWhileSending = false;
        services.duringPause = [&] {
            if (services.pauses.size() != 1)
                return;
            ASSERT_TRUE(QTest::qWaitForWindowActive(setup->dialog(), 5000));
            xdotool({"key", "Escape"});
            escapedWhileSending = !setup->dialog()->isVisible();
        };
        setup->cmdSend_Click();
        Dialog *dialog = setup->dialog();
        EXPECT_FALSE(escapedWhileSending) << key;
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog, 5000)) << key;
        EXPECT_EQ(QApplication::focusWidget(), Part<QPushButton>(dialog, "OKButton")) << key;
        xdotool({"key", key});
        EXPECT_FALSE(dialog->isVisible()) << key;
        EXPECT_FALSE(Part<QTimer>(dialog, "tmrHide")->isActive()) << key;
        services.pauses.clear();
    }
}

namespace {

// Drags its text out as a text editor does, offering a copy or a move, and
// keeps what the drop made of it.
class DragSource : public QLabel
{
public:
    using QLabel::QLabel;
    Qt::DropAction result = Qt::IgnoreAction;
    bool dragged = false;

protected:
    void mousePressEvent(QMouseEvent *) override
    {
        auto *drag = new QDrag(this);
        auto *data = new QMimeData;
        data->setText(text());
        drag->setMimeData(data);
        result = drag->exec(Qt::CopyAction | Qt::MoveAction);
        dragged = true;
    }
};

} // namespace

TEST_F(RealWindow, ADropIsACopyAndOnlyWhenSomethingWentIn)
{
    struct DropCase
    {
        TextBox *field;
        const char *dragged;
        Qt::DropAction result;
        QString text; // what the field holds after the drop
    };
    const DropCase cases[] = {
        {Text(setup.get(), "txtComm"), "ab*c", Qt::IgnoreAction,
         "1"}, // nothing passes the port's filter
        {Text(setup.get(), "txtUsrM"), "ab*c", Qt::CopyAction, "ab*c"},
    };
    for (const DropCase &c : cases) {
        c.field->setText(QString());
        Text(setup.get(), "txtComm")->setText("1");
        DragSource source(QString::fromLatin1(c.dragged));
        source.setWindowFlag(Qt::FramelessWindowHint);
        source.setGeometry(900, 700, 120, 40);
        source.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&source));
        const QPoint from = source.mapToGlobal(source.rect().center());
        const QPoint to = c.field->mapToGlobal(c.field->rect().center());
        // The drag runs its own loop, so the hand that moves the mouse is
        // another process; Shift asks for a move, as it does in an editor.
        const auto at = [](QPoint p, int dx = 0) {
            return QStringLiteral("mousemove %1 %2 sleep 0.2 ").arg(p.x() + dx).arg(p.y());
        };
        QProcess::startDetached(
            QStringLiteral("sh"),
            {"-c", "xdotool " + at(from) + "mousedown 1 sleep 0.3 keydown shift " + at(from, 30) +
                       at(to, -4) + at(to) + at(to, 2) + "mouseup 1 sleep 0.2 keyup shift"});
        ASSERT_TRUE(QTest::qWaitFor([&] { return source.dragged; }, 10000)) << c.dragged;
        EXPECT_EQ(source.result, c.result) << c.field->objectName().toStdString();
        EXPECT_EQ(c.field->text(), c.text) << c.field->objectName().toStdString();
    }
}
