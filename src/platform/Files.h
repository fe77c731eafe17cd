// The files the programs read and write: linked fonts, registry editor files, and the
// folders that carry links and their files to another machine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Strings.h"

namespace files {

// The longest full path a link may hold: what the open-file dialog's buffer of MAX_PATH
// bytes can give, less its NUL.
inline constexpr std::size_t kLongestPath = 259;

}  // namespace files

// An open file read in parts, so that a check of a large file reads only what it needs.
class ReadableFile {
public:
    virtual ~ReadableFile() = default;

    // The file's size when it was opened.
    virtual std::uint64_t Size() const = 0;
    // The `size` bytes at `offset`; false when the file cannot give them all.
    virtual bool ReadAt(std::uint64_t offset, std::size_t size, std::string& bytes) = 0;
};

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
    // The file opened for reading in parts; null when it cannot be opened.
    virtual std::unique_ptr<ReadableFile> Open(const CString& path) = 0;
    // Writes a new file beside `path` and renames it to `path`: on any failure `path` is as
    // it was and no new file is left.
    virtual bool Replace(const CString& path, std::string_view bytes) = 0;
    // The system's font folder, where a link that names no folder is looked for.
    virtual CString FontsFolder() = 0;

    enum class Kind { Nothing, File, EmptyFolder, Folder };
    // What is at the path: nothing, a file, a folder with nothing in it, another folder.
    virtual Kind KindOf(const CString& path) = 0;
    // Makes the folder and each missing one above it, appending the full path of each it
    // made, outermost first; false when one cannot be made.
    virtual bool MakeFolders(const CString& folder, std::vector<CString>& made) = 0;
    // Copies a file to a path where there is nothing, as a file that can be changed and
    // deleted (never read-only); on failure nothing is left there.
    virtual bool Copy(const CString& from, const CString& to) = 0;
    // Renames a file to a path in its folder where there is nothing.
    virtual bool Rename(const CString& from, const CString& to) = 0;
    virtual bool Delete(const CString& file) = 0;
    // Removes an empty folder.
    virtual bool RemoveFolder(const CString& folder) = 0;
};
