// SPDX-License-Identifier: GPL-3.0-or-later
#include "CodePages.h"

#include "IconvDecoder.h"
#include "MacCodePages.h"
#include "SymbolFont.h"
#include "Windows1252.h"

#include <QHash>
#include <QStringDecoder>

#include <optional>
#include <vector>

namespace kestrix {

namespace {

// The names converters know a code page by, most likely first. Qt's ICU
// and iconv name the Macintosh code pages each in their own way.
std::vector<QByteArray> namesOf(int codePage)
{
    switch (codePage) {
    case kMacRoman:
        return {"macintosh", "MACINTOSH"};
    case 10001: // Japanese: Shift-JIS, with a few Mac additions
        return {"Shift_JIS", "SHIFT_JIS"};
    case 10002:
        return {"Big5", "BIG5"};
    case 10003:
        return {"EUC-KR"};
    case 10006:
        return {"x-mac-greek", "MAC-GREEK"};
    case 10007:
        return {"x-mac-cyrillic", "MAC-CYRILLIC"};
    case 10008:
        return {"GB2312", "EUC-CN"};
    case 10017:
        return {"x-mac-ukrainian", "MAC-UK"};
    case 10029:
        return {"x-mac-centraleurroman", "MAC-CENTRALEUROPE"};
    case 10081:
        return {"x-mac-turkish", "MAC-TURKISH"};
    default:
        return {"cp" + QByteArray::number(codePage), "CP" + QByteArray::number(codePage)};
    }
}

// Windows-1252 is Latin-1 but for 0x80 to 0x9F; Latin-1 converts fast.
QString decodeWindows1252(QByteArrayView bytes)
{
    QString text = QString::fromLatin1(bytes);
    for (QChar &c : text)
        if (c.unicode() >= 0x80 && c.unicode() < 0xA0)
            c = FromWindows1252(static_cast<std::uint8_t>(c.unicode()));
    return text;
}

} // namespace

class CodePages::Converter
{
public:
    explicit Converter(int codePage)
    {
        if (codePage == kUtf8CodePage) {
            m_qt.emplace(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            return;
        }
        // Our own tables first: a converter may know a code page otherwise
        // than Apple does.
        m_table = MacTableOf(codePage);
        if (m_table)
            return;
        for (const QByteArray &name : namesOf(codePage)) {
            QStringDecoder qt(name.constData(), QStringDecoder::Flag::Stateless);
            if (qt.isValid()) {
                m_qt.emplace(std::move(qt));
                return;
            }
            auto iconv = std::make_unique<IconvDecoder>(name.constData());
            if (iconv->isValid()) {
                m_iconv = std::move(iconv);
                return;
            }
        }
    }

    std::optional<QString> decode(QByteArrayView bytes)
    {
        if (m_qt)
            return m_qt->decode(bytes);
        if (m_iconv)
            return m_iconv->decode(bytes);
        if (m_table)
            return DecodeMacTable(*m_table, bytes);
        return std::nullopt;
    }

private:
    std::optional<QStringDecoder> m_qt;
    std::unique_ptr<IconvDecoder> m_iconv;
    const MacTable *m_table = nullptr;
};

CodePages::CodePages() = default;
CodePages::~CodePages() = default;

int CodePages::ofCharset(int charset)
{
    static const QHash<int, int> pages = {
        {0, kWindowsLatin1}, {2, kSymbolCodePage}, {77, kMacRoman}, {78, 10001}, {79, 10003},
        {80, 10008},         {81, 10002},          {83, 10005},     {84, 10004}, {85, 10006},
        {86, 10081},         {87, 10021},          {88, 10029},     {89, 10007}, {128, 932},
        {129, 949},          {130, 1361},          {134, 936},      {136, 950},  {161, 1253},
        {162, 1254},         {163, 1258},          {177, 1255},     {178, 1256}, {186, 1257},
        {204, 1251},         {222, 874},           {238, 1250},     {254, 437},  {255, 850}};
    return pages.value(charset, 0);
}

CodePages::Converter &CodePages::converterOf(int codePage)
{
    auto found = m_converters.find(codePage);
    if (found == m_converters.end())
        found = m_converters.emplace(codePage, std::make_unique<Converter>(codePage)).first;
    return *found->second;
}

QString CodePages::decode(int codePage, QByteArrayView bytes)
{
    if (codePage == kSymbolCodePage)
        return DecodeSymbolFont(bytes);
    if (codePage != kWindowsLatin1)
        if (std::optional<QString> text = converterOf(codePage).decode(bytes))
            return *text;
    return decodeWindows1252(bytes);
}

} // namespace kestrix
