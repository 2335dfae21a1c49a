// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtFileDialogs.h"

#include <QDir>
#include <QFileDialog>

namespace kestrix {

QStringList QtNameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QChar('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QChar(';'), QChar(' '));
        if (patterns == QStringLiteral("*.*"))
            patterns = QStringLiteral("*");
        const QString &description = parts[i];
        filters << (description.contains(QChar('('))
                        ? description
                        : QStringLiteral("%1 (%2)").arg(description, patterns));
    }
    return filters;
}

std::optional<QString> QtFileDialogs::saveFileName(const FileDialogRequest &request)
{
    return run(request, true);
}

std::optional<QString> QtFileDialogs::openFileName(const FileDialogRequest &request)
{
    return run(request, false);
}

std::optional<QString> QtFileDialogs::run(const FileDialogRequest &request, bool save)
{
    QFileDialog dialog(m_parent, request.title, request.folder);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = QtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterInForce >= 0 && request.filterInForce < filters.size())
        dialog.selectNameFilter(filters[request.filterInForce]);
    dialog.selectFile(QDir(request.folder).filePath(request.presetName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace kestrix
