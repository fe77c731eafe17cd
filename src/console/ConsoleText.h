// What the console program writes: UTF-8 text from the program's own code page, and the
// rows of a listing as a table for people or as tab-separated values for scripts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/LinkRows.h"
#include "platform/CodePage.h"
#include "platform/Strings.h"

// Text of the code page as UTF-8; a control character shows as U+FFFD, so that no name
// can break a line or a column.
std::string Shown(const CString& text, CodePageRules rules);
std::string Shown(std::u16string_view text);

// Columns name, font, file, chars, state, each padded to its widest entry (a CJK
// character is two columns wide on a terminal).
std::string TableOf(const std::vector<LinkRow>& rows, CodePageRules rules);
// The same columns separated by tabs, after the header "name\tfont\tfile\tchars\tstate".
std::string TsvOf(const std::vector<LinkRow>& rows, CodePageRules rules);
// The same rows as a JSON array of objects with those fields, in plain ASCII (every other
// character a \u escape): "chars" a number, or null where the table leaves it empty.
std::string JsonOf(const std::vector<LinkRow>& rows, CodePageRules rules);
