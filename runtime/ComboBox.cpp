// SPDX-License-Identifier: GPL-3.0-or-later
#include "ComboBox.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QWheelEvent>

namespace kestrix {

namespace {

// Qt on Linux reads a list by its current entry alone, so a screen reader
// hears "6" for each of the count lists. Here the list says what it is by
// its accessible name and offers the entry as its value, with the list of
// entries as its child and the opening of it as its action.
class ComboBoxAccessible : public QAccessibleWidget
{
public:
    explicit ComboBoxAccessible(QComboBox *combo) : QAccessibleWidget(combo, QAccessible::ComboBox)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return combo()->currentText();
        return QAccessibleWidget::text(kind);
    }
    int childCount() const override { return 1; }
    QAccessibleInterface *child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(combo()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child && child->object() == combo()->view() ? 0 : -1;
    }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString &action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return;
        if (combo()->view()->isVisible())
            combo()->hidePopup();
        else
            combo()->showPopup();
    }

private:
    QComboBox *combo() const { return static_cast<QComboBox *>(widget()); }
};

QAccessibleInterface *comboBoxAccessible(const QString &className, QObject *object)
{
    if (className != QLatin1String(ComboBox::staticMetaObject.className()))
        return nullptr;
    return new ComboBoxAccessible(static_cast<QComboBox *>(object));
}

} // namespace

ComboBox::ComboBox(const QStringList &entries, QWidget *parent) : QComboBox(parent)
{
    static const bool named = [] {
        QAccessible::installFactory(comboBoxAccessible);
        return true;
    }();
    Q_UNUSED(named);
    setFocusPolicy(Qt::StrongFocus);
    addItems(entries);
    setCurrentIndex(-1);
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        m_reactedToChange = true;
        emit clickReaction();
    });
    // activated follows currentIndexChanged when the operator picks another
    // entry; it comes alone when the same entry is picked again.
    connect(this, &QComboBox::activated, this, [this] {
        if (!m_reactedToChange)
            emit clickReaction();
        m_reactedToChange = false;
    });
}

void ComboBox::wheelEvent(QWheelEvent *event)
{
    if (hasFocus())
        QComboBox::wheelEvent(event);
    else
        event->ignore();
}

void ComboBox::setListIndex(int index)
{
    setCurrentIndex(index);
    m_reactedToChange = false;
}

} // namespace kestrix
