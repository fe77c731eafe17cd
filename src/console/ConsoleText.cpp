#include "console/ConsoleText.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "platform/Unicode.h"

namespace {

using Columns = std::array<std::string, 5>;

const Columns kHeader{"name", "font", "file", "chars", "state"};

// The header, then a line of columns for each row.
std::vector<Columns> LinesOf(const std::vector<LinkRow>& rows, CodePageRules rules)
{
    std::vector<Columns> lines{kHeader};
    for (const LinkRow& row : rows)
        lines.push_back({Shown(row.name, rules), NameKindText(row.kind),
                         Shown(row.type == registry::kString ? row.text : CString(), rules),
                         row.chars ? std::to_string(*row.chars) : std::string(), LinkStateText(row.state)});
    return lines;
}

// Wide (two-column) characters of East Asian scripts, by block.
bool IsWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

// The columns UTF-8 text takes on a terminal.
std::size_t WidthOf(std::string_view text)
{
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        width += IsWide(c) ? 2 : 1;
        i += length;
    }
    return width;
}

// A JSON string in plain ASCII, which every decoder reads alike whatever code page it
// assumes: each UTF-16 unit outside printable ASCII as \uXXXX (a pair of them for a
// character beyond U+FFFF), controls among them.
std::string JsonString(std::string_view utf8)
{
    std::string json = "\"";
    for (const char16_t c : FromUtf8(utf8).value_or(u"\uFFFD")) {  // Shown() gave UTF-8
        if (c == u'"' || c == u'\\') {
            json += '\\';
            json += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            json += static_cast<char>(c);
        } else {
            char escape[7];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            json += escape;
        }
    }
    return json + "\"";
}

}  // namespace

std::string Shown(std::u16string_view text)
{
    std::u16string visible(text);
    std::replace_if(visible.begin(), visible.end(), [](char16_t c) { return c < 0x20 || c == 0x7F; }, u'\uFFFD');
    return ToUtf8(visible);
}

std::string Shown(const CString& text, CodePageRules rules)
{
    return Shown(rules.toWide(text));
}

std::string TableOf(const std::vector<LinkRow>& rows, CodePageRules rules)
{
    const std::vector<Columns> lines = LinesOf(rows, rules);
    std::array<std::size_t, 5> widths{};
    for (const Columns& line : lines) {
        for (std::size_t c = 0; c < widths.size(); ++c)
            widths[c] = std::max(widths[c], WidthOf(line[c]));
    }
    std::string table;
    for (const Columns& line : lines) {
        std::string text;
        for (std::size_t c = 0; c < widths.size(); ++c) {
            text += line[c];
            if (c + 1 < widths.size())
                text.append(widths[c] - WidthOf(line[c]) + 2, ' ');
        }
        text.erase(text.find_last_not_of(' ') + 1);
        table += text + "\n";
    }
    return table;
}

std::string TsvOf(const std::vector<LinkRow>& rows, CodePageRules rules)
{
    std::string tsv;
    for (const Columns& line : LinesOf(rows, rules))
        tsv += line[0] + "\t" + line[1] + "\t" + line[2] + "\t" + line[3] + "\t" + line[4] + "\n";
    return tsv;
}

std::string JsonOf(const std::vector<LinkRow>& rows, CodePageRules rules)
{
    const std::vector<Columns> lines = LinesOf(rows, rules);
    std::string json = "[";
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const Columns& line = lines[i];
        json += i == 1 ? "\n" : ",\n";
        json += "  {";
        for (std::size_t c = 0; c < line.size(); ++c) {
            const bool number = c == 3;
            json += (c ? ", " : "") + JsonString(kHeader[c]) + ": ";
            json += number ? (line[c].empty() ? "null" : line[c]) : JsonString(line[c]);
        }
        json += "}";
    }
    return json + (lines.size() > 1 ? "\n]\n" : "]\n");
}
