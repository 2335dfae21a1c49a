// SPDX-License-Identifier: GPL-3.0-or-later
// The settings window's controls, placed from the design's twips.

#include "Setup.h"

#include "CaptionFit.h"
#include "CheckBox.h"
#include "ComboBox.h"
#include "ConfigFields.h"
#include "Frame.h"
#include "Geometry.h"
#include "TextBox.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace kestrix {

namespace {

template <typename Control>
Control *placed(Control *control, const QString &name, QRect twips, double points = 8.25,
                bool bold = false)
{
    control->setObjectName(name);
    control->setGeometry(twips);
    control->setFont(DesignFont(points, bold));
    return control;
}

QGroupBox *frame(QWidget *parent, const char *name, const char *caption, QRect twips, bool bold)
{
    return placed(new Frame(QString::fromLatin1(caption), parent), name, twips, bold ? 9.75 : 8.25,
                  bold);
}

QLabel *label(QWidget *parent, const QString &caption, QRect twips, const char *name = "")
{
    auto *l = placed(new QLabel(caption, parent), name, twips);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

// The status labels beside the count lists take two lines.
QLabel *twoLineLabel(QWidget *parent, const char *caption, QRect twips, const char *name)
{
    QLabel *l = label(parent, QString::fromLatin1(caption), twips, name);
    l->setWordWrap(true);
    return l;
}

// A field names itself to assistive technology: left alone it would take its
// frame's caption, the same for every row.
TextBox *textBox(QWidget *parent, const QString &name, QRect twips, int limit,
                 Qt::Alignment alignment, const char *toolTip, const QString &spokenName)
{
    auto *box = placed(new TextBox(parent), name, twips);
    box->setLengthLimit(limit);
    box->setAlignment(alignment | Qt::AlignVCenter);
    box->setToolTip(QString::fromUtf8(toolTip));
    box->setAccessibleName(spokenName);
    return box;
}

// A list would be read by its current entry alone.
ComboBox *list(ComboBox *combo, const QString &spokenName)
{
    combo->setAccessibleName(spokenName);
    return combo;
}

QPushButton *button(QWidget *parent, const char *name, const char *caption, QRect twips)
{
    return placed(new QPushButton(QString::fromLatin1(caption), parent), name, twips);
}

// Rows stand 240 twips apart; a field as tall as the design's 285 or 315
// would cover the top of the one below, so row fields take the row's height.
constexpr int kRowPitch = 240;

// Row labels stand a little below the top of their row's field.
QRect rowLabelRect(int left, int fieldTop, int width)
{
    return TwipsRect(left, fieldTop + 30, width, 255);
}

} // namespace

void Setup::createControls()
{
    createMainSettings();
    createSections();
    createCommands();
    setTabOrder();
    FitCaptions(this);
}

void Setup::createMainSettings()
{
    Frame1 = frame(this, "Frame1", "Main Settings", TwipsRect(60, 0, 8415, 615), true);
    Label8 =
        label(Frame1, QStringLiteral("Suspend Timer:"), TwipsRect(120, 280, 1215, 255), "Label8");
    txtTimer = textBox(Frame1, "txtTimer", TwipsRect(1320, 260, 550, 285), 5, Qt::AlignRight,
                       "0,0-63,0   (0=Timer Disable)", QStringLiteral("Suspend timer, seconds"));
    Label10 = label(Frame1, QStringLiteral("sec."), TwipsRect(1920, 285, 285, 255), "Label10");
    Label8->setBuddy(txtTimer);
    Label10->setBuddy(txtTimer);
    chkBeep = placed(new CheckBox(QStringLiteral("Beeps Enable"), Frame1), "chkBeep",
                     TwipsRect(2760, 260, 1335, 255));
    chkPacket = placed(new CheckBox(QStringLiteral("Other Packets Enable"), Frame1), "chkPacket",
                       TwipsRect(4440, 260, 1900, 255));
    chkRA2 = placed(new CheckBox(QStringLiteral("RA2 Output Enable"), Frame1), "chkRA2",
                    TwipsRect(6600, 260, 1695, 255));
}

void Setup::createSections()
{
    Frame2 = frame(this, "Frame2", "DX CLUSTER Settings: Suspend On.......",
                   TwipsRect(60, 650, 8415, 3330), true);

    // The two-line switch captions break where the designed width wraps them.
    chkRange = placed(new CheckBox(QStringLiteral("Frequency\nRanges -->"), Frame2), "chkRange",
                      TwipsRect(120, 480, 1170, 615));
    lblRanges = twoLineLabel(Frame2, "Active Ranges", TwipsRect(120, 1265, 615, 495), "lblRanges");
    cbNumRange = list(placed(new ComboBox(CountList(kRangeRows), Frame2), "cbNumRange",
                             TwipsRect(730, 1320, 495, 360), 9.75),
                      QStringLiteral("Active ranges"));
    lblRanges->setBuddy(cbNumRange);
    frRange = frame(Frame2, "frRange", "Frequency Ranges", TwipsRect(1320, 250, 3015, 1815), false);
    createRangeRows();

    chkBand = placed(new CheckBox(QStringLiteral("Amateur\nBands -->"), Frame2), "chkBand",
                     TwipsRect(4800, 480, 1050, 615));
    lblBands = twoLineLabel(Frame2, "Active Bands", TwipsRect(4800, 1265, 615, 495), "lblBands");
    cbNumBand = list(placed(new ComboBox(CountList(kBandRows), Frame2), "cbNumBand",
                            TwipsRect(5280, 1320, 495, 360), 9.75),
                     QStringLiteral("Active bands"));
    lblBands->setBuddy(cbNumBand);
    frBand = frame(Frame2, "frBand", "Amateur Bands", TwipsRect(5880, 240, 2415, 1825), false);
    createBandRows();

    chkDxCall = placed(new CheckBox(QStringLiteral("DX Calls -->"), Frame2), "chkDxCall",
                       TwipsRect(120, 2280, 1170, 375));
    lblDxCalls =
        twoLineLabel(Frame2, "Active Dx Calls", TwipsRect(120, 2740, 580, 495), "lblDxCalls");
    cbNumDxCalls = list(placed(new ComboBox(CountList(kDxCallRows), Frame2), "cbNumDxCalls",
                               TwipsRect(730, 2770, 495, 360), 9.75),
                        QStringLiteral("Active DX calls"));
    lblDxCalls->setBuddy(cbNumDxCalls);
    frDxCall = frame(Frame2, "frDxCall", "Dx Calls", TwipsRect(1320, 2160, 2535, 1095), false);
    createDxCallRows();

    chkToAll = placed(new CheckBox(QStringLiteral("To ALL..."), Frame2), "chkToAll",
                      TwipsRect(4800, 2280, 1575, 255));
    chkUsrM = placed(new CheckBox(QStringLiteral("User Message:"), Frame2), "chkUsrM",
                     TwipsRect(4800, 2880, 1400, 255));
    txtUsrM = textBox(Frame2, "txtUsrM", TwipsRect(6240, 2880, 1455, 285), 9, Qt::AlignLeft,
                      "Max 9 char.", QStringLiteral("User message"));
    // The switches' captions break over two lines and point at their frame;
    // read aloud, they say what they switch.
    chkRange->setAccessibleName(QStringLiteral("Suspend on frequency ranges"));
    chkBand->setAccessibleName(QStringLiteral("Suspend on amateur bands"));
    chkDxCall->setAccessibleName(QStringLiteral("Suspend on DX calls"));
    chkToAll->setAccessibleName(QStringLiteral("Suspend on To ALL"));
    chkUsrM->setAccessibleName(QStringLiteral("Suspend on user message"));
}

void Setup::createRangeRows()
{
    for (int i = 0; i < kRangeRows; ++i) {
        const int top = kRowPitch + kRowPitch * i;
        const QString row = QStringLiteral("Range %1").arg(i + 1);
        QLabel *rowLabel = label(frRange, row, rowLabelRect(120, top, 700));
        txtRangeLow[i] =
            textBox(frRange, ElementName("txtRangeLow", i), TwipsRect(840, top, 735, kRowPitch), 7,
                    Qt::AlignRight, "Max 999 Mhz", row + QStringLiteral(" from, MHz"));
        QLabel *to = label(frRange, QStringLiteral("to"), rowLabelRect(1610, top, 190));
        txtRangeHigh[i] =
            textBox(frRange, ElementName("txtRangeHigh", i), TwipsRect(1800, top, 735, kRowPitch),
                    7, Qt::AlignRight, "Max 999 Mhz", row + QStringLiteral(" to, MHz"));
        QLabel *unit = label(frRange, QStringLiteral("Mhz"), rowLabelRect(2600, top, 400));
        rowLabel->setBuddy(txtRangeLow[i]);
        to->setBuddy(txtRangeHigh[i]);
        unit->setBuddy(txtRangeHigh[i]);
    }
}

void Setup::createBandRows()
{
    for (int i = 0; i < kBandRows; ++i) {
        const int top = kRowPitch + kRowPitch * i;
        const QString row = QStringLiteral("Band %1").arg(i + 1);
        QLabel *rowLabel = label(frBand, row, rowLabelRect(120, top, 580));
        cbBand[i] = list(placed(new ComboBox(BandList(), frBand), ElementName("cbBand", i),
                                TwipsRect(720, top, 1600, kRowPitch)),
                         row);
        rowLabel->setBuddy(cbBand[i]);
    }
}

void Setup::createDxCallRows()
{
    for (int i = 0; i < kDxCallRows; ++i) {
        const int top = kRowPitch + kRowPitch * i;
        QLabel *rowLabel =
            label(frDxCall, QStringLiteral("DX CALL %1").arg(i + 1), rowLabelRect(120, top, 860));
        txtDxCall[i] =
            textBox(frDxCall, ElementName("txtDxCall", i), TwipsRect(1000, top, 1335, kRowPitch), 9,
                    Qt::AlignLeft, "Max 9 char.", QStringLiteral("DX call %1").arg(i + 1));
        rowLabel->setBuddy(txtDxCall[i]);
    }
}

void Setup::createCommands()
{
    Frame6 =
        frame(this, "Frame6", "Configuration / Programming", TwipsRect(60, 4000, 8415, 760), true);
    cmdDefault = button(Frame6, "cmdDefault", "Default", TwipsRect(120, 280, 850, 375));
    cmdSave = button(Frame6, "cmdSave", "Save", TwipsRect(1560, 280, 850, 375));
    cmdLoad = button(Frame6, "cmdLoad", "Load", TwipsRect(2760, 280, 850, 375));
    Label1 = label(Frame6, QStringLiteral("Comm num:"), TwipsRect(4200, 345, 855, 255), "Label1");
    txtComm = textBox(Frame6, "txtComm", TwipsRect(5040, 310, 300, 285), 2, Qt::AlignHCenter,
                      "RS232 Comm Number, 1 to 16", QStringLiteral("Comm port number"));
    Label1->setBuddy(txtComm);
    cmdSend = placed(new QPushButton(QStringLiteral("SEND"), Frame6), "cmdSend",
                     TwipsRect(5640, 245, 1140, 400), 8.25, true);
    cmdHelp = button(Frame6, "cmdHelp", "Help (F1)", TwipsRect(7440, 280, 850, 375));
    // Return and Enter press the focused button, as Space does. The window
    // is no dialog, so no button is the default that a field's Return
    // would press.
    for (QPushButton *command : {cmdDefault, cmdSave, cmdLoad, cmdSend, cmdHelp})
        command->setAutoDefault(true);
}

void Setup::setTabOrder()
{
    std::vector<QWidget *> order = {txtTimer, chkBeep, chkPacket, chkRA2, chkRange, cbNumRange};
    for (int i = 0; i < kRangeRows; ++i) {
        order.push_back(txtRangeLow[i]);
        order.push_back(txtRangeHigh[i]);
    }
    order.insert(order.end(), {chkBand, cbNumBand, cbBand[0], chkDxCall, chkToAll, chkUsrM, txtUsrM,
                               cmdSave, txtComm, cmdSend, cmdHelp, cmdDefault, cmdLoad});
    order.insert(order.end(), txtDxCall.begin(), txtDxCall.end());
    order.push_back(cbNumDxCalls);
    order.insert(order.end(), cbBand.begin() + 1, cbBand.end());
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

} // namespace kestrix
