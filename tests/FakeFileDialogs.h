// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FileDialogs.h"

// Answers the file dialogs with a path set by the test, or a cancel.
struct FakeFileDialogs : kestrix::FileDialogs
{
    using Request = kestrix::FileDialogRequest;
    std::optional<QString> answer;

    std::optional<QString> saveFileName(const Request &) override { return answer; }
    std::optional<QString> openFileName(const Request &) override { return answer; }
};
