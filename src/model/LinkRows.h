// The rows that both programs show: the system-wide default and each font that can have a
// link, in the font list's order, then every other value of the link key. Each row says
// what its name is, whether the key holds its link, and whether that link can work.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "model/FontList.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/Strings.h"

enum class NameKind { Default, Installed, NotInstalled };
// Unchecked: the link names a file that has not been looked at yet.
enum class LinkState { Unchecked, Linked, Unlinked, MissingFile, NotAFont, BadValue };

// As the listing names them: "default", "installed", "not-installed".
const char* NameKindText(NameKind kind);
// "unchecked", "linked", "unlinked", "missing-file", "not-a-font", "bad-value".
const char* LinkStateText(LinkState state);
// Whether the link is there and cannot work.
bool IsProblem(LinkState state);

struct LinkRow {
    CString name;       // what the row shows: the font's name, or the value's for a value no font has
    CString valueName;  // the name of its value in the key, letters as stored; `name` when there is none
    NameKind kind = NameKind::Installed;
    bool hasLink = false;                   // whether the key holds a value of this name
    std::uint32_t type = registry::kNone;   // that value's type
    CString text;                           // its data as text, up to its first NUL
    CString file;                           // the file the link names, full path; empty when it names none
    LinkState state = LinkState::Unlinked;
    std::optional<std::size_t> chars;       // the EUDC characters of a linked font
};

// Whether the rows go on, after the font list's, with a row for every other value.
enum class OtherValues { Listed, Left };

// The rows of `fontList` (the default, then the candidate fonts), each with the value that
// the registry finds for its name, then, if asked, a row for every other value in the
// key's order. Files are not looked at: a link that names a file is Unchecked.
// `fontsFolder` is where a link that names no folder is looked for.
std::vector<LinkRow> MakeRows(const CStringArray& fontList, const std::vector<StoredValue>& values,
                              const CString& fontsFolder, const CodePageRules& rules,
                              OtherValues others = OtherValues::Listed);

// Whether the file is there and is a font: only its header, table directory and
// character map are read, so that a check costs the same for any file's size.
struct FontFileCheck {
    LinkState state = LinkState::MissingFile;  // linked when the file is a readable font
    std::optional<std::size_t> chars;
};
FontFileCheck CheckFontFile(Files& files, const CString& path);

// Looks at the file of a row whose link names one, and gives the row its state.
void CheckLinkedFile(LinkRow& row, Files& files);


// The rows of the links that cannot work, as the rows of MakeRows from the whole font list
// show them, files looked at, in their order: what MakeRows and CheckLinkedFile give,
// filtered by IsProblem. Every family is enumerated only when a broken link's name is a
// family's that can have a link; otherwise only those names are asked about, one by one.
std::vector<LinkRow> BrokenLinkRows(FontSource& fonts, const CharSets& charSets,
                                    const std::vector<StoredValue>& values, Files& files, const CodePageRules& rules);
