#include "model/EudcPath.h"

#include <algorithm>

CString LinkFileName(const CString& path, LeadByteTest isLeadByte)
{
    CString::size_type nameStart = 0;
    for (CString::size_type i = 0; i < path.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(path[i])))
            ++i;  // the trail byte; past the end when the path ends on a lone lead byte
        else if (path[i] == '\\')
            nameStart = i + 1;
    }
    return path.substr(nameStart);
}

// Only a to z are upper-cased: a byte of a double-byte character may fall among the
// last four, and no locale may change it.
bool HasEudcExtension(const CString& path)
{
    if (path.size() < 4)
        return false;
    CString extension = path.substr(path.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(), [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    });
    return extension == ".TTF" || extension == ".TTE";
}
