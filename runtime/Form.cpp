// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPointer>

namespace kestrix {

namespace {

// The program's active window among its forms. Message boxes and other
// dialogs are no forms, so coming back from one does not activate anew.
QPointer<Form> &activeForm()
{
    static QPointer<Form> form;
    return form;
}

// A plain widget window reads as a "filler" to assistive technology; a form
// is a frame, or a dialog when it is one.
QAccessibleInterface *formAccessible(const QString &className, QObject *object)
{
    if (className != QLatin1String(Form::staticMetaObject.className()) || !object->isWidgetType())
        return nullptr;
    auto *form = static_cast<QWidget *>(object);
    return new QAccessibleWidget(form, form->windowType() == Qt::Dialog ? QAccessible::Dialog
                                                                        : QAccessible::Window);
}

} // namespace

Form::Form(QWidget *parent, Qt::WindowFlags flags) : QWidget(parent, flags | Qt::Window)
{
    static const bool roles = [] {
        QAccessible::installFactory(formAccessible);
        return true;
    }();
    Q_UNUSED(roles);
}

void Form::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    formLoad();
}

void Form::setKeyPreview(bool on)
{
    if (on == m_keyPreview)
        return;
    m_keyPreview = on;
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool Form::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && activeForm() != this) {
        activeForm() = this;
        formActivate();
    }
    return QWidget::event(event);
}

bool Form::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        const auto *target = static_cast<QWidget *>(watched);
        const QWidget *focus = QApplication::focusWidget();
        // A key that the focused control ignores is offered to its parents
        // too; the window sees it once, on its first delivery.
        const bool firstDelivery = target == focus || (focus == nullptr && target == this);
        if (firstDelivery && target->window() == this) {
            const auto *key = static_cast<QKeyEvent *>(event);
            formKeyDown(key->key(), key->modifiers());
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form::showEvent(QShowEvent *event)
{
    load();
    QWidget::showEvent(event);
}

void Form::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    formResize();
}

void Form::closeEvent(QCloseEvent *event)
{
    bool cancel = false;
    formQueryUnload(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    formUnload();
    event->accept();
}

} // namespace kestrix
