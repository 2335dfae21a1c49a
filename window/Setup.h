// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The settings window: one control for every setting of the device, the
// section switches that enable its rows, and the commands SEND, Save, Load,
// Default and Help. It builds its controls from the layout table and keeps
// them to itself; each carries its name from that table as its object name,
// by which anything outside (tests included) finds it. The controls hold the
// settings; settings() reads them into a record for the encoder and the
// file writer.

#include "ConfigFrame.h"
#include "DeviceSettings.h"
#include "Form.h"
#include "FrameBlocks.h"
#include "TextBox.h"

#include <QPointer>

#include <vector>

class QGroupBox;

namespace kestrix {

class CheckBox;
class ComboBox;
class Dialog;
class FileDialogs;
class PortChooser;
class PortLister;
class PortMappings;
class frmIstruzioni;
class SerialPort;
class Services;
struct ControlRow;
enum class Reaction;

inline constexpr char kPlainTitle[] = "Kestrix Config v6.DX by Maroth";

// What the window needs from outside, so that tests can stand in for it.
struct SetupPlatform
{
    Services &services;
    SerialPort &port;
    FileDialogs &files;
    const PortLister &ports;    // the machine's serial ports, for the chooser
    PortMappings &portMappings; // the devices chosen for COM numbers
};

// Keeps the characters of a call sign, upper-cased; refuses every other key.
void CallsignKeyFilter(KeyCode &code);
// Keeps digits, Backspace, and the locale's decimal separator once per text
// and not as its first character; returns 0 for a refused key.
KeyCode DecimalKeyFilter(const TextBox *focused, KeyCode code);

class Setup : public Form
{
    Q_OBJECT

public:
    explicit Setup(SetupPlatform platform, QWidget *parent = nullptr);
    ~Setup() override;

    // The current settings, read from the controls.
    DeviceSettings settings() const;
    // Writes every control in file order, each write raising the control's
    // own reaction, then runs the section switches; no field stays marked.
    void applySettings(const DeviceSettings &settings);

    // The commands, as their buttons give them.
    void SetDefaults();
    void cmdDefault_Click();
    // Encodes the settings and sends them on the port the port field names.
    void cmdSend_Click();
    // Write the settings to a file, or read them from one; the title then
    // names the file.
    void cmdSave_Click();
    void cmdLoad_Click();
    // Opens the instructions, or brings them to the front and reloads them.
    void cmdHelp_Click();

    // The send-result window, created on first use and again after the
    // operator closed it.
    Dialog *dialog();
    bool hasDialog() const { return !m_dialog.isNull(); }
    // The instructions window while it is open.
    frmIstruzioni *instructions() const;
    // Opens the chooser of the serial device for the port field's COM number
    // (Ctrl+Shift+D, or the field's right-click menu).
    PortChooser *chooseSerialDevice();
    // The number the port field stands for, within 1 to 16.
    int portNumber() const;

protected:
    void formLoad() override;
    void formQueryUnload(bool &cancel) override;
    void formUnload() override;
    void formKeyDown(int key, Qt::KeyboardModifiers modifiers) override;

private:
    // Building, from the layout table.
    void createControls();
    QWidget *createControl(const ControlRow &row);
    void setTabOrder();
    // The controls that take the focus, in Tab order.
    std::vector<QWidget *> tabOrder() const;
    void focusFirst();
    void connectReactions(const ControlRow &row, QWidget *control);
    void connectField(const ControlRow &row, TextBox *box);
    void connectCommand(const ControlRow &row, QWidget *button);

    // The control named name, by the layout table's names.
    template <typename Control> Control *find(const QString &name) const
    {
        auto *found = findChild<Control *>(name);
        Q_ASSERT(found);
        return found;
    }
    // The name of the first control wired to reaction: the port field, SEND.
    static QString nameOf(Reaction reaction);
    TextBox *partnerOf(const TextBox *box) const;

    // Key filters and leave checks of the fields.
    void txtComm_KeyPress(KeyCode &code);
    void txtTimer_KeyPress(const TextBox *box, KeyCode &code);
    void txtUsrM_KeyPress(KeyCode &code);
    void txtDxCall_KeyPress(const TextBox *box, KeyCode &code);
    // The key filter of both range fields.
    void rangeKeyPress(const TextBox *box, KeyCode &code);
    void txtComm_LostFocus(TextBox *box);
    void txtTimer_LostFocus(TextBox *box);
    // A bound crossing its partner takes the partner's text, then the text is
    // rewritten in "##0.000".
    void leaveRange(TextBox *box, bool boxIsLow);

    // Section switches, counts, the field switch and the title rule.
    void switchSection(const ControlRow &row, const CheckBox *toggle);
    void countRows(const ControlRow &row, const ComboBox *count);
    void switchField(const ControlRow &row, const CheckBox *toggle);
    void resetTitle();
    // A field's change reaction: the edit marking, and the plain title for
    // every field but the port number.
    void markEdited(TextBox *box, bool resetsTitle);
    // Shows the texts as the frame carries them, where they differ.
    void showAsSent(DeviceSettings sent);
    // Writes a field and clears the marking the write raised.
    void writeField(TextBox *box, const QString &text);

    Services &m_services;
    SerialPort &m_port;
    FileDialogs &m_files;
    const PortLister &m_ports;
    PortMappings &m_portMappings;
    QPointer<Dialog> m_dialog;
    QPointer<frmIstruzioni> m_istruzioni;
    ConfigFrame m_configFrame{};
    BlockHeader m_blockHeader{};
    bool m_sending = false;
};

} // namespace kestrix
