// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Case tables, tests/cases/NAME.txt: a case a line, a verb and what follows
// it ("parse 1.5 | 1.5"); blank lines and lines starting with # are
// skipped. A failing case names its file and line.

#include "QtPrinters.h"

#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <map>

using Steps = std::map<QString, std::function<void(const QString &rest)>>;

// A file's bytes; "<unreadable>" when it cannot be read.
inline QByteArray ContentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Writes a file anew; whether every byte went.
inline bool PutFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline void RunCases(const QString &name, const Steps &steps)
{
    // An unprivileged run reads them from a copy: the checkout may be private.
    // An unreadable table fails as a case no step takes.
    const QString path =
        qEnvironmentVariable("KESTRIX_TESTS", KESTRIX_TESTS) + "/cases/" + name + ".txt";
    const QStringList lines = QString::fromUtf8(ContentOf(path)).split('\n');
    for (int n = 0; n < lines.size(); ++n) {
        SCOPED_TRACE(QStringLiteral("%1:%2").arg(path).arg(n + 1).toStdString());
        const auto step = steps.find(lines[n].section(' ', 0, 0));
        if (step != steps.end())
            step->second(lines[n].section(' ', 1));
        else if (!lines[n].trimmed().isEmpty() && !lines[n].startsWith('#'))
            ADD_FAILURE() << "no such case";
    }
}
