#include "TextBox.h"

#include "Windows1252.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

namespace kestrix {

TextBox::TextBox(QWidget *parent) : QLineEdit(parent)
{
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
    QPalette colours = QApplication::palette(this);
    if (background == Background::Edited) {
        colours.setColor(QPalette::Active, QPalette::Base, Qt::yellow);
        colours.setColor(QPalette::Inactive, QPalette::Base, Qt::yellow);
    }
    setPalette(colours);
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
        pasteFiltered(QApplication::clipboard()->text(QClipboard::Clipboard));
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool isCharacter = typed.size() == 1 && typed[0].isPrint();
    if (event->key() != Qt::Key_Backspace && !isCharacter) {
        QLineEdit::keyPressEvent(event); // no character: caret keys, Delete, shortcuts
        return;
    }
    event->accept();
    KeyCode original = kBackspace;
    if (isCharacter) {
        const auto byte = ToWindows1252(typed[0]);
        if (!byte)
            return; // the device's code page has no such character
        original = *byte;
    }
    typeCharacter(event, original, filtered(original));
}

void TextBox::typeCharacter(QKeyEvent *event, KeyCode original, KeyCode code)
{
    if (code == 0)
        return;
    if (code == kBackspace) {
        QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QLineEdit::keyPressEvent(original == kBackspace ? event : &backspace);
        return;
    }
    if (code < 32 || !hasRoomForOne())
        return;
    if (code == original) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString replacement(FromWindows1252(static_cast<std::uint8_t>(code)));
    QKeyEvent changed(QEvent::KeyPress, event->key(), event->modifiers(), replacement);
    QLineEdit::keyPressEvent(&changed);
}

void TextBox::pasteFiltered(const QString &text)
{
    if (isReadOnly() || filtered(kPaste) == 0)
        return;
    for (const QChar c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            break; // a one-line field takes the first line
        const auto byte = ToWindows1252(c);
        if (!byte || *byte < 32 || !hasRoomForOne())
            continue;
        const KeyCode code = filtered(*byte);
        if (code >= 32)
            insert(QString(FromWindows1252(static_cast<std::uint8_t>(code))));
    }
}

void TextBox::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    // Coming back from another window or a popup is not entering the field.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        emit gotFocus();
}

void TextBox::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        emit lostFocus();
}

void TextBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::MiddleButton) {
        const QClipboard *clipboard = QApplication::clipboard();
        if (clipboard->supportsSelection())
            pasteFiltered(clipboard->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

void TextBox::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (QAction *paste = menu->findChild<QAction *>(QStringLiteral("edit-paste"))) {
        paste->disconnect();
        connect(paste, &QAction::triggered, this,
                [this] { pasteFiltered(QApplication::clipboard()->text()); });
    }
    menu->popup(event->globalPos());
}

void TextBox::dropEvent(QDropEvent *event)
{
    if (!event->mimeData()->hasText() || isReadOnly()) {
        event->ignore();
        return;
    }
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    pasteFiltered(event->mimeData()->text());
    event->acceptProposedAction();
}

} // namespace kestrix
