#include "model/EudcPath.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The path cut at each separator, empty parts kept; a double-byte character is never cut.
std::vector<std::string_view> Parts(std::string_view path, LeadByteTest isLeadByte)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size();) {
        if (isLeadByte(static_cast<unsigned char>(path[i]))) {
            i += 2;  // past the end when the path ends on a lone lead byte
            continue;
        }
        if (IsSeparator(path[i])) {
            parts.push_back(path.substr(start, i - start));
            start = i + 1;
        }
        ++i;
    }
    parts.push_back(path.substr(std::min(start, path.size())));
    return parts;
}

// Whether the name, up to its first dot and without the spaces before it, is a device's:
// Windows opens "NUL.TTE" or "COM1 .TTF" as the device, in any folder.
bool IsDeviceName(std::string_view name)
{
    std::string base(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    std::transform(base.begin(), base.end(), base.begin(), Upper);
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" || base == "CONOUT$")
        return true;
    return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '0' &&
           base[3] <= '9';
}

}  // namespace

CString LinkFileName(std::string_view path, LeadByteTest isLeadByte)
{
    return CString(Parts(path, isLeadByte).back());
}

// Only a to z are upper-cased: a byte of a double-byte character may fall among the
// last four, and no locale may change it.
bool HasEudcExtension(const CString& path)
{
    if (path.size() < 4)
        return false;
    CString extension = path.substr(path.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(), Upper);
    return extension == ".TTF" || extension == ".TTE";
}

bool IsPlainName(std::string_view name, LeadByteTest isLeadByte)
{
    if (name.empty() || name == "." || name == ".." || IsDeviceName(name))
        return false;
    char last = '\0';  // the last single-byte character
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (isLeadByte(byte)) {
            ++i;
            last = '\0';
        } else if (byte < 0x20 || byte == 0x7F || std::strchr("<>:\"/\\|?*", byte)) {
            return false;
        } else {
            last = name[i];
        }
    }
    return last != '.' && last != ' ';
}

ResolvedPath ResolveFullPath(std::string_view path, LeadByteTest isLeadByte)
{
    std::vector<std::string_view> parts = Parts(path, isLeadByte);
    // What no ".." goes above: "C:", or "\\server\share".
    CString root;
    PathPlace place = PathPlace::Local;
    std::size_t first = 1;
    if (path.size() >= 3 && IsAsciiLetter(path[0]) && path[1] == ':' && IsSeparator(path[2])) {
        root = path.substr(0, 2);
    } else if (parts.size() >= 4 && parts[0].empty() && parts[1].empty() && IsPlainName(parts[2], isLeadByte) &&
               IsPlainName(parts[3], isLeadByte)) {
        // "\\?\" and "\\.\" fail here: "?" and "." are no server's name.
        root = "\\\\" + CString(parts[2]) + "\\" + CString(parts[3]);
        place = PathPlace::Share;
        first = 4;
    } else {
        return {};
    }
    if (parts.back().empty())
        return {};  // a folder's path
    std::vector<std::string_view> names;
    for (std::size_t i = first; i < parts.size(); ++i) {
        if (parts[i] == "..") {
            if (!names.empty())
                names.pop_back();
        } else if (!parts[i].empty() && parts[i] != ".") {
            if (!IsPlainName(parts[i], isLeadByte))
                return {};
            names.push_back(parts[i]);
        }
    }
    if (names.empty())
        return {};
    ResolvedPath resolved{place, root};
    for (const std::string_view name : names)
        (resolved.path += '\\') += name;
    return resolved;
}

ResolvedPath LinkedFile(std::string_view text, const CString& fontsFolder, LeadByteTest isLeadByte)
{
    if (Parts(text, isLeadByte).size() == 1 && IsPlainName(text, isLeadByte))
        return ResolveFullPath(fontsFolder + "\\" + CString(text), isLeadByte);
    return ResolveFullPath(text, isLeadByte);
}
