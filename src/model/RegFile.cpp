#include "model/RegFile.h"

#include <cstdint>

#include "platform/Unicode.h"

namespace {

constexpr std::u16string_view kVersion5Header = u"Windows Registry Editor Version 5.00";
constexpr std::u16string_view kVersion4Header = u"REGEDIT4";
constexpr std::u16string_view kLineBreak = u"\r\n";
// reg export breaks a hex line once it reaches this many characters.
constexpr std::size_t kHexLineLength = 77;

struct Line {
    std::u16string_view text;  // without its line break
    bool hasBreak = true;
};

// reg import ends a line at CRLF, LF or a lone CR.
std::vector<Line> SplitLines(std::u16string_view text)
{
    std::vector<Line> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\n' && text[i] != u'\r')
            continue;
        lines.push_back({text.substr(start, i - start), true});
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back({text.substr(start), false});
    return lines;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

int HexDigitValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; }

// Key names compare as the registry compares them, at least for the ASCII letters.
bool IsSameKey(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

void AppendUtf16Le(std::vector<unsigned char>& out, std::u16string_view text)
{
    for (const char16_t unit : text) {
        out.push_back(static_cast<unsigned char>(unit & 0xFF));
        out.push_back(static_cast<unsigned char>(unit >> 8));
    }
}

// What is left of one line, read from the front.
class Cursor {
public:
    explicit Cursor(std::u16string_view text) : m_rest(text) {}

    void SkipBlanks()
    {
        while (!m_rest.empty() && IsBlank(m_rest.front()))
            m_rest.remove_prefix(1);
    }
    bool Take(std::u16string_view prefix)
    {
        if (!m_rest.starts_with(prefix))
            return false;
        m_rest.remove_prefix(prefix.size());
        return true;
    }
    // Only blanks and perhaps a comment left, as reg import allows after the data.
    bool AtEnd()
    {
        SkipBlanks();
        return m_rest.empty() || m_rest.front() == u';';
    }
    bool Empty() const { return m_rest.empty(); }
    char16_t Peek() const { return m_rest.front(); }
    void Skip() { m_rest.remove_prefix(1); }

    // Up to `maxDigits` hex digits as a number; none when there are none or more than that.
    bool TakeHex(std::size_t maxDigits, std::uint32_t& number)
    {
        std::size_t digits = 0;
        number = 0;
        while (digits < m_rest.size() && HexDigitValue(m_rest[digits]) >= 0) {
            number = (number << 4) | static_cast<std::uint32_t>(HexDigitValue(m_rest[digits]));
            if (++digits > maxDigits)
                return false;
        }
        m_rest.remove_prefix(digits);
        return digits > 0;
    }

private:
    std::u16string_view m_rest;
};

class Reader {
public:
    Reader(std::u16string_view text, std::u16string_view key, WideningRule toWide, bool ansi)
        : m_lines(SplitLines(text)), m_key(key), m_toWide(toWide), m_ansi(ansi)
    {
    }

    RegFileReading Read()
    {
        if (!m_lines.back().hasBreak)
            return Refusal(m_lines.size(), "ends in the middle of a line");
        // Line 1 is the header, already recognized.
        for (m_index = 1; m_index < m_lines.size(); ++m_index) {
            if (!ReadLine(m_lines[m_index].text))
                return Refusal(m_result.errorLine, std::move(m_result.error));
        }
        if (!m_sawSection)
            return Refusal(0, "no section for the key " + ToUtf8(m_key));
        m_result.ok = true;
        return std::move(m_result);
    }

private:
    bool Fail(std::string error)
    {
        m_result.errorLine = m_index + 1;
        m_result.error = std::move(error);
        return false;
    }
    RegFileReading Refusal(std::size_t line, std::string error)
    {
        RegFileReading refusal;
        refusal.errorLine = line;
        refusal.error = std::move(error);
        return refusal;
    }

    bool ReadLine(std::u16string_view text)
    {
        if (text.find(u'\0') != text.npos)
            return Fail("a NUL character in the text");
        Cursor line(text);
        line.SkipBlanks();
        if (line.Empty() || line.Peek() == u';')
            return true;
        if (line.Peek() == u'[')
            return ReadSection(text);
        if (!m_sawSection)
            return Fail("a value before any key");
        return ReadValue(line);
    }

    bool ReadSection(std::u16string_view text)
    {
        const std::size_t open = text.find(u'[');
        const std::size_t close = text.find(u']', open);
        if (close == text.npos)
            return Fail("a key without its closing bracket");
        const std::u16string_view name = text.substr(open + 1, close - open - 1);
        if (name.starts_with(u'-'))
            return Fail("deletes a key: " + ToUtf8(name.substr(1)));
        if (!IsSameKey(name, m_key))
            return Fail("names another key: " + ToUtf8(name));
        if (!Cursor(text.substr(close + 1)).AtEnd())
            return Fail("a line that is not a value");
        m_sawSection = true;
        return true;
    }

    bool ReadValue(Cursor& line)
    {
        RegFileEntry entry;
        if (line.Take(u"@")) {
            // the unnamed value
        } else if (line.Take(u"\"")) {
            if (!ReadQuoted(line, entry.value.name))
                return false;
        } else {
            return Fail("a line that is not a value");
        }
        line.SkipBlanks();
        if (!line.Take(u"="))
            return Fail("a line that is not a value");
        line.SkipBlanks();
        if (!ReadData(line, entry))
            return false;
        if (!line.AtEnd())
            return Fail("a line that is not a value");
        m_result.entries.push_back(std::move(entry));
        return true;
    }

    bool ReadData(Cursor& line, RegFileEntry& entry)
    {
        StoredValue& value = entry.value;
        if (line.Take(u"-")) {
            entry.deleted = true;
            return true;
        }
        if (line.Take(u"\"")) {
            std::u16string text;
            if (!ReadQuoted(line, text))
                return false;
            value.type = registry::kString;
            AppendUtf16Le(value.data, text);
            AppendUtf16Le(value.data, std::u16string_view(u"\0", 1));
            return true;
        }
        if (line.Take(u"dword:")) {
            line.SkipBlanks();
            std::uint32_t number = 0;
            if (!line.TakeHex(8, number))
                return Fail("a dword that is not 1 to 8 hex digits");
            value.type = registry::kDword;
            for (int shift = 0; shift < 32; shift += 8)
                value.data.push_back(static_cast<unsigned char>(number >> shift));
            return true;
        }
        if (line.Take(u"hex:")) {
            value.type = registry::kBinary;
            return ReadBytes(line, value.data);
        }
        if (line.Take(u"hex(")) {
            if (!line.TakeHex(8, value.type) || !line.Take(u"):"))
                return Fail("a value type that is not 1 to 8 hex digits");
            if (!ReadBytes(line, value.data))
                return false;
            if (m_ansi && (value.type == registry::kString || value.type == registry::kExpandString ||
                           value.type == registry::kMultiString))
                value.data = Widened(value.data);
            return true;
        }
        return Fail("a line that is not a value");
    }

    // After the opening quote: the text up to the closing one, with reg's escapes.
    bool ReadQuoted(Cursor& line, std::u16string& text)
    {
        while (!line.Empty()) {
            const char16_t c = line.Peek();
            line.Skip();
            if (c == u'"')
                return true;
            if (c != u'\\') {
                text += c;
                continue;
            }
            if (line.Empty())
                break;
            const char16_t escaped = line.Peek();
            line.Skip();
            if (escaped == u'\\' || escaped == u'"')
                text += escaped;
            else if (escaped == u'n')
                text += u'\n';
            else if (escaped == u'r')
                text += u'\r';
            else
                return Fail("an unknown escape \\" + ToUtf8(std::u16string_view(&escaped, 1)));
        }
        return Fail(m_index + 1 == m_lines.size() ? "ends inside a quoted string"
                                                  : "a quoted string that is not closed");
    }

    // Comma-separated bytes, continued over lines by a trailing backslash; reg import
    // skips blank lines and comments between the parts.
    bool ReadBytes(Cursor& line, std::vector<unsigned char>& data)
    {
        for (;;) {
            line.SkipBlanks();
            if (line.Take(u"\\")) {
                line.SkipBlanks();
                if (!line.Empty())
                    return Fail("a line that is not a value");
                if (!NextDataLine())
                    return false;
                line = Cursor(m_lines[m_index].text);
                continue;
            }
            std::uint32_t byte = 0;
            if (line.Empty() || HexDigitValue(line.Peek()) < 0)
                return true;  // nothing yet, or a comma at the end
            if (!line.TakeHex(2, byte))
                return Fail("a byte that is not 1 or 2 hex digits");
            data.push_back(static_cast<unsigned char>(byte));
            if (!line.Take(u","))
                return true;
        }
    }

    bool NextDataLine()
    {
        const std::size_t continued = m_index;
        while (++m_index < m_lines.size()) {
            const std::u16string_view text = m_lines[m_index].text;
            if (text.find(u'\0') != text.npos)
                return Fail("a NUL character in the text");
            Cursor line(text);
            if (!line.AtEnd())
                return true;
        }
        m_index = continued;
        return Fail("ends after a continuation");
    }

    // Bytes of a string type in a REGEDIT4 file are the code page's; stored, they are UTF-16.
    std::vector<unsigned char> Widened(const std::vector<unsigned char>& data) const
    {
        const std::string ansi(data.begin(), data.end());
        std::vector<unsigned char> wide;
        AppendUtf16Le(wide, m_toWide(ansi));
        return wide;
    }

    std::vector<Line> m_lines;
    std::u16string_view m_key;
    WideningRule m_toWide;
    bool m_ansi;
    std::size_t m_index = 0;
    bool m_sawSection = false;
    RegFileReading m_result;
};

bool IsHeader(std::u16string_view text, std::u16string_view header)
{
    const std::size_t lineEnd = text.find_first_of(u"\r\n");
    Cursor line(text.substr(0, lineEnd));
    line.SkipBlanks();
    return line.Take(header) && line.Empty();
}

RegFileReading Refused(std::string error)
{
    RegFileReading reading;
    reading.error = std::move(error);
    return reading;
}

// reg export writes a string as text only when it reads back to the same bytes: one NUL,
// at the end.
bool IsPlainString(const std::vector<unsigned char>& data)
{
    if (data.size() < 2 || data.size() % 2 != 0)
        return false;
    for (std::size_t i = 0; i + 2 < data.size(); i += 2) {
        if (data[i] == 0 && data[i + 1] == 0)
            return false;
    }
    return data[data.size() - 2] == 0 && data.back() == 0;
}

std::u16string Escaped(std::u16string_view text)
{
    std::u16string escaped;
    for (const char16_t c : text) {
        if (c == u'\\' || c == u'"')
            escaped += {u'\\', c};
        else if (c == u'\n')
            escaped += u"\\n";
        else if (c == u'\r')
            escaped += u"\\r";
        else
            escaped += c;
    }
    return escaped;
}

std::u16string Hex(std::uint32_t number, int minDigits)
{
    constexpr char16_t kDigits[] = u"0123456789abcdef";
    std::u16string digits;
    do {
        digits.insert(digits.begin(), kDigits[number & 0xF]);
        number >>= 4;
    } while (number != 0);
    while (digits.size() < static_cast<std::size_t>(minDigits))
        digits.insert(digits.begin(), u'0');
    return digits;
}

std::u16string StringText(const std::vector<unsigned char>& data)
{
    std::u16string text;
    for (std::size_t i = 0; i + 2 < data.size(); i += 2)
        text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    return text;
}

// `line` holds the name and '=' so far; reg export counts them in the first line's length.
void AppendHexData(std::u16string& line, const StoredValue& value)
{
    line += value.type == registry::kBinary ? u"hex:" : u"hex(" + Hex(value.type, 1) + u"):";
    std::size_t length = line.size();
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        line += Hex(value.data[i], 2);
        if (i + 1 == value.data.size())
            break;
        line += u',';
        length += 3;
        if (length >= kHexLineLength) {
            line += u"\\\r\n  ";
            length = 2;
        }
    }
}

std::u16string ValueLine(const StoredValue& value)
{
    std::u16string line = value.name.empty() ? u"@" : u"\"" + Escaped(value.name) + u"\"";
    line += u'=';
    if (value.type == registry::kString && IsPlainString(value.data)) {
        line += u"\"" + Escaped(StringText(value.data)) + u"\"";
    } else if (value.type == registry::kDword && value.data.size() == 4) {
        const std::uint32_t number = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                                     (std::uint32_t(value.data[3]) << 24);
        line += u"dword:" + Hex(number, 8);
    } else {
        AppendHexData(line, value);
    }
    return line + std::u16string(kLineBreak);
}

}  // namespace

RegFileReading ReadRegFile(std::string_view bytes, std::u16string_view key, WideningRule toWide)
{
    if (bytes.starts_with("\xFF\xFE")) {
        if (bytes.size() % 2 != 0)
            return Refused("UTF-16 text with an odd number of bytes");
        std::u16string text;
        text.reserve(bytes.size() / 2);
        for (std::size_t i = 2; i < bytes.size(); i += 2)
            text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          (static_cast<unsigned char>(bytes[i + 1]) << 8));
        if (!IsHeader(text, kVersion5Header))
            return Refused("not a registry editor file");
        return Reader(text, key, toWide, false).Read();
    }
    // The whole file first: a double-byte character's second byte may be a backslash.
    const std::u16string text = toWide(bytes);
    if (!IsHeader(text, kVersion4Header))
        return Refused("not a registry editor file");
    return Reader(text, key, toWide, true).Read();
}

std::string WriteRegFile(std::u16string_view key, const std::vector<StoredValue>& values)
{
    std::u16string text(kVersion5Header);
    text += kLineBreak;
    text += kLineBreak;
    text += u"[" + std::u16string(key) + u"]" + std::u16string(kLineBreak);
    for (const StoredValue& value : values)
        text += ValueLine(value);
    text += kLineBreak;

    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}
