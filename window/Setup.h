// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The settings window: one control for every setting of the device, the
// section switches that enable its rows, and the commands SEND, Save, Load,
// Default and Help. The controls themselves hold the settings; settings()
// reads them into a record for the encoder and the file writer.

#include "ConfigFrame.h"
#include "DeviceSettings.h"
#include "Form.h"
#include "FrameBlocks.h"
#include "TextBox.h"

#include <QPointer>

#include <array>
#include <vector>

class QGroupBox;
class QLabel;
class QPushButton;

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

    // The send-result window, created on first use and again after the
    // operator closed it.
    Dialog *dialog();
    bool hasDialog() const { return !m_dialog.isNull(); }

    void SetDefaults();
    void cmdDefault_Click();
    void cmdSend_Click();
    // Write the settings to a file, or read them from one; the title then
    // names the file.
    void cmdSave_Click();
    void cmdLoad_Click();
    // Opens the instructions, or brings them to the front and reloads them.
    void cmdHelp_Click();
    // The instructions window while it is open.
    frmIstruzioni *instructions() const;
    // Opens the chooser of the serial device for the COM number in txtComm
    // (Ctrl+Shift+D, or the field's right-click menu).
    PortChooser *chooseSerialDevice();
    // The number the port field stands for, within 1 to 16.
    int portNumber() const;

    // Section switches, counts, the user-message switch and the title resets.
    void chkRange_Click();
    void chkBand_Click();
    void chkDxCall_Click();
    void cbNumRange_Click();
    void cbNumBand_Click();
    void cbNumDxCalls_Click();
    void chkUsrM_Click();
    void resetTitle();

    // Key filters and leave checks of the fields.
    void txtComm_KeyPress(KeyCode &code);
    void txtTimer_KeyPress(KeyCode &code);
    void txtUsrM_KeyPress(KeyCode &code);
    void txtDxCall_KeyPress(int index, KeyCode &code);
    void txtComm_LostFocus();
    void txtTimer_LostFocus();
    void txtRangeLow_LostFocus(int index);
    void txtRangeHigh_LostFocus(int index);

    // Frame1
    QGroupBox *Frame1;
    QLabel *Label8;
    TextBox *txtTimer;
    QLabel *Label10;
    CheckBox *chkBeep;
    CheckBox *chkPacket;
    CheckBox *chkRA2;

    // Frame2 and its sections
    QGroupBox *Frame2;
    CheckBox *chkRange;
    QLabel *lblRanges;
    ComboBox *cbNumRange;
    QGroupBox *frRange;
    std::array<TextBox *, kRangeRows> txtRangeLow;
    std::array<TextBox *, kRangeRows> txtRangeHigh;
    CheckBox *chkBand;
    QLabel *lblBands;
    ComboBox *cbNumBand;
    QGroupBox *frBand;
    std::array<ComboBox *, kBandRows> cbBand;
    CheckBox *chkDxCall;
    QLabel *lblDxCalls;
    ComboBox *cbNumDxCalls;
    QGroupBox *frDxCall;
    std::array<TextBox *, kDxCallRows> txtDxCall;
    CheckBox *chkToAll;
    CheckBox *chkUsrM;
    TextBox *txtUsrM;

    // Frame6
    QGroupBox *Frame6;
    QPushButton *cmdDefault;
    QPushButton *cmdSave;
    QPushButton *cmdLoad;
    QLabel *Label1;
    TextBox *txtComm;
    QPushButton *cmdSend;
    QPushButton *cmdHelp;

protected:
    void formLoad() override;
    void formQueryUnload(bool &cancel) override;
    void formUnload() override;
    void formKeyDown(int key, Qt::KeyboardModifiers modifiers) override;

private:
    void createControls();
    void createMainSettings();
    void createSections();
    void createRangeRows();
    void createBandRows();
    void createDxCallRows();
    void createCommands();
    void setTabOrder();
    void connectReactions();
    void connectFieldReactions();
    std::vector<TextBox *> allFields() const;
    // The key filter of both range fields.
    void rangeKeyPress(TextBox *box, KeyCode &code);
    // The leave check of a range field: a bound crossing its partner takes
    // the partner's text, then the text is rewritten in "##0.000".
    void leaveRange(TextBox *box, TextBox *partner, bool boxIsLow);

    // A field's change reaction: the edit marking, and the plain title for
    // every field but the port number.
    void markEdited(TextBox *box, bool resetsTitle);
    // Writes a field and clears the marking the write raised.
    void writeField(TextBox *box, const QString &text);
    // Writes every control in the order Load and Default share, with the
    // section reactions and no field left marked.
    void applySettings(const DeviceSettings &settings);
    void switchSection(CheckBox *toggle, QGroupBox *frame, QLabel *status, ComboBox *count,
                       const QString &caption, void (Setup::*countReaction)());

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
