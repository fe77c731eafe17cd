// Every value of the link key with what its name is and whether its link works: the rows
// that the console program lists and checks.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "model/LinkKey.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/Strings.h"

enum class NameKind { Default, Installed, NotInstalled };
enum class LinkState { Linked, Unlinked, MissingFile, NotAFont, BadValue };

// As the listing names them: "default", "installed", "not-installed".
const char* NameKindText(NameKind kind);
// "linked", "unlinked", "missing-file", "not-a-font", "bad-value".
const char* LinkStateText(LinkState state);
// Whether the link is there and cannot work.
bool IsProblem(LinkState state);

struct LinkRow {
    CString name;
    NameKind kind = NameKind::Installed;
    CString file;                      // the value's text; empty without a link or a string
    std::optional<std::size_t> chars;  // the EUDC characters of a linked font
    LinkState state = LinkState::Unlinked;
};

// No font file is read whole beyond this size; EUDC files are a few megabytes at most.
inline constexpr std::size_t kLargestFontFile = 256u << 20;

struct FontFileCheck {
    LinkState state = LinkState::MissingFile;  // linked when the file is a readable font
    std::optional<std::size_t> chars;
};
FontFileCheck CheckFontFile(Files& files, const CString& path);

// The file a value's text names: the text itself when it is a full path, the font folder's
// file of that name when it names no folder; empty when it is no path.
CString LinkedFile(const CString& text, Files& files, LeadByteTest isLeadByte);

// The rows of the window in its order (the font list: the default, then the candidate
// fonts), then every other value of the key in the key's order.
std::vector<LinkRow> ReportLinks(const CStringArray& fontList, const std::vector<LinkValue>& values, Files& files,
                                 CodePageRules rules);
