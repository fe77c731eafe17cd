// What the program reads from the path of an EUDC file, and which file a path names, the
// way Windows resolves it: one rule for the rows, check, link, pack, the packed folder's
// manifest and unpack.
#pragma once

#include <string_view>

#include "platform/CodePage.h"
#include "platform/Strings.h"

// UTF-8 needs no lead-byte rule: no byte of a character of two or more bytes is ASCII, so
// walking it byte by byte never takes part of a character for a separator.
inline bool NoLeadBytes(unsigned char)
{
    return false;
}

// The part after the last separator ('\' or '/'), or the whole path when it has none. The
// second byte of a double-byte character is never taken for a backslash, even where it is
// 0x5C.
CString LinkFileName(std::string_view path, LeadByteTest isLeadByte);

// Whether the path ends in ".TTF" or ".TTE", the letters in either case.
bool HasEudcExtension(const CString& path);

// Whether the name is one plain file's or folder's in a folder: not empty, not "." or
// "..", none of the characters Windows forbids in a name, no stream after a colon, no
// device's name (CON, PRN, AUX, NUL, COM0 to COM9, LPT0 to LPT9, with any extension,
// which Windows opens as the device), and no space or dot at the end, which Windows drops.
bool IsPlainName(std::string_view name, LeadByteTest isLeadByte);

// Where a path leads.
enum class PathPlace {
    Nowhere,  // no plain file: not a full path, a device, a stream, a name Windows forbids
    Local,    // a file on one of this machine's drives: "C:\..."
    Share,    // a file on another machine: "\\server\share\...". Reaching for it hands the
              // user's credentials to that server.
};

struct ResolvedPath {
    PathPlace place = PathPlace::Nowhere;
    CString path;  // full, with backslashes only; empty when it leads nowhere

    bool operator==(const ResolvedPath&) const = default;
};

// The file a full path names, as Windows resolves it: '/' is a separator as '\' is, a run
// of separators is one, "." is the folder itself and ".." the one above it (never above
// the drive or the share). The device namespaces ("\\?\", "\\.\"), a path relative to a
// drive or folder, a folder (a separator at the end) and any part that is no plain name
// lead nowhere. Resolving the path it gives gives it again.
ResolvedPath ResolveFullPath(std::string_view path, LeadByteTest isLeadByte);

// The file a link's text names: a full path as above, or a plain file name alone, which
// the system looks for in its fonts folder (full, as the files port gives it).
ResolvedPath LinkedFile(std::string_view text, const CString& fontsFolder, LeadByteTest isLeadByte);
