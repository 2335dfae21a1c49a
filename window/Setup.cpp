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
#include "TextBox.h"
#include "Transmission.h"
#include "frmIstruzioni.h"

#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include <algorithm>

namespace kestrix {

namespace {

// The control that shows a row of the settings table: it carries the row's
// name.
template <typename Control> Control *control(const QWidget *form, const ConfigField &field)
{
    auto *found = form->findChild<Control *>(field.control);
    Q_ASSERT(found);
    return found;
}

} // namespace

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
    connectReactions();
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
    txtTimer->setFocus();
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
    return std::clamp(PortNumberOf(txtComm->text()), kFirstPort, kLastPort);
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

void Setup::connectReactions()
{
    const auto onChange = [this](TextBox *box, bool resetsTitle) {
        connect(box, &TextBox::changed, this,
                [this, box, resetsTitle] { markEdited(box, resetsTitle); });
    };
    onChange(txtComm, false);
    onChange(txtTimer, true);
    onChange(txtUsrM, true);
    for (TextBox *box : txtDxCall)
        onChange(box, true);
    for (int i = 0; i < kRangeRows; ++i) {
        onChange(txtRangeLow[i], true);
        onChange(txtRangeHigh[i], true);
    }

    connect(chkRange, &CheckBox::clickReaction, this, &Setup::chkRange_Click);
    connect(chkBand, &CheckBox::clickReaction, this, &Setup::chkBand_Click);
    connect(chkDxCall, &CheckBox::clickReaction, this, &Setup::chkDxCall_Click);
    connect(cbNumRange, &ComboBox::clickReaction, this, &Setup::cbNumRange_Click);
    connect(cbNumBand, &ComboBox::clickReaction, this, &Setup::cbNumBand_Click);
    connect(cbNumDxCalls, &ComboBox::clickReaction, this, &Setup::cbNumDxCalls_Click);
    connect(chkUsrM, &CheckBox::clickReaction, this, &Setup::chkUsrM_Click);
    for (CheckBox *option : {chkBeep, chkPacket, chkRA2, chkToAll})
        connect(option, &CheckBox::clickReaction, this, &Setup::resetTitle);
    for (ComboBox *band : cbBand)
        connect(band, &ComboBox::clickReaction, this, &Setup::resetTitle);

    connectFieldReactions();
    txtComm->setMenuExtension([this](QMenu &menu) {
        menu.addSeparator();
        menu.addAction(QStringLiteral("Serial &device for COM%1...").arg(portNumber()),
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D), this,
                       &Setup::chooseSerialDevice);
    });
    connect(cmdDefault, &QPushButton::clicked, this, &Setup::cmdDefault_Click);
    connect(cmdSend, &QPushButton::clicked, this, &Setup::cmdSend_Click);
    connect(cmdSave, &QPushButton::clicked, this, &Setup::cmdSave_Click);
    connect(cmdLoad, &QPushButton::clicked, this, &Setup::cmdLoad_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &Setup::cmdHelp_Click);
}

DeviceSettings Setup::settings() const
{
    DeviceSettings s;
    for (const ConfigField &field : ConfigFields()) {
        switch (field.kind) {
        case FieldKind::Text:
            field.text(s) = control<TextBox>(this, field)->text();
            break;
        case FieldKind::Check:
            field.number(s) = control<CheckBox>(this, field)->value();
            break;
        case FieldKind::Position:
        case FieldKind::Band:
            field.number(s) = control<ComboBox>(this, field)->listIndex();
            break;
        }
    }
    return s;
}

void Setup::applySettings(const DeviceSettings &settings)
{
    DeviceSettings s = settings;
    // In file order, each write raising the control's own reaction.
    for (const ConfigField &field : ConfigFields()) {
        switch (field.kind) {
        case FieldKind::Text:
            writeField(control<TextBox>(this, field), field.text(s));
            break;
        case FieldKind::Check:
            control<CheckBox>(this, field)->setValue(field.number(s));
            break;
        case FieldKind::Position:
        case FieldKind::Band:
            control<ComboBox>(this, field)->setListIndex(field.number(s));
            break;
        }
    }
    // A switch that kept its state raised no reaction of its own.
    chkRange_Click();
    chkBand_Click();
    chkDxCall_Click();
    txtUsrM->setEnabled(chkUsrM->value() != 0);
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
    cmdSend->setEnabled(false);
    const FrameBuild build = BuildConfigFrame(settings(), m_configFrame);
    if (build.timerText)
        writeField(txtTimer, *build.timerText); // show what is actually sent
    m_services.processEvents();
    if (build.ok) {
        DialogProgress progress([this] { return dialog(); });
        TransmitConfigFrame(m_configFrame, m_blockHeader, txtComm->text(), m_port, progress,
                            m_services);
    } else {
        m_services.messageBox(QStringLiteral("Parametri incompleti o non corretti"),
                              QStringLiteral("Invio non eseguito - Kestrix"),
                              MessageIcon::Information);
    }
    cmdSend->setEnabled(true);
    m_sending = false;
}

} // namespace kestrix
