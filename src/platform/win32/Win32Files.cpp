#include "platform/win32/Win32Files.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "platform/win32/UniqueHandle.h"

static_assert(files::kLongestPath == MAX_PATH - 1);

namespace {

// CreateFile gives INVALID_HANDLE_VALUE, not null, when it fails.
UniqueFile OpenHandle(const CString& path, DWORD access, DWORD disposition)
{
    const HANDLE file = ::CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    return UniqueFile(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

// Fills `bytes` from the file's current position; false when the file ends first, as it
// does when another program is writing it.
bool ReadAll(HANDLE file, std::string& bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        DWORD read = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        if (!::ReadFile(file, bytes.data() + done, chunk, &read, nullptr) || read == 0)
            return false;
        done += read;
    }
    return true;
}

class Win32ReadableFile : public ReadableFile {
public:
    Win32ReadableFile(UniqueFile file, std::uint64_t size) : m_file(std::move(file)), m_size(size) {}

    std::uint64_t Size() const override { return m_size; }
    bool ReadAt(std::uint64_t offset, std::size_t size, std::string& bytes) override
    {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(offset);
        if (offset > m_size || size > m_size - offset || !::SetFilePointerEx(m_file.get(), at, nullptr, FILE_BEGIN))
            return false;
        bytes.assign(size, '\0');
        return ReadAll(m_file.get(), bytes);
    }

private:
    UniqueFile m_file;
    std::uint64_t m_size;
};

bool WriteAll(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return ::FlushFileBuffers(file) != FALSE;
}

}  // namespace

bool Win32Files::FullPath(const CString& path, CString& full)
{
    const DWORD size = ::GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (path.empty() || size == 0)
        return false;
    full.assign(size, '\0');
    const DWORD length = ::GetFullPathNameA(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return false;
    full.resize(length);
    return true;
}

bool Win32Files::IsFile(const CString& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Files::Read(const CString& path, std::size_t limit, std::string& bytes)
{
    const std::unique_ptr<ReadableFile> file = Open(path);
    return file && file->Size() <= limit && file->ReadAt(0, static_cast<std::size_t>(file->Size()), bytes);
}

std::unique_ptr<ReadableFile> Win32Files::Open(const CString& path)
{
    UniqueFile file = OpenHandle(path, GENERIC_READ, OPEN_EXISTING);
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size))
        return nullptr;
    return std::make_unique<Win32ReadableFile>(std::move(file), static_cast<std::uint64_t>(size.QuadPart));
}

// The new file is made in the target's own folder, so that the rename never crosses
// volumes and either leaves the old file or puts the whole new one in its place.
bool Win32Files::Replace(const CString& path, std::string_view bytes)
{
    // The system splits off the file's name, knowing the second byte of a Big5 character.
    char full[MAX_PATH];
    char* name = nullptr;
    const DWORD length = ::GetFullPathNameA(path.c_str(), MAX_PATH, full, &name);
    if (length == 0 || length >= MAX_PATH || name == nullptr)
        return false;
    const CString folder(full, name);
    char temporary[MAX_PATH];
    if (::GetTempFileNameA(folder.c_str(), "eul", 0, temporary) == 0)
        return false;
    bool written = false;
    if (const UniqueFile file = OpenHandle(temporary, GENERIC_WRITE, TRUNCATE_EXISTING))
        written = WriteAll(file.get(), bytes);
    if (written && ::MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ::DeleteFileA(temporary);
    return false;
}

CString Win32Files::FontsFolder()
{
    char windows[MAX_PATH];
    const UINT length = ::GetWindowsDirectoryA(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return "C:\\Windows\\Fonts";
    return CString(windows, length) + "\\Fonts";
}
