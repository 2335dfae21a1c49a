// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "QtPrinters.h"

#include <QDir>

#include <gtest/gtest.h>

// The case files (*.txt) of a folder of tests/data, in name order.
inline QStringList Scenarios(const QString &folder)
{
    const QDir dir(QStringLiteral(KESTRIX_TEST_DATA "/") + folder);
    QStringList files;
    for (const QString &name : dir.entryList({"*.txt"}, QDir::Files, QDir::Name))
        files << dir.filePath(name);
    EXPECT_FALSE(files.isEmpty()) << dir.path().toStdString();
    return files;
}
