// The commands of eudclink, each given its arguments once they have been checked.
#pragma once

#include <string>
#include <vector>

#include "console/Eudclink.h"

// Writes "eudclink: TEXT" and a line end to standard error.
void Complain(const Eudclink& with, const std::string& text);
// Says that the key could not be read, and the registry's error number.
void ComplainUnreadable(const Eudclink& with, long result);
// The values of the key, none when it is missing; false, said, when it cannot be read.
bool ReadKey(const Eudclink& with, std::vector<StoredValue>& values);

int ListLinks(const Eudclink& with, bool tsv, bool problemsOnly);
// An empty font links the system-wide default.
int LinkFont(const Eudclink& with, const CString& font, bool anyFont, const CString& file);
int UnlinkFont(const Eudclink& with, const CString& name);
int ExportLinks(const Eudclink& with, const CString& file);
int ImportLinks(const Eudclink& with, const CString& file, bool replace);
int ListCharacters(const Eudclink& with, const CString& file, bool tsv);
int ChartCharacters(const Eudclink& with, const CString& file, const CString& png);
