// The files the console program reads and writes: linked fonts and registry editor files.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Strings.h"

namespace files {

// The longest full path a link may hold: what the open-file dialog's buffer of MAX_PATH
// bytes can give, less its NUL.
inline constexpr std::size_t kLongestPath = 259;

}  // namespace files

class Files {
public:
    virtual ~Files() = default;

    // The full path of a path given by the user, relative to the current folder; false when
    // it has none.
    virtual bool FullPath(const CString& path, CString& full) = 0;
    // Whether a file, not a folder, is there.
    virtual bool IsFile(const CString& path) = 0;
    // The whole file; false when it cannot be opened, read whole, or is larger than `limit`.
    virtual bool Read(const CString& path, std::size_t limit, std::string& bytes) = 0;
    // Writes a new file beside `path` and renames it to `path`: on any failure `path` is as
    // it was and no new file is left.
    virtual bool Replace(const CString& path, std::string_view bytes) = 0;
    // The system's font folder, where a link that names no folder is looked for.
    virtual CString FontsFolder() = 0;
};
