// The registry editor's files, read and written, against what Wine's reg export writes.
#include <gtest/gtest.h>

#include "LinkDoubles.h"
#include "model/RegFile.h"
#include "platform/Unicode.h"

namespace {

using Bytes = std::vector<unsigned char>;

std::string Utf16File(std::u16string_view text)
{
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

RegFileEntry Value(std::u16string name, std::uint32_t type, Bytes data)
{
    return {{std::move(name), type, std::move(data)}, false};
}

// A string's stored bytes: UTF-16LE with its NUL.
Bytes Sz(std::u16string_view text)
{
    Bytes data;
    for (const char16_t unit : text)
        data.insert(data.end(), {static_cast<unsigned char>(unit & 0xFF), static_cast<unsigned char>(unit >> 8)});
    data.insert(data.end(), {0, 0});
    return data;
}

RegFileReading Read(std::string_view bytes) { return ReadRegFile(bytes, kLinkKeyPath, Big5ToWide); }

// Written by `wine reg export HKCU\EUDC\950` (Wine 8.0) after reg add and reg import.
constexpr char16_t kExported[] =
    u"Windows Registry Editor Version 5.00\r\n"
    u"\r\n"
    u"[HKEY_CURRENT_USER\\EUDC\\950]\r\n"
    u"@=\"unnamed\"\r\n"
    u"\"dw\"=dword:12345678\r\n"
    u"\"empty\"=hex:\r\n"
    u"\"exp\"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,74,00,\\\r\n"
    u"  25,00,5c,00,9f,52,00,00\r\n"
    u"\"multi\"=hex(7):61,00,00,00,9f,52,00,00,00,00\r\n"
    u"\"nl\"=\"a\\nb\\r\"\r\n"
    u"\"none\"=hex(0):61,00,00,00\r\n"
    u"\"q\\\"uote\\\\\"=\"c:\\\\x\\\\\\\"y\\\"\"\r\n"
    u"\"qw\"=hex(b):88,77,66,55,44,33,22,11\r\n"
    u"\"\u8a31\u529f\"=\"C:\\\\EUDC\\\\\u529f.tte\"\r\n"
    u"\r\n";

}  // namespace

// For gtest's messages: name as UTF-8, type, data in hex.
static void PrintTo(const RegFileEntry& entry, std::ostream* out)
{
    *out << '"' << ToUtf8(entry.value.name) << '"';
    if (entry.deleted) {
        *out << " deleted";
        return;
    }
    *out << ' ' << entry.value.type << ':';
    for (const unsigned char byte : entry.value.data)
        *out << ' ' << std::hex << int(byte) << std::dec;
}

// What reg.exe stored (as RegEnumValueW gave it) comes back from its export, and the
// writer gives the export's very bytes for the same values in the same order.
TEST(RegFile, ReadsAndWritesWhatRegExportWrites)
{
    const std::vector<RegFileEntry> stored{
        Value(u"", registry::kString, Sz(u"unnamed")),
        Value(u"dw", registry::kDword, {0x78, 0x56, 0x34, 0x12}),
        Value(u"empty", registry::kBinary, {}),
        Value(u"exp", registry::kExpandString, Sz(u"%SystemRoot%\\\u529f")),
        Value(u"multi", registry::kMultiString, {0x61, 0, 0, 0, 0x9f, 0x52, 0, 0, 0, 0}),
        Value(u"nl", registry::kString, Sz(u"a\nb\r")),
        Value(u"none", registry::kNone, Sz(u"a")),
        Value(u"q\"uote\\", registry::kString, Sz(u"c:\\x\\\"y\"")),
        Value(u"qw", registry::kQword, {0x88, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11}),
        Value(u"\u8a31\u529f", registry::kString, Sz(u"C:\\EUDC\\\u529f.tte")),
    };
    const std::string file = Utf16File(kExported);

    const RegFileReading reading = Read(file);
    ASSERT_TRUE(reading.ok) << reading.errorLine << ": " << reading.error;
    EXPECT_EQ(reading.entries, stored);

    std::vector<StoredValue> values;
    for (const RegFileEntry& entry : stored)
        values.push_back(entry.value);
    EXPECT_EQ(WriteRegFile(kLinkKeyPath, values), file);
}

// Values that the text form cannot carry go out as hex and come back byte for byte, in
// the given order, duplicates and all.
TEST(RegFile, EveryValueSurvivesWritingAndReading)
{
    Bytes longData(300);
    for (std::size_t i = 0; i < longData.size(); ++i)
        longData[i] = static_cast<unsigned char>(i * 7);
    const std::vector<StoredValue> values{
        {u"z", registry::kString, {'a', 0, 0, 0, 'b', 0, 0, 0}},  // a NUL inside
        {u"Z", registry::kString, {'a', 0, 'b', 0}},              // no NUL
        {u"odd", registry::kString, {'a', 0, 'b'}},
        {u"", registry::kString, {}},
        {u"\"@\\=;[x]\r\n\t", registry::kDword, {1, 2, 3}},
        {u"@", registry::kDword, {1, 2, 3, 4, 5, 6, 7, 8}},
        {u"\u529f\\\u8a31", registry::kBinary, longData},
        {u"\xD800", 0xFFFFFFFF, {0}},
        {u"z", registry::kExpandString, {0x41}},
    };
    const std::string file = WriteRegFile(kLinkKeyPath, values);

    const RegFileReading reading = Read(file);
    ASSERT_TRUE(reading.ok) << reading.errorLine << ": " << reading.error;
    ASSERT_EQ(reading.entries.size(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(reading.entries[i], (RegFileEntry{values[i], false})) << i;
}

// A REGEDIT4 file is Big5 text: the second byte 0x5C of 功 and 許 is no escape, and the
// string types' hex bytes become UTF-16 as regedit stores them (Wine's reg import agrees).
// Also what people write by hand: LF or CR alone, comments, spaces, continuations, deletions.
TEST(RegFile, ReadsRegedit4InTheCodePage)
{
    const std::string file =
        "REGEDIT4\n\n; links\n[hkey_current_user\\eudc\\950]\n"
        "\"\xA5\x5C\"=\"C:\\\\EUDC\\\\\xB3\x5C.TTE\"\n"
        "\"a\"=hex(2):a5,5c,00\r\n"
        "  \"b\" = hex(7):a5,5c,00,\\\n\n  ; between\n\t41,00,00 ; after\n"
        "\"c\"=hex:a5,5c\r"
        "[HKEY_CURRENT_USER\\EUDC\\950]\n"
        "@=dword:A\n"
        "\"\xA5\x5C\"=-\n";

    const RegFileReading reading = Read(file);
    ASSERT_TRUE(reading.ok) << reading.errorLine << ": " << reading.error;
    EXPECT_EQ(reading.entries, (std::vector<RegFileEntry>{
                                   Value(u"\u529f", registry::kString, Sz(u"C:\\EUDC\\\u8a31.TTE")),
                                   Value(u"a", registry::kExpandString, Sz(u"\u529f")),
                                   Value(u"b", registry::kMultiString, {0x9f, 0x52, 0, 0, 0x41, 0, 0, 0, 0, 0}),
                                   Value(u"c", registry::kBinary, {0xa5, 0x5c}),
                                   Value(u"", registry::kDword, {10, 0, 0, 0}),
                                   {{u"\u529f", registry::kNone, {}}, true},
                               }));
}

// Each way a file is refused, with the line that says why; nothing of it is applied.
TEST(RegFile, RefusesFilesItCannotReadWhole)
{
    const std::u16string v5 = u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\EUDC\\950]\r\n"
                              u"\"ok\"=\"1\"\r\n";
    const struct {
        std::string file;
        std::size_t line;
        std::string error;
    } cases[] = {
        {Utf16File(v5 + u"[HKEY_LOCAL_MACHINE\\Software]\r\n"), 5, "names another key: HKEY_LOCAL_MACHINE\\Software"},
        {Utf16File(v5 + u"[ HKEY_CURRENT_USER\\EUDC\\950 ]\r\n"), 5, "names another key:  HKEY_CURRENT_USER\\EUDC\\950 "},
        {Utf16File(v5 + u"[-HKEY_CURRENT_USER\\EUDC\\950]\r\n"), 5, "deletes a key: HKEY_CURRENT_USER\\EUDC\\950"},
        {"REGEDIT4\r\n\"a\"=\"1\"\r\n[HKEY_CURRENT_USER\\EUDC\\950]\r\n", 2, "a value before any key"},
        {Utf16File(v5 + u"\"a\"=\"1\" 2\r\n"), 5, "a line that is not a value"},
        {Utf16File(v5 + u"\"a\"=dword:123456789\r\n"), 5, "a dword that is not 1 to 8 hex digits"},
        {Utf16File(v5 + u"\"a\\0\"=\"1\"\r\n"), 5, "an unknown escape \\0"},
        {Utf16File(v5 + u"\"a\"=\"1\"\r\n\"b\"=\"2"), 6, "ends in the middle of a line"},
        {Utf16File(v5 + u"\"a\"=\"1\r\n\"b\"=\"2\"\r\n"), 5, "a quoted string that is not closed"},
        {Utf16File(v5 + u"\"a\"=\"1\r\n"), 5, "ends inside a quoted string"},
        {Utf16File(v5 + u"\"a\"=hex:01,\\\r\n\r\n"), 5, "ends after a continuation"},
        {Utf16File(v5) + "\n", 0, "UTF-16 text with an odd number of bytes"},
        {Utf16File(u"Windows Registry Editor Version 5.00\r\n\r\n"), 0,
         "no section for the key HKEY_CURRENT_USER\\EUDC\\950"},
        {"Windows Registry Editor Version 5.00\r\n\r\n", 0, "not a registry editor file"},
        {Utf16File(u"REGEDIT4\r\n"), 0, "not a registry editor file"},
    };
    for (const auto& refused : cases) {
        const RegFileReading reading = Read(refused.file);
        EXPECT_FALSE(reading.ok) << refused.error;
        EXPECT_EQ(reading.errorLine, refused.line) << refused.error;
        EXPECT_EQ(reading.error, refused.error);
        EXPECT_TRUE(reading.entries.empty()) << refused.error;
    }
}
