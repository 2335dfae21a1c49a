// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConfigFile.h"

#include "ConfigFields.h"
#include "NumericText.h"
#include "Windows1252.h"

#include <QBuffer>
#include <QFileDevice>
#include <QLocale>
#include <QStringDecoder>

#include <cmath>
#include <limits>

namespace kestrix {

namespace {

constexpr char kQuote = '"';
constexpr int kShortMin = std::numeric_limits<std::int16_t>::min();
constexpr int kShortMax = std::numeric_limits<std::int16_t>::max();

QString fieldName(int number, const ConfigField &field)
{
    return QStringLiteral("field %1 (%2)").arg(number).arg(field.description);
}

std::optional<QByteArray> writeText(const QString &text)
{
    if (text.contains(QChar(kQuote)) || text.contains(QChar('\r')) || text.contains(QChar('\n')))
        return std::nullopt;
    const std::optional<QByteArray> bytes = EncodeWindows1252(text);
    if (!bytes)
        return std::nullopt;
    return kQuote + *bytes + kQuote;
}

// A raw field as it stands in the file, before any conversion.
struct RawField
{
    QByteArray bytes;
    int line = 1;
};

// Splits a device into fields: a comma or a line end (CR LF, CR or LF) ends
// a field; a field starting with a double quote runs to the next one.
class FieldReader
{
public:
    explicit FieldReader(QIODevice &device) : m_device(device) {}

    // The next field, or where and why the file cannot give it.
    Result<RawField> next(int number, const ConfigField &field)
    {
        std::optional<RawField> raw = scan(number, field);
        if (!raw)
            return Failure{m_error};
        return *raw;
    }

private:
    std::optional<RawField> scan(int number, const ConfigField &field)
    {
        m_fieldBytes = 0;
        m_number = number;
        m_field = &field;
        char c = 0;
        do {
            if (!get(c))
                return endedBefore();
        } while (c == ' ' || c == '\t');

        RawField raw;
        raw.line = m_line;
        if (c == kQuote) {
            if (!readQuoted(raw.bytes) || !skipToDelimiter())
                return std::nullopt;
            return raw;
        }
        while (!isDelimiter(c)) {
            if (!accept(c))
                return std::nullopt;
            raw.bytes += c;
            if (!get(c)) {
                if (m_failed)
                    return std::nullopt;
                break;
            }
        }
        endLine(c);
        while (raw.bytes.endsWith(' ') || raw.bytes.endsWith('\t'))
            raw.bytes.chop(1);
        return raw;
    }

    static bool isDelimiter(char c) { return c == ',' || c == '\r' || c == '\n'; }

    bool get(char &c)
    {
        // A field may fill kMaxFieldBytes, quotes included; one more byte is
        // its delimiter.
        if (++m_fieldBytes > kMaxFieldBytes + 1)
            return fail(m_line, QStringLiteral("%1 is longer than %2 characters; this is not a "
                                               "configuration file.")
                                    .arg(fieldName(m_number, *m_field))
                                    .arg(kMaxFieldBytes));
        if (!m_device.getChar(&c)) {
            const auto *file = qobject_cast<QFileDevice *>(&m_device);
            if (file && file->error() != QFileDevice::NoError)
                return fail(
                    m_line,
                    QStringLiteral("the file cannot be read: %1.").arg(file->errorString()));
            return false;
        }
        m_anyByte = true;
        m_lineHasBytes = true;
        return true;
    }

    bool fail(int line, const QString &what)
    {
        m_failed = true;
        m_error = QStringLiteral("line %1: %2").arg(line).arg(what);
        return false;
    }

    // Refuses bytes that no text file holds, which also stops binary files early.
    bool accept(char c)
    {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 || c == '\t')
            return true;
        return fail(m_line, QStringLiteral("%1 holds the control character 0x%2; this is not a "
                                           "configuration file.")
                                .arg(fieldName(m_number, *m_field))
                                .arg(byte, 2, 16, QChar('0')));
    }

    std::optional<RawField> endedBefore()
    {
        if (m_failed)
            return std::nullopt;
        if (!m_anyByte) {
            m_error = QStringLiteral("line 1: the file is empty.");
            return std::nullopt;
        }
        const int lastLine = m_lineHasBytes ? m_line : std::max(1, m_line - 1);
        fail(lastLine, QStringLiteral("the file ends before field %1 of %2.")
                           .arg(m_number)
                           .arg(ConfigFields().size()));
        return std::nullopt;
    }

    bool readQuoted(QByteArray &bytes)
    {
        const int startLine = m_line;
        char c = 0;
        while (get(c)) {
            if (c == kQuote)
                return true;
            if (c == '\r' || c == '\n')
                return fail(startLine, QStringLiteral("the text of %1 has no closing quote on "
                                                      "its line.")
                                           .arg(fieldName(m_number, *m_field)));
            if (!accept(c))
                return false;
            bytes += c;
        }
        if (m_failed)
            return false;
        return fail(startLine, QStringLiteral("the file ends inside the text of %1.")
                                   .arg(fieldName(m_number, *m_field)));
    }

    // After a closing quote, whatever stands before the next comma or line
    // end is not part of the field.
    bool skipToDelimiter()
    {
        char c = 0;
        while (get(c)) {
            if (isDelimiter(c)) {
                endLine(c);
                return true;
            }
            if (!accept(c))
                return false;
        }
        return !m_failed;
    }

    void endLine(char c)
    {
        if (c == '\r') {
            char following = 0;
            if (m_device.peek(&following, 1) == 1 && following == '\n')
                m_device.getChar(&following);
        }
        if (c == '\r' || c == '\n') {
            ++m_line;
            m_lineHasBytes = false;
        }
    }

    QIODevice &m_device;
    QString m_error;
    const ConfigField *m_field = nullptr;
    int m_number = 0;
    int m_line = 1;
    int m_fieldBytes = 0;
    bool m_anyByte = false;
    bool m_lineHasBytes = false;
    bool m_failed = false;
};

// A number field's value as its control would take it.
Result<int> numberOf(const RawField &raw, int number, const ConfigField &field)
{
    const QString text = QString::fromLatin1(raw.bytes);
    const auto refuse = [&](const QString &what) {
        return Failure{
            QStringLiteral("line %1: %2: %3").arg(raw.line).arg(fieldName(number, field), what)};
    };
    double value = 0;
    if (field.kind == FieldKind::Band) {
        bool ok = false;
        value = QLocale::c().toDouble(text.trimmed(), &ok);
        if (!ok || !std::isfinite(value))
            return refuse(
                QStringLiteral("\"%1\" is not a number.").arg(DecodeWindows1252(raw.bytes)));
    } else {
        value = ParseLeadingNumber(text);
    }
    value = RoundHalfEven(value);
    if (value < kShortMin || value > kShortMax)
        return refuse(QStringLiteral("%1 is outside the whole-number range %2 to %3.")
                          .arg(QString::fromLatin1(raw.bytes).trimmed())
                          .arg(kShortMin)
                          .arg(kShortMax));
    const int n = static_cast<int>(value);
    if (field.kind == FieldKind::Check && (n < 0 || n > 2))
        return refuse(QStringLiteral("%1 is not a check state (0 off, 1 on, 2 grayed).").arg(n));
    if (field.kind != FieldKind::Check && (n < kNoChoice || n > field.lastPosition))
        return refuse(QStringLiteral("%1 is not a position of the list (-1 for none, 0 to %2).")
                          .arg(n)
                          .arg(field.lastPosition));
    return n;
}

// A text field as its control holds it: Windows-1252 characters only.
Result<QString> textOf(const RawField &raw, bool utf8, int number, const ConfigField &field)
{
    if (!utf8)
        return DecodeWindows1252(raw.bytes);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(raw.bytes);
    if (!decoder.hasError() && EncodeWindows1252(text))
        return text;
    return Failure{QStringLiteral("line %1: %2 holds %3, which the device cannot show.")
                       .arg(raw.line)
                       .arg(fieldName(number, field),
                            decoder.hasError()
                                ? QStringLiteral("bytes that are not UTF-8")
                                : QStringLiteral("a character outside Windows-1252"))};
}

} // namespace

Result<QByteArray> WriteConfigFile(const DeviceSettings &settings)
{
    DeviceSettings source = settings;
    QByteArray out;
    int line = 1;
    for (const ConfigField &field : ConfigFields()) {
        if (field.line != line) {
            out += "\r\n";
            line = field.line;
        } else if (!out.isEmpty()) {
            out += ',';
        }
        if (field.kind == FieldKind::Text) {
            const std::optional<QByteArray> text = writeText(field.text(source));
            if (!text)
                return Failure{QStringLiteral("%1 holds a double quote, a line break or a "
                                              "character outside Windows-1252, which a "
                                              "configuration file cannot keep.")
                                   .arg(field.description)};
            // The reader's limit counts the quotes: a longer text would save
            // without complaint and then not load.
            if (text->size() > kMaxFieldBytes)
                return Failure{QStringLiteral("%1 is longer than %2 characters, which a "
                                              "configuration file cannot keep.")
                                   .arg(field.description)
                                   .arg(kMaxFieldBytes - 2)};
            out += *text;
        } else {
            out += QByteArray::number(field.number(source));
        }
    }
    out += "\r\n";
    return out;
}

Result<DeviceSettings> ReadConfigFile(QIODevice &device)
{
    // Editors on Windows often mark UTF-8 text so; without the mark the file
    // is Windows-1252, as this program writes it.
    const QByteArray bom = QByteArrayLiteral("\xEF\xBB\xBF");
    const bool utf8 = device.peek(3) == bom;
    if (utf8)
        device.skip(3);
    if (utf8 && device.peek(3) == bom)
        return Failure{QStringLiteral("line 1: the file starts with two UTF-8 byte-order "
                                      "marks; one is allowed. Remove the second, or save "
                                      "the file again as Windows-1252 or UTF-8.")};
    // Every file of ours starts with a quote or a digit; in UTF-16 one of
    // the first two bytes is then zero, with or without its mark.
    const QByteArray start = device.peek(2);
    if (start == "\xFF\xFE" || start == "\xFE\xFF" ||
        (start.size() == 2 && (start[0] == '\0' || start[1] == '\0')))
        return Failure{QStringLiteral("line 1: the file is UTF-16 text, which this "
                                      "program cannot read. Save it as Windows-1252 or "
                                      "UTF-8.")};
    DeviceSettings settings;
    FieldReader reader(device);
    int number = 0;
    for (const ConfigField &field : ConfigFields()) {
        ++number;
        const Result<RawField> raw = reader.next(number, field);
        if (!raw)
            return Failure{raw.error()};
        if (field.kind == FieldKind::Text) {
            const Result<QString> text = textOf(*raw, utf8, number, field);
            if (!text)
                return Failure{text.error()};
            field.text(settings) = *text;
            continue;
        }
        const Result<int> value = numberOf(*raw, number, field);
        if (!value)
            return Failure{value.error()};
        field.number(settings) = *value;
    }
    return settings;
}

Result<DeviceSettings> ReadConfigFile(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadConfigFile(buffer);
}

} // namespace kestrix
