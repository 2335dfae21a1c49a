// SPDX-License-Identifier: GPL-3.0-or-later
// The settings window built from its layout table, and each control wired to
// the reaction its row names.

#include "Setup.h"

#include "CaptionFit.h"
#include "CheckBox.h"
#include "ComboBox.h"
#include "ConfigFields.h"
#include "Frame.h"
#include "Geometry.h"
#include "SetupLayout.h"
#include "TextBox.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include <algorithm>
#include <map>

namespace kestrix {

namespace {

// A list shows the band list or its count's entries, as the settings table
// gives its last position.
QStringList entriesOf(const QString &name)
{
    const ConfigField *field = FindConfigField(name);
    Q_ASSERT(field);
    if (field->kind == FieldKind::Band)
        return BandList();
    return CountList(field->lastPosition + 1);
}

QWidget *newControl(const ControlRow &row, QWidget *parent)
{
    switch (row.kind) {
    case ControlKind::Frame:
        return new Frame(row.caption, parent);
    case ControlKind::Label: {
        auto *label = new QLabel(row.caption, parent);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(row.wraps);
        return label;
    }
    case ControlKind::Text: {
        auto *box = new TextBox(parent);
        box->setLengthLimit(row.limit);
        box->setAlignment(row.alignment | Qt::AlignVCenter);
        return box;
    }
    case ControlKind::Check:
        return new CheckBox(row.caption, parent);
    case ControlKind::List:
        return new ComboBox(entriesOf(row.name), parent);
    case ControlKind::Button: {
        auto *button = new QPushButton(row.caption, parent);
        // Return and Enter press the focused button, as Space does. The
        // window is no dialog, so no button is the default that a field's
        // Return would press.
        button->setAutoDefault(true);
        return button;
    }
    }
    return nullptr;
}

} // namespace

void Setup::createControls()
{
    std::vector<std::pair<QLabel *, QString>> buddies;
    for (const ControlRow &row : SetupLayout()) {
        QWidget *control = createControl(row);
        connectReactions(row, control);
        if (!row.buddy.isEmpty())
            buddies.emplace_back(static_cast<QLabel *>(control), row.buddy);
    }
    // A label names its control to assistive technology; it stands before
    // it in the table, so it is tied once all are made.
    for (const auto &[label, buddy] : buddies)
        label->setBuddy(find<QWidget>(buddy));
    setTabOrder();
    FitCaptions(this);
}

QWidget *Setup::createControl(const ControlRow &row)
{
    QWidget *parent = row.parent.isEmpty() ? this : find<QWidget>(row.parent);
    QWidget *control = newControl(row, parent);
    control->setObjectName(row.name);
    control->setGeometry(
        TwipsRect(row.twips.x(), row.twips.y(), row.twips.width(), row.twips.height()));
    control->setFont(DesignFont(row.points, row.bold));
    if (!row.toolTip.isEmpty())
        control->setToolTip(row.toolTip);
    // Read by its caption alone, a field would take its frame's, the same for
    // every row, and a list its current entry.
    if (!row.spokenName.isEmpty())
        control->setAccessibleName(row.spokenName);
    return control;
}

std::vector<QWidget *> Setup::tabOrder() const
{
    std::map<int, QWidget *> byIndex;
    for (const ControlRow &row : SetupLayout())
        if (row.tabIndex >= 0)
            byIndex[row.tabIndex] = find<QWidget>(row.name);
    std::vector<QWidget *> order;
    for (const auto &[index, control] : byIndex)
        order.push_back(control);
    return order;
}

void Setup::setTabOrder()
{
    const std::vector<QWidget *> order = tabOrder();
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void Setup::connectReactions(const ControlRow &row, QWidget *control)
{
    if (auto *box = qobject_cast<TextBox *>(control)) {
        connectField(row, box);
    } else if (auto *toggle = qobject_cast<CheckBox *>(control)) {
        connect(toggle, &CheckBox::clickReaction, this, [this, &row, toggle] {
            if (row.reaction == Reaction::SectionSwitch)
                switchSection(row, toggle);
            else if (row.reaction == Reaction::FieldSwitch)
                switchField(row, toggle);
            resetTitle();
        });
    } else if (auto *list = qobject_cast<ComboBox *>(control)) {
        connect(list, &ComboBox::clickReaction, this, [this, &row, list] {
            if (row.reaction == Reaction::CountList)
                countRows(row, list);
            resetTitle();
        });
    } else if (qobject_cast<QPushButton *>(control)) {
        connectCommand(row, control);
    }
}

void Setup::connectField(const ControlRow &row, TextBox *box)
{
    connect(box, &TextBox::clicked, box, &TextBox::selectAllLater);
    connect(box, &TextBox::gotFocus, box, &TextBox::selectAllLater);
    const bool resetsTitle = row.reaction != Reaction::PortField;
    connect(box, &TextBox::changed, this,
            [this, box, resetsTitle] { markEdited(box, resetsTitle); });
    // A field without a check of its own drops its marking when left.
    std::function<void()> leave = [box] { box->setBackground(TextBox::Background::Normal); };
    switch (row.reaction) {
    case Reaction::PortField:
        box->setKeyFilter([this](KeyCode &code) { txtComm_KeyPress(code); });
        leave = [this, box] { txtComm_LostFocus(box); };
        box->setMenuExtension([this](QMenu &menu) {
            menu.addSeparator();
            menu.addAction(QStringLiteral("Serial &device for COM%1...").arg(portNumber()),
                           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D), this,
                           &Setup::chooseSerialDevice);
        });
        break;
    case Reaction::TimerField:
        box->setKeyFilter([this, box](KeyCode &code) { txtTimer_KeyPress(box, code); });
        leave = [this, box] { txtTimer_LostFocus(box); };
        break;
    case Reaction::MessageField:
        box->setKeyFilter([this](KeyCode &code) { txtUsrM_KeyPress(code); });
        break;
    case Reaction::CallField:
        box->setKeyFilter([this, box](KeyCode &code) { txtDxCall_KeyPress(box, code); });
        break;
    case Reaction::RangeLowField:
    case Reaction::RangeHighField: {
        const bool low = row.reaction == Reaction::RangeLowField;
        box->setKeyFilter([this, box](KeyCode &code) { rangeKeyPress(box, code); });
        leave = [this, box, low] { leaveRange(box, low); };
        break;
    }
    default:
        break;
    }
    connect(box, &TextBox::lostFocus, this, std::move(leave));
}

void Setup::connectCommand(const ControlRow &row, QWidget *button)
{
    void (Setup::*command)() = nullptr;
    switch (row.reaction) {
    case Reaction::Default:
        command = &Setup::cmdDefault_Click;
        break;
    case Reaction::Save:
        command = &Setup::cmdSave_Click;
        break;
    case Reaction::Load:
        command = &Setup::cmdLoad_Click;
        break;
    case Reaction::Send:
        command = &Setup::cmdSend_Click;
        break;
    case Reaction::Help:
        command = &Setup::cmdHelp_Click;
        break;
    default:
        return;
    }
    connect(static_cast<QPushButton *>(button), &QPushButton::clicked, this, command);
}

TextBox *Setup::partnerOf(const TextBox *box) const
{
    return find<TextBox>(FindControlRow(box->objectName())->partner);
}

QString Setup::nameOf(Reaction reaction)
{
    const auto &rows = SetupLayout();
    const auto row = std::find_if(rows.begin(), rows.end(), [reaction](const ControlRow &r) {
        return r.reaction == reaction;
    });
    Q_ASSERT(row != rows.end());
    return row->name;
}

} // namespace kestrix
