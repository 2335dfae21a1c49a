// SPDX-License-Identifier: GPL-3.0-or-later
#include "Dialog.h"
#include "EntryCases.h"
#include "LocaleGuard.h"
#include "SetupFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

using namespace kestrix;

namespace {

enum class Path
{
    Typed,
    InputMethod,
    CtrlV,
    MenuPaste,
    Drop
};

class EntryPaths : public SetupFixture, public testing::WithParamInterface<Path>
{
protected:
    void SetUp() override
    {
        SetupFixture::SetUp();
        ASSERT_TRUE(showActive());
        Check(setup.get(), "chkRange")->setValue(1);
        Check(setup.get(), "chkDxCall")->setValue(1);
    }

    // The right-click menu as the operator opens it, and its Paste.
    static void pasteFromContextMenu(TextBox *box)
    {
        QContextMenuEvent click(QContextMenuEvent::Mouse, box->rect().center(),
                                box->mapToGlobal(box->rect().center()));
        QApplication::sendEvent(box, &click);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction *action : menu->actions()) {
            if (action->text().startsWith(QStringLiteral("&Paste")) && action->isEnabled())
                action->trigger();
        }
        menu->close();
    }

    static void enterBy(Path path, TextBox *box, const QString &text)
    {
        switch (path) {
        case Path::Typed:
            for (const QChar c : text) {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QApplication::sendEvent(box, &press);
            }
            break;
        case Path::InputMethod: {
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QApplication::sendEvent(box, &commit);
            break;
        }
        case Path::CtrlV:
            QApplication::clipboard()->setText(text);
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            break;
        case Path::MenuPaste:
            QApplication::clipboard()->setText(text);
            pasteFromContextMenu(box);
            break;
        case Path::Drop: {
            QMimeData data;
            data.setText(text);
            const QPoint at = box->rect().center();
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(box, &enter);
            QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(box, &drop);
            break;
        }
        }
    }

    LocaleGuard point = LocaleGuard::point();
};

} // namespace

TEST_P(EntryPaths, EveryFieldKindFiltersAndLimitsWhatEnters)
{
    const bool typed = GetParam() == Path::Typed || GetParam() == Path::InputMethod;
    for (const EntryCase &c : kEntryCases) {
        TextBox *box = Part<TextBox>(setup.get(), c.field);
        box->setText(QString());
        box->setFocus();
        QCoreApplication::processEvents();
        services.beeps = 0;
        enterBy(GetParam(), box, c.input);
        EXPECT_EQ(box->text(), typed ? c.typed : c.pasted) << c.name;
        EXPECT_EQ(services.beeps, typed ? c.typedBeeps : 0) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(All, EntryPaths,
                         testing::Values(Path::Typed, Path::InputMethod, Path::CtrlV,
                                         Path::MenuPaste, Path::Drop));

TEST_F(SetupFixture, ReturnAndEnterPressTheFocusedButtonButNotFromAField)
{
    ASSERT_TRUE(showActive());
    int commands = 0;
    for (QPushButton *button : setup->findChildren<QPushButton *>()) {
        if (button->window() != setup.get())
            continue; // the result dialog's OK
        ++commands;
        // Nothing that a press starts may open a window or block.
        button->disconnect(SIGNAL(clicked(bool)));
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            QSignalSpy clicks(button, &QPushButton::clicked);
            button->setFocus();
            QTest::keyClick(button, key);
            EXPECT_EQ(clicks.size(), 1) << button->objectName().toStdString();
            Text(setup.get(), "txtComm")->setFocus();
            QTest::keyClick(Text(setup.get(), "txtComm"), key);
            EXPECT_EQ(clicks.size(), 1) << button->objectName().toStdString();
        }
    }
    EXPECT_EQ(commands, 5);
}

TEST_F(SetupFixture, TheWheelTurnsOnlyTheFocusedList)
{
    ASSERT_TRUE(showActive());
    Check(setup.get(), "chkBand")->setValue(1);
    ComboBox *band = List(setup.get(), "cbBand", 1);
    const int before = band->listIndex();
    const auto turn = [band] {
        const QPointF at = band->rect().center();
        QWheelEvent wheel(at, band->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(band, &wheel);
    };
    Text(setup.get(), "txtTimer")->setFocus();
    turn();
    EXPECT_EQ(band->listIndex(), before);
    EXPECT_TRUE(Text(setup.get(), "txtTimer")->hasFocus());
    band->setFocus();
    turn();
    EXPECT_EQ(band->listIndex(), before + 1);
}

TEST_F(SetupFixture, TheResultHidesAfterPreciselyFortyFiveSeconds)
{
    const QTimer *timer = Part<QTimer>(setup->dialog(), "tmrHide");
    EXPECT_EQ(timer->interval(), 45000);
    EXPECT_EQ(timer->timerType(), Qt::PreciseTimer);
}
