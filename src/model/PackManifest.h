// The manifest of a packed folder: which files it holds, where each came from, and their
// sizes and SHA-256, as plain UTF-8 text that a person can read. The folder it describes
// may have travelled by mail: reading it trusts nothing, and refuses it whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The manifest's own name in the folder, and the key's file beside it.
inline constexpr char kManifestName[] = "manifest.txt";
inline constexpr char kPackedKeyName[] = "links.reg";

struct PackEntry {
    // The key's registry editor file, a linked font, the EUDC editor's file beside one, or
    // a link whose file was missing or no font (named, not packed).
    enum class Kind { Links, Font, Editor, LinkOnly };
    Kind kind = Kind::Font;
    std::uint64_t size = 0;
    std::string sha256;         // 64 lower-case hexadecimal digits
    std::u16string stored;      // the file's name in the folder; none for a link only
    std::u16string original;    // its full path where it was packed; none for the key's file

    bool operator==(const PackEntry&) const = default;
};

struct PackManifest {
    std::u16string key;  // "HKEY_CURRENT_USER\EUDC\950"
    std::vector<PackEntry> entries;

    bool operator==(const PackManifest&) const = default;
};

// The text of the manifest; it ends with a line that counts the entries, so that a
// manifest cut short is known.
std::string WriteManifest(const PackManifest& manifest);

struct ManifestReading {
    bool ok = false;
    std::size_t errorLine = 0;  // 1-based; 0: the manifest as a whole
    std::string error;          // what is wrong, English, for a message
    PackManifest manifest;
};
// Refuses anything that WriteManifest would not have written: a line it cannot read, a
// missing end line or one with another count, no key file or two, a stored name that is
// not a plain file name of the folder or is there twice, a path that is not full or not as
// the system resolves it.
ManifestReading ReadManifest(std::string_view text);


// Whether the manifest holds the path as an original one: full, and as the system resolves
// it (the path's own rule, for UTF-8), so that pack and unpack read every path alike.
bool IsManifestPath(std::u16string_view path);
