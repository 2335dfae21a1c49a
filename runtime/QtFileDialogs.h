// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FileDialogs.h"

#include <QStringList>

class QWidget;

namespace kestrix {

// The "description|pattern|..." filter list as Qt's name filters. A
// description already naming its pattern is kept; "*.*" means every file.
QStringList QtNameFilters(const QString &filter);

class QtFileDialogs : public FileDialogs
{
public:
    // parent: the window the dialogs are modal to; may change later.
    explicit QtFileDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    std::optional<QString> saveFileName(const FileDialogRequest &request) override;
    std::optional<QString> openFileName(const FileDialogRequest &request) override;

private:
    std::optional<QString> run(const FileDialogRequest &request, bool save);

    QWidget *m_parent;
};

} // namespace kestrix
