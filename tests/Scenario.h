// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Scenario files under tests/data: one step a line, a verb and what follows
// it ("use 2", "shows First"); blank lines and lines starting with # are
// skipped. A failing step names its file and line.

#include "QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <functional>

using ScenarioStep = std::function<void(const QString &verb, const QString &rest)>;

inline void RunScenario(const QString &path, const ScenarioStep &step)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << path.toStdString();
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    for (int n = 0; n < lines.size(); ++n) {
        const QString &line = lines[n];
        if (line.trimmed().isEmpty() || line.startsWith('#'))
            continue;
        SCOPED_TRACE(QStringLiteral("%1:%2").arg(path).arg(n + 1).toStdString());
        const qsizetype space = line.indexOf(' ');
        step(line.left(space), space < 0 ? QString() : line.mid(space + 1));
    }
}

// Every scenario of a folder of tests/data, each on its own.
inline void RunScenarios(const QString &folder, const std::function<void(const QString &)> &run)
{
    const QDir dir(QStringLiteral(KESTRIX_TEST_DATA "/") + folder);
    const QStringList files = dir.entryList({"*.txt"}, QDir::Files, QDir::Name);
    EXPECT_FALSE(files.isEmpty()) << dir.path().toStdString();
    for (const QString &name : files)
        run(dir.filePath(name));
}

// Whether text is as pattern says: "..." stands for any text, \r\n and \n
// for line breaks.
inline bool Matches(const QString &text, QString pattern)
{
    pattern = QRegularExpression::escape(pattern.replace("\\r\\n", "\r\n").replace("\\n", "\n"));
    pattern.replace("\\.\\.\\.", ".*");
    const QRegularExpression whole(QRegularExpression::anchoredPattern(pattern),
                                   QRegularExpression::DotMatchesEverythingOption);
    return whole.match(text).hasMatch();
}
