// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A text box as the settings window's fields need it. Every character that
// enters it from outside the program (typed, committed by an input method,
// pasted by keyboard, menu or middle click, or dropped) passes one gate: the
// field's key reaction as a Windows-1252 code that the reaction may change or
// drop, then the length limit. The limit binds the operator only, so a
// program write or a loaded file may hold a longer text.

#include <QLineEdit>

class QMenu;

#include <cstdint>
#include <functional>

namespace kestrix {

// The key code of a typed character; 8 is Backspace, 22 the paste (Ctrl+V).
using KeyCode = std::int16_t;
inline constexpr KeyCode kBackspace = 8;
inline constexpr KeyCode kPaste = 22;

class TextBox : public QLineEdit
{
    Q_OBJECT

public:
    // The system's window background, or yellow for a field that is edited
    // and not yet left; the text colour keeps 4.5:1 against either, greyed
    // or not.
    enum class Background
    {
        Normal,
        Edited
    };

    explicit TextBox(QWidget *parent = nullptr);

    // Writes the text; the same text as before is not a change.
    void setText(const QString &text);

    // Characters the operator may type; the program is not bound by it.
    void setLengthLimit(int characters) { m_lengthLimit = characters; }
    int lengthLimit() const { return m_lengthLimit; }

    // Caret position, or the start of the selection.
    int selStart() const;

    void setBackground(Background background);

    // Selects the whole text, anchored at its start, once the current
    // reaction has returned (a click would otherwise place the caret).
    void selectAllLater();
    Background background() const { return m_background; }

    // Receives each character's code; 0 drops it, another code replaces it.
    void setKeyFilter(std::function<void(KeyCode &)> filter) { m_keyFilter = std::move(filter); }
    // What the key reaction makes of code.
    KeyCode filtered(KeyCode code) const;

    // The edit menu of a right click: Undo, Cut, Copy, Paste, Delete and
    // Select All, with Paste going through the gate. The caller owns it.
    QMenu *createEditMenu();
    // Adds a field's own entries below the edit menu's.
    void setMenuExtension(std::function<void(QMenu &)> extend)
    {
        m_menuExtension = std::move(extend);
    }

signals:
    void changed();
    void gotFocus();
    void lostFocus();
    void clicked();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    bool hasRoomForOne() const;
    // The gate: each character in order, exactly as if typed. Returns how
    // many characters went in.
    int enterText(QStringView text);
    bool enterCode(KeyCode original);
    // Whether the field takes a paste at all: the key reaction sees Ctrl+V.
    bool acceptsPaste() const;
    // A paste: refused whole where the field refuses Ctrl+V, else its first
    // line goes through the gate. Returns how many characters went in.
    int pasteText(const QString &text);
    // Whether a drag carries text that this field could take as a copy.
    bool offersCopy(const QDropEvent *event) const;

    std::function<void(KeyCode &)> m_keyFilter;
    std::function<void(QMenu &)> m_menuExtension;
    int m_lengthLimit = 32767;
    Background m_background = Background::Normal;
    // The focus left with the window (or for a popup) and comes back with
    // it; that is no entering of the field.
    bool m_focusAwayWithWindow = false;
};

} // namespace kestrix
