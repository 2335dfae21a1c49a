// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The serial device of one COM number: lists the ports this machine has,
// with what tells them apart and whether they can be opened now, names the
// device the number means now and why, and stores the operator's choice.
// It acts only on a row the operator selected; a choice that cannot be
// stored is said so here and the chooser stays open. Its parts are named:
// lblNow, lblProblem (what keeps the choice from taking effect or from being
// stored), lstPorts, and cmdUse, cmdForget, cmdRefresh and cmdCancel.

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
    // Stores the selected port's stable name for the number, and closes.
    void useChosen();
    // Forgets the stored choice: the number means its default again.
    void forget();

private:
    void showCurrent();
    void updateButtons();
    bool storeChoice(const QString &device);

    int m_number;
    const PortLister &m_lister;
    PortMappings &m_mappings;
    QProcessEnvironment m_environment;
    QList<PortEntry> m_ports;
    QLabel *m_current;
    QLabel *m_problem;
    QTreeWidget *m_list;
    QPushButton *m_use;
    QPushButton *m_forget;
};

} // namespace kestrix
