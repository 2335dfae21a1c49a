// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The platform's file dialogs, behind an interface so that tests can answer
// them. A request carries everything the dialog is set up with before it is
// shown; the answer is the chosen full path, or nothing when the operator
// cancelled.

#include <QString>

#include <optional>

namespace kestrix {

struct FileDialogRequest
{
    QString title;
    QString folder;     // where the dialog starts
    QString presetName; // the file name it offers
    // Pairs of description and pattern separated by "|", as
    // "Text (*.txt)|*.txt|All|*.*".
    QString filter;
    int filterInForce = 0; // index of the pair shown first
};

class FileDialogs
{
public:
    virtual ~FileDialogs() = default;

    // Asks before replacing an existing file.
    virtual std::optional<QString> saveFileName(const FileDialogRequest &request) = 0;
    virtual std::optional<QString> openFileName(const FileDialogRequest &request) = 0;
};

} // namespace kestrix
