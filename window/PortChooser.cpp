// SPDX-License-Identifier: GPL-3.0-or-later
#include "PortChooser.h"

#include "DeviceKind.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kestrix {

PortChooser::PortChooser(int number, const PortLister &lister, PortMappings &mappings,
                         QProcessEnvironment environment, QWidget *parent)
    : QDialog(parent), m_number(number), m_lister(lister), m_mappings(mappings),
      m_environment(std::move(environment))
{
    setObjectName(QStringLiteral("PortChooser"));
    setWindowTitle(QStringLiteral("Serial device for COM%1").arg(number));
    m_current = new QLabel(this);
    m_current->setObjectName(QStringLiteral("lblNow"));
    m_current->setWordWrap(true);
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("lblProblem"));
    m_problem->setWordWrap(true);
    m_problem->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("lstPorts"));
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setAccessibleName(QStringLiteral("Serial ports"));
    m_list->setHeaderLabels({QStringLiteral("Device"), QStringLiteral("Description"),
                             QStringLiteral("Manufacturer"), QStringLiteral("Serial number"),
                             QStringLiteral("Stable name"), QStringLiteral("Now")});
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto *buttons = new QDialogButtonBox(this);
    m_use = buttons->addButton(QStringLiteral("&Use for COM%1").arg(number),
                               QDialogButtonBox::AcceptRole);
    m_use->setObjectName(QStringLiteral("cmdUse"));
    m_forget = buttons->addButton(QStringLiteral("&Forget"), QDialogButtonBox::ResetRole);
    m_forget->setObjectName(QStringLiteral("cmdForget"));
    m_forget->setToolTip(QStringLiteral("COM%1 goes back to its default device").arg(number));
    QPushButton *again =
        buttons->addButton(QStringLiteral("&Refresh"), QDialogButtonBox::ActionRole);
    again->setObjectName(QStringLiteral("cmdRefresh"));
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    connect(m_use, &QPushButton::clicked, this, &PortChooser::useChosen);
    connect(m_forget, &QPushButton::clicked, this, &PortChooser::forget);
    connect(again, &QPushButton::clicked, this, &PortChooser::refresh);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &PortChooser::useChosen);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &PortChooser::updateButtons);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_current);
    layout->addWidget(m_problem);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(760, 300);
    refresh();
}

void PortChooser::showCurrent()
{
    const auto resolved = ResolvePort(m_number, m_environment, &m_mappings);
    if (!resolved)
        return;
    QString text =
        QStringLiteral("COM%1 is now %2 (%3)")
            .arg(m_number)
            .arg(ShortDeviceName(resolved->device), SourceName(resolved->source, m_number));
    const DeviceCheck device = CheckDevice(resolved->device);
    if (device.kind == DeviceKind::Missing)
        text += QStringLiteral(", which is not there now: plug the adapter in and press "
                               "Refresh, or choose another port");
    else if (device.kind == DeviceKind::NotSerial)
        text += QStringLiteral(", which is not a serial port but %1").arg(device.what);
    else if (device.kind == DeviceKind::Unusable)
        text += QStringLiteral(", a name that cannot be used (%1)").arg(device.what);
    text += QLatin1Char('.');
    if (resolved->source == PortSource::Environment)
        text += QStringLiteral("\nThe variable %1 overrides the choice made here: a device "
                               "chosen now is stored, but used only once %1 is unset.")
                    .arg(PortVariable(m_number));
    m_current->setText(text);
}

void PortChooser::refresh()
{
    showCurrent();
    m_problem->setText(m_mappings.problem());
    m_problem->setVisible(!m_problem->text().isEmpty());
    m_ports = m_lister.ports();
    m_list->clear();
    const auto resolved = ResolvePort(m_number, m_environment, &m_mappings);
    for (const PortEntry &port : m_ports) {
        QString now = AvailabilityName(port.availability);
        if (resolved && (resolved->device == port.device || resolved->device == port.stableName))
            now += QStringLiteral(", COM%1 now").arg(m_number);
        new QTreeWidgetItem(m_list, {port.device, port.description, port.manufacturer,
                                     port.serialNumber, port.stableName, now});
    }
    if (m_ports.isEmpty())
        new QTreeWidgetItem(m_list, {QStringLiteral("No serial port found. Plug the adapter in, "
                                                    "then press Refresh.")});
    m_list->setEnabled(!m_ports.isEmpty());
    // The operator chooses: no row is taken for chosen before one is selected.
    m_list->clearSelection();
    updateButtons();
}

void PortChooser::updateButtons()
{
    m_use->setEnabled(!m_ports.isEmpty() && !m_list->selectedItems().isEmpty());
    m_forget->setEnabled(!m_mappings.storedDevice(m_number).isEmpty());
}

bool PortChooser::storeChoice(const QString &device)
{
    if (const Result<> stored = m_mappings.store(m_number, device); !stored) {
        m_problem->setText(stored.error());
        m_problem->show();
        showCurrent();
        updateButtons();
        return false;
    }
    return true;
}

void PortChooser::useChosen()
{
    const QList<QTreeWidgetItem *> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return;
    const int row = m_list->indexOfTopLevelItem(selected.constFirst());
    if (row < 0 || row >= m_ports.size())
        return;
    if (storeChoice(m_ports[row].preferredName()))
        accept();
}

void PortChooser::forget()
{
    if (storeChoice(QString()))
        refresh();
}

} // namespace kestrix
