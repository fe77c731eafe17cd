#include "platform/win32/Win32Files.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "platform/win32/AnsiCodePage.h"
#include "platform/win32/UniqueHandle.h"

static_assert(files::kLongestPath == MAX_PATH - 1);

namespace {

// CreateFile gives INVALID_HANDLE_VALUE, not null, when it fails.
UniqueFile OpenHandle(const std::wstring& path, DWORD access, DWORD disposition)
{
    const HANDLE file = ::CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
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

// The full path, and where its file's name begins; false when it has none.
bool FullWidePath(const std::wstring& path, std::wstring& full, std::size_t* nameStart = nullptr)
{
    const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (path.empty() || size == 0)
        return false;
    full.assign(size, L'\0');
    wchar_t* name = nullptr;
    const DWORD length = ::GetFullPathNameW(path.c_str(), size, full.data(), &name);
    if (length == 0 || length >= size)
        return false;
    if (nameStart)
        *nameStart = name ? static_cast<std::size_t>(name - full.data()) : length;
    full.resize(length);
    return true;
}

bool HasEntries(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool entries = false;
    do {
        const std::wstring_view name = found.cFileName;
        entries = name != L"." && name != L"..";
    } while (!entries && ::FindNextFileW(search, &found));
    ::FindClose(search);
    return entries;
}

}  // namespace

std::wstring Win32Files::Wide(const CString& path) const
{
    const std::u16string wide = ToWide(CodePageOf(m_codePages), path);
    return std::wstring(wide.begin(), wide.end());
}

CString Win32Files::Narrow(std::wstring_view path) const
{
    return ToCodePage(CodePageOf(m_codePages), std::u16string_view(reinterpret_cast<const char16_t*>(path.data()),
                                                                   path.size()));
}

bool Win32Files::FullPath(const CString& path, CString& full)
{
    std::wstring wide;
    if (!FullWidePath(Wide(path), wide))
        return false;
    full = Narrow(wide);
    return true;
}

bool Win32Files::IsFile(const CString& path)
{
    return KindOf(path) == Kind::File;
}

bool Win32Files::Read(const CString& path, std::size_t limit, std::string& bytes)
{
    const std::unique_ptr<ReadableFile> file = Open(path);
    return file && file->Size() <= limit && file->ReadAt(0, static_cast<std::size_t>(file->Size()), bytes);
}

std::unique_ptr<ReadableFile> Win32Files::Open(const CString& path)
{
    UniqueFile file = OpenHandle(Wide(path), GENERIC_READ, OPEN_EXISTING);
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
    std::wstring full;
    std::size_t nameStart = 0;
    if (!FullWidePath(Wide(path), full, &nameStart) || nameStart >= full.size())
        return false;
    const std::wstring folder = full.substr(0, nameStart);
    wchar_t temporary[MAX_PATH];
    if (::GetTempFileNameW(folder.c_str(), L"eul", 0, temporary) == 0)
        return false;
    bool written = false;
    if (const UniqueFile file = OpenHandle(temporary, GENERIC_WRITE, TRUNCATE_EXISTING))
        written = WriteAll(file.get(), bytes);
    if (written && ::MoveFileExW(temporary, full.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ::DeleteFileW(temporary);
    return false;
}

CString Win32Files::FontsFolder()
{
    wchar_t windows[MAX_PATH];
    const UINT length = ::GetWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return "C:\\Windows\\Fonts";
    return Narrow(std::wstring_view(windows, length)) + "\\Fonts";
}

Files::Kind Win32Files::KindOf(const CString& path)
{
    const std::wstring wide = Wide(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return Kind::Nothing;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Kind::File;
    return HasEntries(wide) ? Kind::Folder : Kind::EmptyFolder;
}

bool Win32Files::MakeFolders(const CString& folder, std::vector<CString>& made)
{
    std::wstring full;
    if (!FullWidePath(Wide(folder), full))
        return false;
    while (full.size() > 3 && full.back() == L'\\')
        full.pop_back();
    // Each folder from the outermost, past the root ("C:\" or "\\server\share\").
    std::size_t next = full.starts_with(L"\\\\") ? full.find(L'\\', full.find(L'\\', 2) + 1) : 2;
    while (next != std::wstring::npos) {
        next = full.find(L'\\', next + 1);
        const std::wstring part = full.substr(0, next);
        if (::CreateDirectoryW(part.c_str(), nullptr))
            made.push_back(Narrow(part));
        else if (const Kind kind = KindOf(Narrow(part)); kind != Kind::Folder && kind != Kind::EmptyFolder)
            return false;
    }
    return true;
}

// A copy that fails half-way may leave part of a file; the target was nothing before, so
// whatever is there is the copy's. A target that was there already is never touched. The
// system copies the source's attributes too: a read-only copy could not be taken away
// again, nor changed by the EUDC editor.
bool Win32Files::Copy(const CString& from, const CString& to)
{
    const std::wstring target = Wide(to);
    if (::CopyFileW(Wide(from).c_str(), target.c_str(), TRUE)) {
        const DWORD attributes = ::GetFileAttributesW(target.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY) ||
            ::SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY))
            return true;
    }
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
        ::DeleteFileW(target.c_str());
    return false;
}

// Never over anything: a folder in the way would be renamed, not replaced.
bool Win32Files::Rename(const CString& from, const CString& to)
{
    return ::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool Win32Files::Delete(const CString& file)
{
    return ::DeleteFileW(Wide(file).c_str()) != FALSE;
}

bool Win32Files::RemoveFolder(const CString& folder)
{
    return ::RemoveDirectoryW(Wide(folder).c_str()) != FALSE;
}
