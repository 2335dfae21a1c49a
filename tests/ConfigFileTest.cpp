// SPDX-License-Identifier: GPL-3.0-or-later
// What the samples of data/cfg/ load to, or why they are refused, the dry
// runs of tools-test.py show. Here: each one that loads is saved again byte
// for byte, as itself or as the NAME.saved beside it; and what needs code.

#include "ConfigFile.h"
#include "ConfigFileStore.h"
#include "ConfigFolder.h"
#include "Scenario.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kestrix;

TEST(ConfigFile, EverySampleThatLoadsIsSavedAgainByteForByte)
{
    const QDir samples(QStringLiteral(KESTRIX_TESTS "/data/cfg"));
    int loaded = 0;
    for (const QString &name : samples.entryList({"*.cfg"})) {
        const Result<DeviceSettings> read = LoadConfigFile(samples.filePath(name));
        if (!read)
            continue;
        ++loaded;
        const QString saved = samples.filePath(QFileInfo(name).completeBaseName() + ".saved");
        const Result<QByteArray> written = WriteConfigFile(*read);
        ASSERT_TRUE(written) << name.toStdString() << ": " << written.error().toStdString();
        EXPECT_EQ(*written, ContentOf(QFile::exists(saved) ? saved : samples.filePath(name)))
            << name.toStdString();
        const Result<DeviceSettings> again = ReadConfigFile(*written);
        EXPECT_TRUE(again && *again == *read) << name.toStdString();
    }
    EXPECT_GT(loaded, 25);
}

TEST(ConfigFile, ATextAFileCannotKeepIsRefusedRatherThanWrittenToComeBackCut)
{
    const QString unfit = "the user message holds a double quote, a line break or a character "
                          "outside Windows-1252, which a configuration file cannot keep.";
    const QString tooLong = "the user message is longer than 1022 characters, which a "
                            "configuration file cannot keep.";
    for (const auto &[text, said] : {std::pair{QString("a\"b"), unfit},
                                     {"a\rb", unfit},
                                     {"a\nb", unfit},
                                     {"Ω", unfit},
                                     {QString(1023, 'x'), tooLong}}) {
        DeviceSettings s = DefaultSettings();
        s.txtUsrM = text;
        EXPECT_EQ(Said(WriteConfigFile(s)), said) << text.size();
        s.txtUsrM = text.left(1022).remove('"').remove('\r').remove('\n').remove("Ω");
        const Result<QByteArray> kept = WriteConfigFile(s);
        EXPECT_TRUE(kept && ReadConfigFile(*kept)) << text.size();
    }
}

TEST(ConfigFile, ALongFileIsNotReadPastOneField)
{
    for (const char fill : {'a', ' ', '1'}) {
        QBuffer device;
        device.setData(QByteArray(4 << 20, fill));
        device.open(QIODevice::ReadOnly);
        EXPECT_TRUE(Said(ReadConfigFile(device)).contains("longer than 1024 characters"));
        EXPECT_LE(device.pos(), 2048) << fill;
    }
}

// Save and Load start where the operator may write; a file's title.
TEST(ConfigFolder, EveryCaseStartsWhereItSays)
{
    const auto start = [](const QString &rest) {
        QTemporaryDir root;
        const QString program = root.filePath("program"), documents = root.filePath("documents");
        for (const auto &[path, kind] : {std::pair{program, rest[0]}, {documents, rest[2]}}) {
            if (kind != '-')
                QDir().mkdir(path);
            if (kind == 'r' && QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner) &&
                QFile(path + "/probe").open(QIODevice::WriteOnly))
                GTEST_SKIP() << "this user writes into read-only folders";
        }
        const QString expected = rest.section(" | ", 1);
        EXPECT_EQ(ConfigFileFolder(program, documents, root.path()),
                  expected == "home" ? root.path() : root.filePath(expected));
    };
    const auto title = [](const QString &rest) {
        EXPECT_EQ(FileTitle(rest.section(" | ", 0, 0)), rest.section(" | ", 1));
    };
    RunCases("folders", {{"start", start}, {"title", title}});
}
