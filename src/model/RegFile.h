// The registry editor's file format (.reg), as the console companion exports the link key
// and imports it again: read whole or refused, never half applied.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Registry.h"

// The key that files of the links name, as the registry editor writes it.
inline constexpr char16_t kLinkKeyPath[] = u"HKEY_CURRENT_USER\\EUDC\\950";

// One value line of a file: a value to write, or, deleted, a name to delete ("name"=-).
struct RegFileEntry {
    StoredValue value;  // a deletion has the name only
    bool deleted = false;
    bool operator==(const RegFileEntry&) const = default;
};

// What reading a file gives: its entries, or the first reason to refuse it.
struct RegFileReading {
    bool ok = false;
    std::size_t errorLine = 0;          // 1-based line of the first problem; 0: the file as a whole
    std::string error;                  // what is wrong, English, for a message
    std::vector<RegFileEntry> entries;  // in the file's order; empty unless ok
};

// Reads a version 5 file (UTF-16LE) or a REGEDIT4 file (text of the ANSI code page, which
// `toWide` converts) whose sections all name `key`. Anything the file cannot say exactly
// (another key, a key deletion, a bad or truncated line) refuses it whole.
RegFileReading ReadRegFile(std::string_view bytes, std::u16string_view key, WideningRule toWide);

// A version 5 file of `values` under `key`, in the given order, as reg export writes it.
// Names have no NUL (the registry's cannot); every other value reads back exactly.
std::string WriteRegFile(std::u16string_view key, const std::vector<StoredValue>& values);
