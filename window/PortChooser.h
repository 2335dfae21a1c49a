// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The serial device of one COM number: lists the ports this machine has,
// with what tells them apart and whether they can be opened now, names the
// device the number means now and why, and stores the operator's choice.

#include "PortDevice.h"
#include "PortListing.h"

#include <QDialog>
#include <QProcessEnvironment>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace kestrix {

class PortChooser : public QDialog
{
    Q_OBJECT

public:
    PortChooser(int number, const PortLister &lister, PortMappings &mappings,
                QProcessEnvironment environment = QProcessEnvironment::systemEnvironment(),
                QWidget *parent = nullptr);

    // Lists the ports again, for an adapter plugged in meanwhile.
    void refresh();
    // Stores the chosen port's stable name for the number, and closes.
    void useChosen();

    QTreeWidget *list() const { return m_list; }
    QLabel *current() const { return m_current; }
    QPushButton *useButton() const { return m_use; }

private:
    void showCurrent();

    int m_number;
    const PortLister &m_lister;
    PortMappings &m_mappings;
    QProcessEnvironment m_environment;
    QList<PortEntry> m_ports;
    QLabel *m_current;
    QTreeWidget *m_list;
    QPushButton *m_use;
};

} // namespace kestrix
