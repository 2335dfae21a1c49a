// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextBox.h"

#include "Contrast.h"
#include "Windows1252.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragMoveEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTimer>

#include <algorithm>

namespace kestrix {

TextBox::TextBox(QWidget *parent) : QLineEdit(parent)
{
    setBackground(Background::Normal);
    connect(this, &QLineEdit::textChanged, this, &TextBox::changed);
}

void TextBox::setText(const QString &text)
{
    if (text != this->text())
        QLineEdit::setText(text);
}

int TextBox::selStart() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void TextBox::setBackground(Background background)
{
    m_background = background;
    // The text colour goes with the background: a dark theme's light text
    // would vanish on the yellow, and a theme's greyed text may be too faint.
    QPalette colours = QApplication::palette(this);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor base = background == Background::Edited ? QColor(Qt::yellow)
                                                             : colours.color(group, QPalette::Base);
        const QColor text = background == Background::Edited && group != QPalette::Disabled
                                ? QColor(Qt::black)
                                : ReadableOn(colours.color(group, QPalette::Text), base);
        colours.setColor(group, QPalette::Base, base);
        colours.setColor(group, QPalette::Text, text);
    }
    setPalette(colours);
}

void TextBox::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::ApplicationPaletteChange)
        setBackground(m_background); // the theme changed under the field
}

void TextBox::selectAllLater()
{
    QTimer::singleShot(0, this, &QLineEdit::selectAll);
}

KeyCode TextBox::filtered(KeyCode code) const
{
    if (m_keyFilter)
        m_keyFilter(code);
    return code;
}

bool TextBox::hasRoomForOne() const
{
    return text().size() - selectedText().size() < m_lengthLimit;
}

void TextBox::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste)) {
        pasteText(QApplication::clipboard()->text(QClipboard::Clipboard));
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool isText = !typed.isEmpty() && std::all_of(typed.begin(), typed.end(),
                                                        [](QChar c) { return c.isPrint(); });
    if (event->key() == Qt::Key_Backspace) {
        event->accept();
        enterCode(kBackspace);
    } else if (isText) {
        event->accept();
        enterText(typed);
    } else {
        QLineEdit::keyPressEvent(event); // no character: caret keys, Delete, shortcuts
    }
}

int TextBox::enterText(QStringView text)
{
    int entered = 0;
    for (const QChar c : text) {
        const auto byte = ToWindows1252(c);
        // The device's code page has no such character; a control character
        // never enters a one-line field.
        if (byte && *byte >= 32 && enterCode(*byte))
            ++entered;
    }
    return entered;
}

bool TextBox::enterCode(KeyCode original)
{
    const KeyCode code = filtered(original);
    if (code == kBackspace) {
        backspace();
        return false;
    }
    if (code < 32 || !hasRoomForOne())
        return false;
    insert(QString(FromWindows1252(static_cast<std::uint8_t>(code))));
    return true;
}

bool TextBox::acceptsPaste() const
{
    return !isReadOnly() && filtered(kPaste) != 0;
}

int TextBox::pasteText(const QString &text)
{
    if (!acceptsPaste())
        return 0;
    // A one-line field takes the first line.
    const auto lineEnd = std::find_if(text.begin(), text.end(), [](QChar c) {
        return c == QLatin1Char('\r') || c == QLatin1Char('\n');
    });
    return enterText(QStringView(text.begin(), lineEnd));
}

void TextBox::inputMethodEvent(QInputMethodEvent *event)
{
    if (event->commitString().isEmpty() && event->replacementLength() == 0) {
        QLineEdit::inputMethodEvent(event); // composing: the pre-edit text only
        return;
    }
    // The pre-edit text shows as the input method has it; what it commits
    // goes through the gate.
    QInputMethodEvent preedit(event->preeditString(), event->attributes());
    QLineEdit::inputMethodEvent(&preedit);
    enterText(event->commitString());
    event->accept();
}

void TextBox::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    const bool withWindow =
        event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
    // The focus given before the window first shows arrives with the window,
    // and that is entering the field; coming back to it is not.
    if (!withWindow || !m_focusAwayWithWindow)
        emit gotFocus();
    m_focusAwayWithWindow = false;
}

void TextBox::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    m_focusAwayWithWindow =
        event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
    if (!m_focusAwayWithWindow)
        emit lostFocus();
}

void TextBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::MiddleButton) {
        const QClipboard *clipboard = QApplication::clipboard();
        if (clipboard->supportsSelection()) {
            setCursorPosition(cursorPositionAt(event->position().toPoint()));
            pasteText(clipboard->text(QClipboard::Selection));
        }
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

QMenu *TextBox::createEditMenu()
{
    auto *menu = new QMenu(this);
    const auto add = [this, menu](const QString &caption, QKeySequence::StandardKey key,
                                  bool enabled, auto reaction) {
        const QString shortcut = QKeySequence(key).toString(QKeySequence::NativeText);
        QAction *action =
            menu->addAction(shortcut.isEmpty() ? caption : caption + QLatin1Char('\t') + shortcut);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, reaction);
    };
    const bool editable = !isReadOnly();
    add(tr("&Undo"), QKeySequence::Undo, editable && isUndoAvailable(), [this] { undo(); });
    menu->addSeparator();
    add(tr("Cu&t"), QKeySequence::Cut, editable && hasSelectedText(), [this] { cut(); });
    add(tr("&Copy"), QKeySequence::Copy, hasSelectedText(), [this] { copy(); });
    add(tr("&Paste"), QKeySequence::Paste,
        acceptsPaste() && !QApplication::clipboard()->text().isEmpty(),
        [this] { pasteText(QApplication::clipboard()->text(QClipboard::Clipboard)); });
    add(tr("&Delete"), QKeySequence::UnknownKey, editable && hasSelectedText(), [this] { del(); });
    menu->addSeparator();
    add(tr("Select &All"), QKeySequence::SelectAll, !text().isEmpty(), [this] { selectAll(); });
    if (m_menuExtension)
        m_menuExtension(*menu);
    return menu;
}

void TextBox::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createEditMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

bool TextBox::offersCopy(const QDropEvent *event) const
{
    return event->mimeData()->hasText() && !isReadOnly() &&
           event->possibleActions().testFlag(Qt::CopyAction);
}

// A drop is a copy: the field may refuse part of the text, so taking it away
// from where it came would lose it there.
void TextBox::dragEnterEvent(QDragEnterEvent *event)
{
    dragMoveEvent(event);
}

void TextBox::dragMoveEvent(QDragMoveEvent *event)
{
    QLineEdit::dragMoveEvent(event);
    if (offersCopy(event)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void TextBox::dropEvent(QDropEvent *event)
{
    if (!offersCopy(event)) {
        event->ignore();
        return;
    }
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    if (pasteText(event->mimeData()->text()) > 0) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore(); // nothing went in, so nothing was taken
    }
}

} // namespace kestrix
