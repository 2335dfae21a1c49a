// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A top-level window with the life-cycle reactions the program's windows are
// written against: load once before the first show, activate (when it takes
// over from another of the program's forms), resize, a
// close query that may cancel, unload, and a key preview that lets the
// window see every key before its focused control does.

#include <QWidget>

namespace kestrix {

class Form : public QWidget
{
    Q_OBJECT

public:
    explicit Form(QWidget *parent = nullptr, Qt::WindowFlags flags = {});

    // Runs the load reaction unless it already ran.
    void load();

    // Keys reach formKeyDown before the focused control, which still gets them.
    void setKeyPreview(bool on);

protected:
    virtual void formLoad() {}
    virtual void formActivate() {}
    virtual void formResize() {}
    virtual void formQueryUnload(bool &cancel) { Q_UNUSED(cancel); }
    virtual void formUnload() {}
    virtual void formKeyDown(int key, Qt::KeyboardModifiers modifiers)
    {
        Q_UNUSED(key);
        Q_UNUSED(modifiers);
    }

    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    bool m_loaded = false;
    bool m_keyPreview = false;
};

} // namespace kestrix
