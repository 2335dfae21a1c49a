// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmIstruzioni.h"

#include "Geometry.h"
#include "RtfReader.h"
#include "Services.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QScreen>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

namespace kestrix {

namespace {

constexpr char kMessageTitle[] = "Kestrix Config v6.DX";
// No help file comes near this; a bigger one is not a help file. Rich text
// shows at about 0.15 s for each megabyte, so even this opens in seconds.
constexpr qint64 kMaxHelpFileBytes = 16 << 20;

} // namespace

QStringList HelpFileCandidates(const QString &name)
{
    if (!QFileInfo(name).isRelative() || name.contains(QChar('/')) || name.contains(QChar('\\')))
        return {name};
    const QDir programs(QCoreApplication::applicationDirPath());
    return {name, programs.filePath(name),
            QDir::cleanPath(programs.filePath(QStringLiteral("../share/kestrix-config/") + name)),
            QDir(QStringLiteral(KESTRIX_DATA_DIR)).filePath(name)};
}

std::optional<QString> LocateHelpFile(const QString &name)
{
    for (const QString &candidate : HelpFileCandidates(name))
        if (QFileInfo(candidate).isFile())
            return candidate;
    return std::nullopt;
}

frmIstruzioni::frmIstruzioni(Services &services, QWidget *parent)
    : Form(parent, Qt::Window), m_services(services)
{
    setObjectName(QStringLiteral("frmIstruzioni"));
    setWindowTitle(QStringLiteral("Istruzioni:"));
    QIcon icon(QStringLiteral(":/icons/instructions.xpm"));
    icon.addFile(QStringLiteral(":/icons/instructions-16.xpm"));
    setWindowIcon(icon);
    resize(Pixels(9765), Pixels(6045));

    rtfIstruzioni = new QTextEdit(this);
    rtfIstruzioni->setObjectName(QStringLiteral("rtfIstruzioni"));
    rtfIstruzioni->setReadOnly(true); // nothing typed there would ever be saved
    rtfIstruzioni->setAccessibleName(QStringLiteral("Instructions"));
    QPalette palette = rtfIstruzioni->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
    rtfIstruzioni->setPalette(palette);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(rtfIstruzioni);
}

void frmIstruzioni::Apri(const QString &NFileIstruzioni, const QString &Titolo)
{
    m_fileName = NFileIstruzioni;
    load();
    setWindowTitle(QStringLiteral(" ") + Titolo);
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void frmIstruzioni::formLoad()
{
    const QScreen *screen = this->screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    move(available.center() - rect().center());
}

void frmIstruzioni::formActivate()
{
    const std::optional<QString> path = LocateHelpFile(m_fileName);
    if (!path) {
        report(QStringLiteral("Manca il file di help ") + m_fileName);
        close();
        return;
    }
    showFile(*path);
}

void frmIstruzioni::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    Form::keyPressEvent(event);
}

void frmIstruzioni::showFile(const QString &path)
{
    const QFileInfo info(path);
    const Shown now{info.absoluteFilePath(), info.size(), info.lastModified()};
    if (now == m_shown)
        return; // the same file as shown: nothing to read again
    QFile file(path);
    QString error;
    QByteArray bytes;
    if (!file.open(QIODevice::ReadOnly))
        error = file.errorString();
    else if (file.size() > kMaxHelpFileBytes)
        error = QStringLiteral("The file is larger than %1 MB.").arg(kMaxHelpFileBytes >> 20);
    else if (bytes = file.readAll(); file.error() != QFileDevice::NoError)
        error = file.errorString();
    if (error.isEmpty()) {
        // Built off screen and shown whole: a document laid out while it
        // grows costs far more. A file that is not rich text leaves the old
        // text shown.
        auto *document = new QTextDocument(rtfIstruzioni);
        const Result<> read = ReadRtf(bytes, *document);
        if (read) {
            rtfIstruzioni->setDocument(document); // the old one, its child, goes
            m_shown = now;
            return;
        }
        delete document;
        error = read.error();
    }
    report(error + QStringLiteral("\r\n") + m_fileName);
}

void frmIstruzioni::report(const QString &text)
{
    m_services.messageBox(text, QString::fromLatin1(kMessageTitle), MessageIcon::Critical);
}

} // namespace kestrix
