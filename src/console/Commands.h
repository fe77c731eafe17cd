// The commands of eudclink, each given its arguments once they have been checked.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "console/Eudclink.h"
#include "model/RegFile.h"

// The largest registry editor file that import and unpack read: far more than a key of
// links needs (10,000 values take about 1 MB).
inline constexpr std::size_t kLargestRegFile = 64u << 20;

// How list and check write their rows.
enum class RowFormat { Table, Tsv, Json };

// Writes "eudclink: TEXT" and a line end to standard error.
void Complain(const Eudclink& with, const std::string& text);
// Says that the key could not be read, and the registry's error number.
void ComplainUnreadable(const Eudclink& with, long result);
// The values of the key, none when it is missing; false, said, when it cannot be read.
bool ReadKey(const Eudclink& with, std::vector<StoredValue>& values);
// Makes the change as the window makes it, on the command's key; a failure is said.
bool Change(const Eudclink& with, const KeyChange& change, IfKeyMissing ifMissing);

int ListLinks(const Eudclink& with, RowFormat format, bool problemsOnly);
// An empty font links the system-wide default.
int LinkFont(const Eudclink& with, const CString& font, bool anyFont, const CString& file);
int UnlinkFont(const Eudclink& with, const CString& name);
int ExportLinks(const Eudclink& with, const CString& file);
int ImportLinks(const Eudclink& with, const CString& file, bool replace);
int ListCharacters(const Eudclink& with, const CString& file, bool tsv);
int ChartCharacters(const Eudclink& with, const CString& file, const CString& png);
// What import does once the file is read: the key changed all or nothing, each change
// reported.
int ImportEntries(const Eudclink& with, const std::vector<RegFileEntry>& entries, bool replace);

int PackLinks(const Eudclink& with, const CString& folder, bool strict);
struct UnpackOptions {
    CString to;  // the folder for every file; empty: each file's original folder
    bool replace = false;
    bool overwrite = false;
};
int UnpackLinks(const Eudclink& with, const CString& folder, const UnpackOptions& options);
