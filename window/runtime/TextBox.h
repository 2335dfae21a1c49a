#pragma once

// A text box as the settings window's fields need it: every character typed,
// pasted or dropped passes the field's key reaction as a Windows-1252 code
// that the reaction may change or drop, and the length limit binds typing
// only, so a program write or a loaded file may hold a longer text.

#include <QLineEdit>

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
    // and not yet left.
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
    Background background() const { return m_background; }

    // Receives each character's code; 0 drops it, another code replaces it.
    void setKeyFilter(std::function<void(KeyCode &)> filter) { m_keyFilter = std::move(filter); }

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
    void dropEvent(QDropEvent *event) override;

private:
    KeyCode filtered(KeyCode code) const;
    bool hasRoomForOne() const;
    void typeCharacter(QKeyEvent *event, KeyCode original, KeyCode code);
    // A paste: refused whole when the field refuses Ctrl+V, else each
    // character goes in as if typed.
    void pasteFiltered(const QString &text);

    std::function<void(KeyCode &)> m_keyFilter;
    int m_lengthLimit = 32767;
    Background m_background = Background::Normal;
};

} // namespace kestrix
