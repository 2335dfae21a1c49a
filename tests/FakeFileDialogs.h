// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FileDialogs.h"

#include <QList>

// Answers the file dialogs with a path set by the test, or a cancel, and
// keeps every request.
class FakeFileDialogs : public kestrix::FileDialogs
{
public:
    std::optional<QString> answer;
    QList<kestrix::FileDialogRequest> saves;
    QList<kestrix::FileDialogRequest> opens;

    std::optional<QString> saveFileName(const kestrix::FileDialogRequest &request) override
    {
        saves << request;
        return answer;
    }
    std::optional<QString> openFileName(const kestrix::FileDialogRequest &request) override
    {
        opens << request;
        return answer;
    }
};
