// SPDX-License-Identifier: GPL-3.0-or-later
#include "PortChooser.h"

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
    m_current->setWordWrap(true);
    m_list = new QTreeWidget(this);
    m_list->setRootIsDecorated(false);
    m_list->setAccessibleName(QStringLiteral("Serial ports"));
    m_list->setHeaderLabels({QStringLiteral("Device"), QStringLiteral("Description"),
                             QStringLiteral("Manufacturer"), QStringLiteral("Serial number"),
                             QStringLiteral("Stable name"), QStringLiteral("Now")});
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto *buttons = new QDialogButtonBox(this);
    m_use = buttons->addButton(QStringLiteral("&Use for COM%1").arg(number),
                               QDialogButtonBox::AcceptRole);
    QPushButton *again =
        buttons->addButton(QStringLiteral("&Refresh"), QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(m_use, &QPushButton::clicked, this, &PortChooser::useChosen);
    connect(again, &QPushButton::clicked, this, &PortChooser::refresh);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &PortChooser::useChosen);
    connect(m_list, &QTreeWidget::currentItemChanged, this,
            [this] { m_use->setEnabled(m_list->currentItem() != nullptr); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_current);
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
    m_current->setText(QStringLiteral("COM%1 is now %2 (%3).")
                           .arg(m_number)
                           .arg(resolved->device, SourceName(resolved->source, m_number)));
}

void PortChooser::refresh()
{
    showCurrent();
    m_ports = m_lister.ports();
    m_list->clear();
    const auto resolved = ResolvePort(m_number, m_environment, &m_mappings);
    for (const PortEntry &port : m_ports) {
        auto *row = new QTreeWidgetItem(m_list, {port.device, port.description, port.manufacturer,
                                                 port.serialNumber, port.stableName,
                                                 AvailabilityName(port.availability)});
        if (resolved && (resolved->device == port.device || resolved->device == port.stableName))
            m_list->setCurrentItem(row);
    }
    if (m_ports.isEmpty())
        new QTreeWidgetItem(m_list, {QStringLiteral("No serial port found. Plug the adapter in, "
                                                    "then press Refresh.")});
    m_list->setEnabled(!m_ports.isEmpty());
    m_use->setEnabled(m_list->currentItem() != nullptr && !m_ports.isEmpty());
}

void PortChooser::useChosen()
{
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (row < 0 || row >= m_ports.size())
        return;
    m_mappings.store(m_number, m_ports[row].preferredName());
    accept();
}

} // namespace kestrix
