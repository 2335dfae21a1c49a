// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConfigFile.h"
#include "ConfigFields.h"
#include "ConfigFileStore.h"
#include "ConfigFolder.h"
#include "QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QMap>
#include <QTemporaryDir>

#include <iostream>

#include <gtest/gtest.h>

using namespace kestrix;

namespace {

// The example file of the device's documentation, written under a comma locale.
const QByteArray kExampleFile = "\"1,0\",1,0,0\r\n"
                                "1,5,1,2\r\n"
                                "\"1,810\"\r\n\"3,500\"\r\n\"7,000\"\r\n"
                                "\"14,000\"\r\n\"21,000\"\r\n\"24,890\"\r\n"
                                "\"1,838\"\r\n\"3,580\"\r\n\"7,030\"\r\n"
                                "\"14,065\"\r\n\"21,080\"\r\n\"24,920\"\r\n"
                                "4\r\n6\r\n8\r\n-1\r\n-1\r\n-1\r\n"
                                "1,0\r\n"
                                "\"DXCALL1\"\r\n\"DXCALL2\"\r\n\"DXCALL3\"\r\n"
                                "0,1,\"WWV\",\"1\"\r\n";

DeviceSettings exampleSettings()
{
    DeviceSettings s;
    s.txtTimer = "1,0";
    s.chkBeep = 1;
    s.chkRange = 1;
    s.cbNumRange = 5;
    s.chkBand = 1;
    s.cbNumBand = 2;
    s.txtRangeLow = {"1,810", "3,500", "7,000", "14,000", "21,000", "24,890"};
    s.txtRangeHigh = {"1,838", "3,580", "7,030", "14,065", "21,080", "24,920"};
    s.cbBand = {4, 6, 8, -1, -1, -1};
    s.chkDxCall = 1;
    s.cbNumDxCalls = 0;
    s.txtDxCall = {"DXCALL1", "DXCALL2", "DXCALL3"};
    s.chkUsrM = 1;
    s.txtUsrM = "WWV";
    s.txtComm = "1";
    return s;
}

// The byte offset just after field n (1-based) of the example file.
qsizetype endOfField(int n)
{
    qsizetype at = 0;
    for (int field = 0; field < n; ++field) {
        if (field > 0)
            at += kExampleFile[at] == '\r' ? 2 : 1;
        if (kExampleFile[at] == '"')
            at = kExampleFile.indexOf('"', at + 1) + 1;
        while (kExampleFile[at] != ',' && kExampleFile[at] != '\r')
            ++at;
    }
    return at;
}

// An endless stream of one byte, counting what the reader takes from it.
class EndlessDevice : public QIODevice
{
public:
    explicit EndlessDevice(char fill) : m_fill(fill) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 taken = 0;

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        std::fill(data, data + maxSize, m_fill);
        taken += maxSize;
        return maxSize;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    char m_fill;
};

} // namespace

TEST(ConfigFile, ExampleFileLoadsToItsSettingsAndIsWrittenByteForByte)
{
    const kestrix::Result<kestrix::DeviceSettings> read = ReadConfigFile(kExampleFile);
    ASSERT_TRUE(read.ok()) << read.error().toStdString();
    EXPECT_EQ(*read, exampleSettings());
    EXPECT_EQ(Said(WriteConfigFile(exampleSettings())), "done");
    EXPECT_EQ(*WriteConfigFile(exampleSettings()), kExampleFile);
}

TEST(ConfigFile, EveryValueComesBackFromAWrittenFile)
{
    DeviceSettings s = exampleSettings();
    s.txtTimer = "";
    s.chkPacket = 2;
    s.chkRA2 = 1;
    s.cbNumRange = kNoChoice;
    s.cbBand = {0, 11, -1, 3, 10, 1};
    s.txtRangeLow[2] = "a, b";
    s.txtDxCall[1] = "";
    s.txtDxCall[2] = "K\tL"; // a tab is text
    s.txtUsrM = QString::fromUtf8("€ñ'x");
    s.txtComm = " 16 ";
    const kestrix::Result<QByteArray> written = WriteConfigFile(s);
    ASSERT_TRUE(written.ok()) << written.error().toStdString();
    const kestrix::Result<kestrix::DeviceSettings> read = ReadConfigFile(*written);
    ASSERT_TRUE(read.ok()) << read.error().toStdString();
    EXPECT_EQ(*read, s);
    EXPECT_TRUE(written->contains("\x80\xF1'x")); // Windows-1252, not UTF-8
}

TEST(ConfigFile, AQuoteInATextIsRefusedRatherThanWrittenToComeBackCut)
{
    DeviceSettings s = exampleSettings();
    s.txtUsrM = "a\"b";
    const kestrix::Result<QByteArray> written = WriteConfigFile(s);
    EXPECT_FALSE(written.ok());
    EXPECT_TRUE(written.error().contains("the user message holds a double quote"))
        << written.error().toStdString();
}

TEST(ConfigFile, OnlyTheOrderOfTheFieldsCounts)
{
    QByteArray oneLine = kExampleFile;
    oneLine.replace("\r\n", ",");
    QByteArray spread = kExampleFile;
    spread.replace(",", "\r\n");
    spread.replace("\"1\r\n", "\"1,"); // keep the commas inside quoted texts
    spread.replace("\"3\r\n", "\"3,");
    spread.replace("\"7\r\n", "\"7,");
    spread.replace("\"14\r\n", "\"14,");
    spread.replace("\"21\r\n", "\"21,");
    spread.replace("\"24\r\n", "\"24,");
    QByteArray unixLines = kExampleFile;
    unixLines.replace("\r\n", "\n");
    QByteArray blanksAndExtras = kExampleFile;
    blanksAndExtras.replace("1,5,1,2", "  1,\t5 , 1,2");
    blanksAndExtras += "\"extra\",99,garbage\r\n\x01\x02";
    QByteArray noFinalLineEnd = kExampleFile;
    noFinalLineEnd.chop(2);
    for (const QByteArray &file : {oneLine, spread, unixLines, blanksAndExtras, noFinalLineEnd}) {
        const kestrix::Result<kestrix::DeviceSettings> read = ReadConfigFile(file);
        ASSERT_TRUE(read.ok()) << read.error().toStdString() << "\n" << file.toStdString();
        EXPECT_EQ(*read, exampleSettings()) << file.toStdString();
    }
}

TEST(ConfigFile, NumberFieldsTakeTheirLeadingNumberRoundedHalfToEven)
{
    const struct
    {
        QByteArray field;
        int beep;
    } cases[] = {{"1", 1}, {"0.5", 0},   {"1.5", 2}, {"2.5", 2}, {"1abc", 1}, {"", 0},
                 {"x", 0}, {"\"1\"", 1}, {"1e0", 1}, {"&H2", 2}, {" 2 ", 2}};
    for (const auto &c : cases) {
        QByteArray file = kExampleFile;
        file.replace("\"1,0\",1,", "\"1,0\"," + c.field + ",");
        const kestrix::Result<kestrix::DeviceSettings> read = ReadConfigFile(file);
        ASSERT_TRUE(read.ok()) << c.field.toStdString() << ": " << read.error().toStdString();
        EXPECT_EQ(read->chkBeep, c.beep) << c.field.toStdString();
    }
}

TEST(ConfigFile, BadFilesNameTheLineTheFieldAndTheFault)
{
    const auto withLine = [](int line, const QByteArray &replacement) {
        QList<QByteArray> lines = kExampleFile.split('\n');
        lines[line - 1] = replacement + "\r";
        return lines.join('\n');
    };
    const struct
    {
        const char *name;
        QByteArray file;
        const char *error;
    } cases[] = {
        {"empty", "", "line 1: the file is empty."},
        {"24 lines", kExampleFile.left(kExampleFile.indexOf("0,1,\"WWV\"")),
         "line 24: the file ends before field 32 of 35."},
        {"check state 3", withLine(1, "\"1,0\",3,0,0"),
         "line 1: field 2 (the beep switch): 3 is not a check state (0 off, 1 on, 2 grayed)."},
        {"check state -1", withLine(25, "0,-1,\"WWV\",\"1\""),
         "line 25: field 33 (the user-message switch): -1 is not a check state"},
        {"position -2", withLine(2, "1,-2,1,2"),
         "line 2: field 6 (the count of ranges): -2 is not a position of the list (-1 for none, "
         "0 to 5)."},
        {"position past the end", withLine(21, "1,3"),
         "line 21: field 28 (the count of DX calls): 3 is not a position of the list (-1 for "
         "none, 0 to 2)."},
        {"band past the end", withLine(17, "12"), "field 23 (band 3): 12 is not a position"},
        {"40000", withLine(1, "\"1,0\",1,40000,0"),
         "line 1: field 3 (the other-packets switch): 40000 is outside the whole-number range "
         "-32768 to 32767."},
        {"band not a number", withLine(15, "four"),
         "line 15: field 21 (band 1): \"four\" is not a number."},
        {"band empty", withLine(16, ""), "line 16: field 22 (band 2): \"\" is not a number."},
        {"unclosed quote", withLine(3, "\"1,810"),
         "line 3: the text of field 9 (the lower bound of range 1) has no closing quote"},
        {"ends in a quote", "\"1,0", "line 1: the file ends inside the text of field 1"},
        {"binary",
         QByteArray("\x7F"
                    "ELF\x02\x01\x01\x00",
                    8),
         "line 1: field 1 (the suspend timer) holds the control character 0x02"},
    };
    for (const auto &c : cases) {
        const kestrix::Result<kestrix::DeviceSettings> read = ReadConfigFile(c.file);
        EXPECT_FALSE(read.ok()) << c.name;
        EXPECT_TRUE(read.error().contains(QString::fromUtf8(c.error)))
            << c.name << ": " << read.error().toStdString();
    }
}

TEST(ConfigFile, AFileCutAfterAnyFieldNamesTheFirstMissingOne)
{
    for (int kept = 1; kept < int(ConfigFields().size()); ++kept) {
        const kestrix::Result<kestrix::DeviceSettings> read =
            ReadConfigFile(kExampleFile.left(endOfField(kept) + 1));
        ASSERT_FALSE(read.ok()) << kept;
        EXPECT_TRUE(read.error().endsWith(
            QStringLiteral("the file ends before field %1 of 35.").arg(kept + 1)))
            << read.error().toStdString();
    }
}

TEST(ConfigFile, AnEndlessFileIsNotReadPastOneField)
{
    for (const char fill : {'a', ' ', '1'}) {
        EndlessDevice device(fill);
        const kestrix::Result<kestrix::DeviceSettings> read = ReadConfigFile(device);
        EXPECT_FALSE(read.ok());
        EXPECT_TRUE(read.error().contains("longer than 1024 characters"))
            << read.error().toStdString();
        EXPECT_LE(device.taken, 64 * 1024) << fill; // the device buffers ahead of the reader
    }
}

TEST(ConfigFile, AFieldMayFillItsLimitQuotesIncluded)
{
    for (const int bytes : {kMaxFieldBytes - 1, kMaxFieldBytes, kMaxFieldBytes + 1}) {
        for (const bool quoted : {false, true}) {
            const QByteArray field =
                quoted ? '"' + QByteArray(bytes - 2, 'x') + '"' : QByteArray(bytes, 'x');
            const QByteArray file = field + kExampleFile.mid(endOfField(1));
            const kestrix::Result<kestrix::DeviceSettings> read = ReadConfigFile(file);
            EXPECT_EQ(read.ok(), bytes <= kMaxFieldBytes)
                << bytes << (quoted ? " quoted: " : ": ") << read.error().toStdString();
        }
    }
}

TEST(ConfigFile, FileTitleIsThePartAfterTheLastSlashOfEitherKind)
{
    const struct
    {
        QString path, title;
    } cases[] = {{"/home/op/Kestrix.cfg", "Kestrix.cfg"},
                 {"C:\\Radio\\box 2.cfg", "box 2.cfg"},
                 {"a/b\\c.cfg", "c.cfg"},
                 {"plain.cfg", "plain.cfg"}};
    for (const auto &c : cases)
        EXPECT_EQ(FileTitle(c.path), c.title);
}

namespace {

enum class Folder
{
    Writable,
    ReadOnly,
    Missing
};

struct StartCase
{
    Folder program;
    Folder documents;
    const char *expected; // "program", "documents" or "home"
};

} // namespace

// Save and Load start beside the program only where it can be written; an
// installed program's folder belongs to the system.
TEST(ConfigFolder, DialogsStartWhereTheOperatorMayWrite)
{
    const StartCase cases[] = {
        {Folder::Writable, Folder::Writable, "program"},
        {Folder::ReadOnly, Folder::Writable, "documents"},
        {Folder::Missing, Folder::Writable, "documents"},
        {Folder::ReadOnly, Folder::Missing, "home"},
        {Folder::Missing, Folder::ReadOnly, "home"},
    };
    for (const StartCase &c : cases) {
        QTemporaryDir root;
        QMap<QString, QString> paths;
        bool rightsBind = true;
        for (auto [name, kind] : {std::pair{"program", c.program}, {"documents", c.documents}}) {
            const QString path = root.filePath(name);
            paths[name] = path;
            if (kind == Folder::Missing)
                continue;
            QDir().mkdir(path);
            if (kind == Folder::ReadOnly) {
                QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
                rightsBind = rightsBind && !QFile(path + "/probe").open(QIODevice::WriteOnly);
            }
        }
        paths["home"] = root.path();
        if (!rightsBind) {
            std::cout << "skipped: this user writes into read-only folders\n";
            continue;
        }
        EXPECT_EQ(ConfigFileFolder(paths["program"], paths["documents"], paths["home"]),
                  paths[c.expected])
            << "program " << int(c.program) << ", documents " << int(c.documents);
    }
}
