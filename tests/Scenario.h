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
#include <map>

using Steps = std::map<QString, std::function<void(const QString &rest)>>;

// Whether text is as pattern says: "..." stands for any text, \r\n and \n
// for line breaks.
inline bool Matches(const QString &text, QString pattern)
{
    pattern = QRegularExpression::escape(pattern.replace("\\r\\n", "\r\n").replace("\\n", "\n"));
    return QRegularExpression(
               QRegularExpression::anchoredPattern(pattern.replace("\\.\\.\\.", ".*")),
               QRegularExpression::DotMatchesEverythingOption)
        .match(text)
        .hasMatch();
}

// A step that checks what shown() gives against the rest of its line.
inline auto Expect(const std::function<QString()> &shown)
{
    return [shown](const QString &rest) { EXPECT_PRED2(Matches, shown(), rest); };
}

// The scenario files of a folder of tests/data.
inline QStringList Scenarios(const QString &folder)
{
    const QDir dir(QStringLiteral(KESTRIX_TEST_DATA "/") + folder);
    QStringList files;
    for (const QString &name : dir.entryList({"*.txt"}, QDir::Files, QDir::Name))
        files << dir.filePath(name);
    EXPECT_FALSE(files.isEmpty()) << dir.path().toStdString();
    return files;
}

inline void RunScenario(const QString &path, const Steps &steps)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << path.toStdString();
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    for (int n = 0; n < lines.size(); ++n) {
        SCOPED_TRACE(QStringLiteral("%1:%2").arg(path).arg(n + 1).toStdString());
        const auto step = steps.find(lines[n].section(' ', 0, 0));
        if (step != steps.end())
            step->second(lines[n].section(' ', 1));
        else if (!lines[n].trimmed().isEmpty() && !lines[n].startsWith('#'))
            ADD_FAILURE() << "no such step";
    }
}
