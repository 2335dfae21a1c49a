// SPDX-License-Identifier: GPL-3.0-or-later
#include "MacCodePages.h"

namespace kestrix {

namespace {

// Apple's mapping tables, as the Unicode Consortium publishes them
// (MAPPINGS/VENDORS/APPLE/ARABIC.TXT, HEBREW.TXT, ROMANIAN.TXT, THAI.TXT,
// ICELAND.TXT and CROATIAN.TXT), less Apple's transcoding hints (U+F860 to U+F87F); printed
// by scripts/mac-code-page-tables.py from the codecs of Python and Perl,
// which are made from those files.

// Arabic (10004), after Python's mac_arabic
constexpr MacTable kArabic = {
    u"\u00C4", u"\u00A0", u"\u00C7", u"\u00C9", u"\u00D1", u"\u00D6", u"\u00DC", u"\u00E1",
    u"\u00E0", u"\u00E2", u"\u00E4", u"\u06BA", u"\u00AB", u"\u00E7", u"\u00E9", u"\u00E8",
    u"\u00EA", u"\u00EB", u"\u00ED", u"\u2026", u"\u00EE", u"\u00EF", u"\u00F1", u"\u00F3",
    u"\u00BB", u"\u00F4", u"\u00F6", u"\u00F7", u"\u00FA", u"\u00F9", u"\u00FB", u"\u00FC",
    u"\u0020", u"\u0021", u"\u0022", u"\u0023", u"\u0024", u"\u066A", u"\u0026", u"\u0027",
    u"\u0028", u"\u0029", u"\u002A", u"\u002B", u"\u060C", u"\u002D", u"\u002E", u"\u002F",
    u"\u0660", u"\u0661", u"\u0662", u"\u0663", u"\u0664", u"\u0665", u"\u0666", u"\u0667",
    u"\u0668", u"\u0669", u"\u003A", u"\u061B", u"\u003C", u"\u003D", u"\u003E", u"\u061F",
    u"\u274A", u"\u0621", u"\u0622", u"\u0623", u"\u0624", u"\u0625", u"\u0626", u"\u0627",
    u"\u0628", u"\u0629", u"\u062A", u"\u062B", u"\u062C", u"\u062D", u"\u062E", u"\u062F",
    u"\u0630", u"\u0631", u"\u0632", u"\u0633", u"\u0634", u"\u0635", u"\u0636", u"\u0637",
    u"\u0638", u"\u0639", u"\u063A", u"\u005B", u"\u005C", u"\u005D", u"\u005E", u"\u005F",
    u"\u0640", u"\u0641", u"\u0642", u"\u0643", u"\u0644", u"\u0645", u"\u0646", u"\u0647",
    u"\u0648", u"\u0649", u"\u064A", u"\u064B", u"\u064C", u"\u064D", u"\u064E", u"\u064F",
    u"\u0650", u"\u0651", u"\u0652", u"\u067E", u"\u0679", u"\u0686", u"\u06D5", u"\u06A4",
    u"\u06AF", u"\u0688", u"\u0691", u"\u007B", u"\u007C", u"\u007D", u"\u0698", u"\u06D2",
};

// Hebrew (10005), after Perl's MacHebrew
constexpr MacTable kHebrew = {
    u"\u00C4", u"\u05F2\u05B7", u"\u00C7", u"\u00C9", u"\u00D1", u"\u00D6", u"\u00DC",
    u"\u00E1", u"\u00E0",       u"\u00E2", u"\u00E4", u"\u00E3", u"\u00E5", u"\u00E7",
    u"\u00E9", u"\u00E8",       u"\u00EA", u"\u00EB", u"\u00ED", u"\u00EC", u"\u00EE",
    u"\u00EF", u"\u00F1",       u"\u00F3", u"\u00F2", u"\u00F4", u"\u00F6", u"\u00F5",
    u"\u00FA", u"\u00F9",       u"\u00FB", u"\u00FC", u"\u0020", u"\u0021", u"\u0022",
    u"\u0023", u"\u0024",       u"\u0025", u"\u20AA", u"\u0027", u"\u0029", u"\u0028",
    u"\u002A", u"\u002B",       u"\u002C", u"\u002D", u"\u002E", u"\u002F", u"\u0030",
    u"\u0031", u"\u0032",       u"\u0033", u"\u0034", u"\u0035", u"\u0036", u"\u0037",
    u"\u0038", u"\u0039",       u"\u003A", u"\u003B", u"\u003C", u"\u003D", u"\u003E",
    u"\u003F", u"\u05DC\u05B9", u"\u201E", u"\uF89B", u"\uF89C", u"\uF89D", u"\uF89E",
    u"\u05BC", u"\uFB4B",       u"\uFB35", u"\u2026", u"\u00A0", u"\u05B8", u"\u05B7",
    u"\u05B5", u"\u05B6",       u"\u05B4", u"\u2013", u"\u2014", u"\u201C", u"\u201D",
    u"\u2018", u"\u2019",       u"\uFB2A", u"\uFB2B", u"\u05BF", u"\u05B0", u"\u05B2",
    u"\u05B1", u"\u05BB",       u"\u05B9", u"\u05B8", u"\u05B3", u"\u05D0", u"\u05D1",
    u"\u05D2", u"\u05D3",       u"\u05D4", u"\u05D5", u"\u05D6", u"\u05D7", u"\u05D8",
    u"\u05D9", u"\u05DA",       u"\u05DB", u"\u05DC", u"\u05DD", u"\u05DE", u"\u05DF",
    u"\u05E0", u"\u05E1",       u"\u05E2", u"\u05E3", u"\u05E4", u"\u05E5", u"\u05E6",
    u"\u05E7", u"\u05E8",       u"\u05E9", u"\u05EA", u"\u007D", u"\u005D", u"\u007B",
    u"\u005B", u"\u007C",
};

// Romanian (10010), after Python's mac_romanian
constexpr MacTable kRomanian = {
    u"\u00C4", u"\u00C5", u"\u00C7", u"\u00C9", u"\u00D1", u"\u00D6", u"\u00DC", u"\u00E1",
    u"\u00E0", u"\u00E2", u"\u00E4", u"\u00E3", u"\u00E5", u"\u00E7", u"\u00E9", u"\u00E8",
    u"\u00EA", u"\u00EB", u"\u00ED", u"\u00EC", u"\u00EE", u"\u00EF", u"\u00F1", u"\u00F3",
    u"\u00F2", u"\u00F4", u"\u00F6", u"\u00F5", u"\u00FA", u"\u00F9", u"\u00FB", u"\u00FC",
    u"\u2020", u"\u00B0", u"\u00A2", u"\u00A3", u"\u00A7", u"\u2022", u"\u00B6", u"\u00DF",
    u"\u00AE", u"\u00A9", u"\u2122", u"\u00B4", u"\u00A8", u"\u2260", u"\u0102", u"\u0218",
    u"\u221E", u"\u00B1", u"\u2264", u"\u2265", u"\u00A5", u"\u00B5", u"\u2202", u"\u2211",
    u"\u220F", u"\u03C0", u"\u222B", u"\u00AA", u"\u00BA", u"\u03A9", u"\u0103", u"\u0219",
    u"\u00BF", u"\u00A1", u"\u00AC", u"\u221A", u"\u0192", u"\u2248", u"\u2206", u"\u00AB",
    u"\u00BB", u"\u2026", u"\u00A0", u"\u00C0", u"\u00C3", u"\u00D5", u"\u0152", u"\u0153",
    u"\u2013", u"\u2014", u"\u201C", u"\u201D", u"\u2018", u"\u2019", u"\u00F7", u"\u25CA",
    u"\u00FF", u"\u0178", u"\u2044", u"\u20AC", u"\u2039", u"\u203A", u"\u021A", u"\u021B",
    u"\u2021", u"\u00B7", u"\u201A", u"\u201E", u"\u2030", u"\u00C2", u"\u00CA", u"\u00C1",
    u"\u00CB", u"\u00C8", u"\u00CD", u"\u00CE", u"\u00CF", u"\u00CC", u"\u00D3", u"\u00D4",
    u"\uF8FF", u"\u00D2", u"\u00DA", u"\u00DB", u"\u00D9", u"\u0131", u"\u02C6", u"\u02DC",
    u"\u00AF", u"\u02D8", u"\u02D9", u"\u02DA", u"\u00B8", u"\u02DD", u"\u02DB", u"\u02C7",
};

// Thai (10021), after Perl's MacThai
constexpr MacTable kThai = {
    u"\u00AB", u"\u00BB", u"\u2026", u"\u0E48", u"\u0E49", u"\u0E4A", u"\u0E4B", u"\u0E4C",
    u"\u0E48", u"\u0E49", u"\u0E4A", u"\u0E4B", u"\u0E4C", u"\u201C", u"\u201D", u"\u0E4D",
    u"\uFFFD", u"\u2022", u"\u0E31", u"\u0E47", u"\u0E34", u"\u0E35", u"\u0E36", u"\u0E37",
    u"\u0E48", u"\u0E49", u"\u0E4A", u"\u0E4B", u"\u0E4C", u"\u2018", u"\u2019", u"\uFFFD",
    u"\u00A0", u"\u0E01", u"\u0E02", u"\u0E03", u"\u0E04", u"\u0E05", u"\u0E06", u"\u0E07",
    u"\u0E08", u"\u0E09", u"\u0E0A", u"\u0E0B", u"\u0E0C", u"\u0E0D", u"\u0E0E", u"\u0E0F",
    u"\u0E10", u"\u0E11", u"\u0E12", u"\u0E13", u"\u0E14", u"\u0E15", u"\u0E16", u"\u0E17",
    u"\u0E18", u"\u0E19", u"\u0E1A", u"\u0E1B", u"\u0E1C", u"\u0E1D", u"\u0E1E", u"\u0E1F",
    u"\u0E20", u"\u0E21", u"\u0E22", u"\u0E23", u"\u0E24", u"\u0E25", u"\u0E26", u"\u0E27",
    u"\u0E28", u"\u0E29", u"\u0E2A", u"\u0E2B", u"\u0E2C", u"\u0E2D", u"\u0E2E", u"\u0E2F",
    u"\u0E30", u"\u0E31", u"\u0E32", u"\u0E33", u"\u0E34", u"\u0E35", u"\u0E36", u"\u0E37",
    u"\u0E38", u"\u0E39", u"\u0E3A", u"\u2060", u"\u200B", u"\u2013", u"\u2014", u"\u0E3F",
    u"\u0E40", u"\u0E41", u"\u0E42", u"\u0E43", u"\u0E44", u"\u0E45", u"\u0E46", u"\u0E47",
    u"\u0E48", u"\u0E49", u"\u0E4A", u"\u0E4B", u"\u0E4C", u"\u0E4D", u"\u2122", u"\u0E4F",
    u"\u0E50", u"\u0E51", u"\u0E52", u"\u0E53", u"\u0E54", u"\u0E55", u"\u0E56", u"\u0E57",
    u"\u0E58", u"\u0E59", u"\u00AE", u"\u00A9", u"\uFFFD", u"\uFFFD", u"\uFFFD", u"\uFFFD",
};

// Icelandic (10079), after Python's mac_iceland
constexpr MacTable kIcelandic = {
    u"\u00C4", u"\u00C5", u"\u00C7", u"\u00C9", u"\u00D1", u"\u00D6", u"\u00DC", u"\u00E1",
    u"\u00E0", u"\u00E2", u"\u00E4", u"\u00E3", u"\u00E5", u"\u00E7", u"\u00E9", u"\u00E8",
    u"\u00EA", u"\u00EB", u"\u00ED", u"\u00EC", u"\u00EE", u"\u00EF", u"\u00F1", u"\u00F3",
    u"\u00F2", u"\u00F4", u"\u00F6", u"\u00F5", u"\u00FA", u"\u00F9", u"\u00FB", u"\u00FC",
    u"\u00DD", u"\u00B0", u"\u00A2", u"\u00A3", u"\u00A7", u"\u2022", u"\u00B6", u"\u00DF",
    u"\u00AE", u"\u00A9", u"\u2122", u"\u00B4", u"\u00A8", u"\u2260", u"\u00C6", u"\u00D8",
    u"\u221E", u"\u00B1", u"\u2264", u"\u2265", u"\u00A5", u"\u00B5", u"\u2202", u"\u2211",
    u"\u220F", u"\u03C0", u"\u222B", u"\u00AA", u"\u00BA", u"\u03A9", u"\u00E6", u"\u00F8",
    u"\u00BF", u"\u00A1", u"\u00AC", u"\u221A", u"\u0192", u"\u2248", u"\u2206", u"\u00AB",
    u"\u00BB", u"\u2026", u"\u00A0", u"\u00C0", u"\u00C3", u"\u00D5", u"\u0152", u"\u0153",
    u"\u2013", u"\u2014", u"\u201C", u"\u201D", u"\u2018", u"\u2019", u"\u00F7", u"\u25CA",
    u"\u00FF", u"\u0178", u"\u2044", u"\u20AC", u"\u00D0", u"\u00F0", u"\u00DE", u"\u00FE",
    u"\u00FD", u"\u00B7", u"\u201A", u"\u201E", u"\u2030", u"\u00C2", u"\u00CA", u"\u00C1",
    u"\u00CB", u"\u00C8", u"\u00CD", u"\u00CE", u"\u00CF", u"\u00CC", u"\u00D3", u"\u00D4",
    u"\uF8FF", u"\u00D2", u"\u00DA", u"\u00DB", u"\u00D9", u"\u0131", u"\u02C6", u"\u02DC",
    u"\u00AF", u"\u02D8", u"\u02D9", u"\u02DA", u"\u00B8", u"\u02DD", u"\u02DB", u"\u02C7",
};

// Croatian (10082), after Python's mac_croatian
constexpr MacTable kCroatian = {
    u"\u00C4", u"\u00C5", u"\u00C7", u"\u00C9", u"\u00D1", u"\u00D6", u"\u00DC", u"\u00E1",
    u"\u00E0", u"\u00E2", u"\u00E4", u"\u00E3", u"\u00E5", u"\u00E7", u"\u00E9", u"\u00E8",
    u"\u00EA", u"\u00EB", u"\u00ED", u"\u00EC", u"\u00EE", u"\u00EF", u"\u00F1", u"\u00F3",
    u"\u00F2", u"\u00F4", u"\u00F6", u"\u00F5", u"\u00FA", u"\u00F9", u"\u00FB", u"\u00FC",
    u"\u2020", u"\u00B0", u"\u00A2", u"\u00A3", u"\u00A7", u"\u2022", u"\u00B6", u"\u00DF",
    u"\u00AE", u"\u0160", u"\u2122", u"\u00B4", u"\u00A8", u"\u2260", u"\u017D", u"\u00D8",
    u"\u221E", u"\u00B1", u"\u2264", u"\u2265", u"\u2206", u"\u00B5", u"\u2202", u"\u2211",
    u"\u220F", u"\u0161", u"\u222B", u"\u00AA", u"\u00BA", u"\u03A9", u"\u017E", u"\u00F8",
    u"\u00BF", u"\u00A1", u"\u00AC", u"\u221A", u"\u0192", u"\u2248", u"\u0106", u"\u00AB",
    u"\u010C", u"\u2026", u"\u00A0", u"\u00C0", u"\u00C3", u"\u00D5", u"\u0152", u"\u0153",
    u"\u0110", u"\u2014", u"\u201C", u"\u201D", u"\u2018", u"\u2019", u"\u00F7", u"\u25CA",
    u"\uF8FF", u"\u00A9", u"\u2044", u"\u20AC", u"\u2039", u"\u203A", u"\u00C6", u"\u00BB",
    u"\u2013", u"\u00B7", u"\u201A", u"\u201E", u"\u2030", u"\u00C2", u"\u0107", u"\u00C1",
    u"\u010D", u"\u00C8", u"\u00CD", u"\u00CE", u"\u00CF", u"\u00CC", u"\u00D3", u"\u00D4",
    u"\u0111", u"\u00D2", u"\u00DA", u"\u00DB", u"\u00D9", u"\u0131", u"\u02C6", u"\u02DC",
    u"\u00AF", u"\u03C0", u"\u00CB", u"\u02DA", u"\u00B8", u"\u00CA", u"\u00E6", u"\u02C7",
};

} // namespace

const MacTable *MacTableOf(int codePage)
{
    switch (codePage) {
    case 10004:
        return &kArabic;
    case 10005:
        return &kHebrew;
    case 10010:
        return &kRomanian;
    case 10021:
        return &kThai;
    case 10079:
        return &kIcelandic;
    case 10082:
        return &kCroatian;
    default:
        return nullptr;
    }
}

QString DecodeMacTable(const MacTable &table, QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text += QChar(byte);
        } else {
            const std::u16string_view characters = table[byte - 0x80];
            text.append(reinterpret_cast<const QChar *>(characters.data()),
                        static_cast<qsizetype>(characters.size()));
        }
    }
    return text;
}

} // namespace kestrix
