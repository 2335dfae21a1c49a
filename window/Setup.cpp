// SPDX-License-Identifier: GPL-3.0-or-later
#include "Setup.h"

#include "CheckBox.h"
#include "ComboBox.h"
#include "ConfigFields.h"
#include "Dialog.h"
#include "Geometry.h"
#include "PortChooser.h"
#include "SerialPort.h"
#include "Services.h"
#include "SetupLayout.h"
#include "TextBox.h"
#include "Transmission.h"
#include "frmIstruzioni.h"

#include <QIcon>

#include <algorithm>

namespace kestrix {

Setup::Setup(SetupPlatform platform, QWidget *parent)
    : Form(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                       Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_services(platform.services), m_port(platform.port), m_files(platform.files),
      m_ports(platform.ports), m_portMappings(platform.portMappings)
{
    setObjectName(QStringLiteral("Setup"));
    setFont(DesignFont(8.25));
    setFixedSize(Pixels(8535), Pixels(4845));
    QIcon icon(QStringLiteral(":/icons/kestrix-config.xpm"));
    icon.addFile(QStringLiteral(":/icons/kestrix-config-16.xpm"));
    setWindowIcon(icon);
    createControls();
    setKeyPreview(true);
}

Setup::~Setup()
{
    delete m_istruzioni; // a top-level window of its own, not a child
}

void Setup::formLoad()
{
    SetDefaults();
    m_blockHeader = kBlockHeader;
    dialog();
    focusFirst();
}

void Setup::formQueryUnload(bool &cancel)
{
    // A SEND processes events between its steps; closing then would cut it off.
    cancel = m_sending || m_port.isOpen();
}

void Setup::formUnload()
{
    if (m_dialog)
        m_dialog->close();
    if (m_istruzioni)
        m_istruzioni->close();
}

void Setup::formKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_F1) // with Shift, Ctrl or Alt too
        cmdHelp_Click();
    else if (key == Qt::Key_D && modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
        chooseSerialDevice();
}

int Setup::portNumber() const
{
    return std::clamp(PortNumberOf(find<TextBox>(nameOf(Reaction::PortField))->text()), kFirstPort,
                      kLastPort);
}

PortChooser *Setup::chooseSerialDevice()
{
    auto *chooser = new PortChooser(portNumber(), m_ports, m_portMappings,
                                    QProcessEnvironment::systemEnvironment(), this);
    chooser->setAttribute(Qt::WA_DeleteOnClose);
    chooser->setWindowModality(Qt::WindowModal);
    chooser->show();
    return chooser;
}

frmIstruzioni *Setup::instructions() const
{
    return m_istruzioni;
}

void Setup::cmdHelp_Click()
{
    if (!m_istruzioni) {
        m_istruzioni = new frmIstruzioni(m_services);
        m_istruzioni->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_istruzioni->Apri(QString::fromLatin1(kHelpFileName), QString::fromLatin1(kHelpTitle));
}

Dialog *Setup::dialog()
{
    if (!m_dialog) {
        m_dialog = new Dialog(this);
        m_dialog->setAttribute(Qt::WA_DeleteOnClose);
        m_dialog->load();
    }
    return m_dialog;
}

DeviceSettings Setup::settings() const
{
    DeviceSettings s;
    for (const ConfigField &field : ConfigFields()) {
        switch (field.kind) {
        case FieldKind::Text:
            field.text(s) = find<TextBox>(field.control)->text();
            break;
        case FieldKind::Check:
            field.number(s) = find<CheckBox>(field.control)->value();
            break;
        case FieldKind::Position:
        case FieldKind::Band:
            field.number(s) = find<ComboBox>(field.control)->listIndex();
            break;
        }
    }
    return s;
}

void Setup::applySettings(const DeviceSettings &settings)
{
    DeviceSettings s = settings;
    for (const ConfigField &field : ConfigFields()) {
        switch (field.kind) {
        case FieldKind::Text:
            writeField(find<TextBox>(field.control), field.text(s));
            break;
        case FieldKind::Check:
            find<CheckBox>(field.control)->setValue(field.number(s));
            break;
        case FieldKind::Position:
        case FieldKind::Band:
            find<ComboBox>(field.control)->setListIndex(field.number(s));
            break;
        }
    }
    // A switch that kept its state raised no reaction of its own.
    for (const ControlRow &row : SetupLayout()) {
        if (row.reaction == Reaction::SectionSwitch)
            switchSection(row, find<CheckBox>(row.name));
        else if (row.reaction == Reaction::FieldSwitch)
            switchField(row, find<CheckBox>(row.name));
    }
    resetTitle();
}

void Setup::showAsSent(DeviceSettings sent)
{
    DeviceSettings shown = settings();
    for (const ConfigField &field : ConfigFields())
        if (field.kind == FieldKind::Text && field.text(sent) != field.text(shown))
            writeField(find<TextBox>(field.control), field.text(sent));
}

void Setup::focusFirst()
{
    for (QWidget *control : tabOrder()) {
        if (control->isEnabled()) {
            control->setFocus();
            return;
        }
    }
}

void Setup::writeField(TextBox *box, const QString &text)
{
    box->setText(text);
    box->setBackground(TextBox::Background::Normal);
}

void Setup::SetDefaults()
{
    applySettings(DefaultSettings());
}

void Setup::cmdDefault_Click()
{
    SetDefaults();
}

void Setup::cmdSend_Click()
{
    m_sending = true;
    auto *button = find<QWidget>(nameOf(Reaction::Send));
    button->setEnabled(false);
    DeviceSettings sent = settings();
    const Result<> built = BuildConfigFrame(sent, m_configFrame);
    showAsSent(sent); // the timer as the frame carries it
    m_services.processEvents();
    if (built) {
        DialogProgress progress([this] { return dialog(); });
        // A failure was told to the operator on the way.
        (void)TransmitConfigFrame(m_configFrame, m_blockHeader,
                                  find<TextBox>(nameOf(Reaction::PortField))->text(), m_port,
                                  progress, m_services);
    } else {
        m_services.messageBox(QStringLiteral("Parametri incompleti o non corretti"),
                              QStringLiteral("Invio non eseguito - Kestrix"),
                              MessageIcon::Information);
    }
    button->setEnabled(true);
    m_sending = false;
}

} // namespace kestrix
