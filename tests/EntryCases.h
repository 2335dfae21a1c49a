// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What each kind of field makes of the same text, whichever way it enters:
// typed or committed by an input method, character by character through the
// field's key reaction; pasted or dropped, the same, once the field has
// taken Ctrl+V. Under a point locale.

#include "Setup.h"

#include <QString>

struct EntryCase
{
    const char *name;
    const char *field; // the field's name in the window
    QString input;
    QString typed;  // what typing it into the emptied field leaves there
    int typedBeeps; // and how often that beeps
    QString pasted; // what a paste or a drop leaves there
};

inline const EntryCase kEntryCases[] = {
    {"port", "txtComm", "7x.1", "71", 0, ""},
    {"timer", "txtTimer", "1x.5", "1.5", 0, ""},
    {"message", "txtUsrM", QString::fromUtf8("xyz{}~'`\"a\u00e9!\u03a9bcdefg"), "xyza!bcde", 0,
     "xyza!bcde"},
    {"call", "txtDxCall(0)", QString::fromUtf8("ab*c_d.e\u00e9 fghijkl"), "ABCDE FGH", 0, ""},
    {"low", "txtRangeLow(0)", ".1x2.5.6", "12.56", 0, ""},
    {"high", "txtRangeHigh(0)", "5000", "500", 1, ""},
};
