// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The instructions window: shows the operating instructions from a rich text
// file, looked at again every time the window becomes active so that an
// edited file shows at once; an unchanged one is not read again.

#include "Form.h"

#include <QDateTime>
#include <QStringList>

#include <optional>

class QTextEdit;

namespace kestrix {

class Services;

inline constexpr char kHelpFileName[] = "Kestrix_Config.rtf";
inline constexpr char kHelpTitle[] = "Kestrix Config v6.DX - Istruzioni";

// Where a help file named without a folder is looked for, in order: the
// working directory, the executable's folder, the data folder installed
// beside it (../share/kestrix-config), the data folder it was built for.
QStringList HelpFileCandidates(const QString &name);
// The first candidate that is a file.
std::optional<QString> LocateHelpFile(const QString &name);

class frmIstruzioni : public Form
{
    Q_OBJECT

public:
    explicit frmIstruzioni(Services &services, QWidget *parent = nullptr);

    // Shows the file with a blank and Titolo as the title, and brings the
    // window to the front.
    void Apri(const QString &NFileIstruzioni, const QString &Titolo = {});

    QTextEdit *rtfIstruzioni;

protected:
    void formLoad() override;
    void formActivate() override;
    // Escape closes the window, as it does a viewer's.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showFile(const QString &path);
    void report(const QString &text);

    // The file on show, to read it again only once it has changed.
    struct Shown
    {
        QString path;
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const Shown &) const = default;
    };

    Services &m_services;
    QString m_fileName;
    Shown m_shown;
};

} // namespace kestrix
