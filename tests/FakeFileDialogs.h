// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FileDialogs.h"

#include <QList>

// Answers the file dialogs with a path set by the test, or a cancel.
class FakeFileDialogs : public kestrix::FileDialogs
{
public:
    std::optional<QString> answer;

    std::optional<QString> saveFileName(const kestrix::FileDialogRequest &) override
    {
        return answer;
    }
    std::optional<QString> openFileName(const kestrix::FileDialogRequest &) override
    {
        return answer;
    }
};
