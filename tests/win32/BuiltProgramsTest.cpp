// The programs as built, read from their files as Windows reads them before it starts
// them: the manifest through the system's own activation context, the version record
// as Explorer and deployment tools read it, and the icon.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <string>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "resource.h"

namespace {

struct Program {
    const wchar_t* path;
    const wchar_t* fileName;
};
const Program kVeltrane{VELTRANE_EXE, L"VELTRANE.EXE"};
const Program kEudclink{EUDCLINK_EXE, L"eudclink.exe"};
const Program kPrograms[] = {kVeltrane, kEudclink};

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

using ActivationContext = UniqueHandle<HANDLE, ::ReleaseActCtx>;

// The layout that Wine 8 and current Windows 10 and 11 fill in; MinGW's header still
// has the older one, without MaxVersionTested.
struct SupportedOs {
    GUID id;
    ACTCTX_COMPATIBILITY_ELEMENT_TYPE type;
    ULONGLONG maxVersionTested;
};
struct CompatibilityList {
    DWORD count;
    SupportedOs elements[8];
};

std::wstring GuidText(const GUID& id)
{
    wchar_t text[40] = {};
    std::swprintf(text, std::size(text), L"{%08lx-%04hx-%04hx-%02hhx%02hhx-%02hhx%02hhx%02hhx%02hhx%02hhx%02hhx}",
                  id.Data1, id.Data2, id.Data3, id.Data4[0], id.Data4[1], id.Data4[2], id.Data4[3], id.Data4[4],
                  id.Data4[5], id.Data4[6], id.Data4[7]);
    return text;
}

const wchar_t kSettings2005[] = L"http://schemas.microsoft.com/SMI/2005/WindowsSettings";
const wchar_t kSettings2016[] = L"http://schemas.microsoft.com/SMI/2016/WindowsSettings";

std::wstring Setting(HANDLE context, const wchar_t* space, const wchar_t* name)
{
    wchar_t value[32] = {};
    SIZE_T length = 0;
    if (!::QueryActCtxSettingsW(0, context, space, name, value, std::size(value), &length))
        return L"(none)";
    return value;
}

UniqueModule LoadAsImageResource(const wchar_t* path)
{
    return UniqueModule(::LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

std::vector<BYTE> ResourceBytes(HMODULE module, LPCSTR type, WORD id)
{
    const HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (found == nullptr)
        return {};
    const auto* data = static_cast<const BYTE*>(::LockResource(::LoadResource(module, found)));
    return std::vector<BYTE>(data, data + ::SizeofResource(module, found));
}

// "1.0.0.1" from the two halves of a fixed version.
std::wstring Dotted(DWORD high, DWORD low)
{
    return std::to_wstring(HIWORD(high)) + L"." + std::to_wstring(LOWORD(high)) + L"." +
           std::to_wstring(HIWORD(low)) + L"." + std::to_wstring(LOWORD(low));
}

class VersionRecord {
public:
    explicit VersionRecord(const wchar_t* path) : m_block(::GetFileVersionInfoSizeW(path, nullptr))
    {
        if (m_block.empty() || !::GetFileVersionInfoW(path, 0, m_block.size(), m_block.data()))
            m_block.clear();
    }
    bool Read() const { return !m_block.empty(); }
    const VS_FIXEDFILEINFO& Fixed() const
    {
        void* fixed = nullptr;
        UINT length = 0;
        ::VerQueryValueW(m_block.data(), L"\\", &fixed, &length);
        return *static_cast<const VS_FIXEDFILEINFO*>(fixed);
    }
    std::wstring Value(const wchar_t* key) const
    {
        void* text = nullptr;
        UINT length = 0;
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + key;
        if (!::VerQueryValueW(m_block.data(), query.c_str(), &text, &length))
            return L"(missing)";
        return static_cast<const wchar_t*>(text);
    }

private:
    std::vector<BYTE> m_block;
};

}  // namespace

TEST(BuiltPrograms, ManifestAsksNoElevationNamesVistaTo11AndSystemDpi)
{
    for (const Program& program : kPrograms) {
        SCOPED_TRACE(Narrow(program.fileName));
        ACTCTXW source{};
        source.cbSize = sizeof source;
        source.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        source.lpSource = program.path;
        source.lpResourceName = MAKEINTRESOURCEW(1);  // CREATEPROCESS_MANIFEST_RESOURCE_ID
        const HANDLE created = ::CreateActCtxW(&source);
        ASSERT_NE(created, INVALID_HANDLE_VALUE) << "no manifest the system accepts, error " << ::GetLastError();
        const ActivationContext context(created);

        ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION runLevel{};
        ASSERT_TRUE(::QueryActCtxW(0, context.get(), nullptr, RunlevelInformationInActivationContext, &runLevel,
                                   sizeof runLevel, nullptr));
        EXPECT_EQ(runLevel.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
        EXPECT_EQ(runLevel.UiAccess, 0u);

        CompatibilityList compatibility{};
        SIZE_T written = 0;
        ASSERT_TRUE(::QueryActCtxW(0, context.get(), nullptr, CompatibilityInformationInActivationContext,
                                   &compatibility, sizeof compatibility, &written));
        ASSERT_EQ(written, offsetof(CompatibilityList, elements) + compatibility.count * sizeof(SupportedOs))
            << "the system's list has another layout";
        std::vector<std::wstring> systems;
        for (DWORD i = 0; i < compatibility.count; ++i)
            if (compatibility.elements[i].type == ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS)
                systems.push_back(GuidText(compatibility.elements[i].id));
        EXPECT_EQ(systems, (std::vector<std::wstring>{
                               L"{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Vista
                               L"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
                               L"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
                               L"{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
                               L"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
                           }));

        // System awareness: per-monitor awareness would need the window to redraw at each
        // change of scale.
        EXPECT_EQ(Setting(context.get(), kSettings2005, L"dpiAware"), L"true");
        EXPECT_EQ(Setting(context.get(), kSettings2016, L"dpiAwareness"), L"(none)");

        // No dependency, such as common controls 6, which would restyle every control.
        // The details come with the manifest's path after them, so the size is asked first.
        ::QueryActCtxW(0, context.get(), nullptr, ActivationContextDetailedInformation, nullptr, 0, &written);
        std::vector<BYTE> details(std::max<SIZE_T>(written, sizeof(ACTIVATION_CONTEXT_DETAILED_INFORMATION)));
        ASSERT_TRUE(::QueryActCtxW(0, context.get(), nullptr, ActivationContextDetailedInformation, details.data(),
                                   details.size(), &written));
        EXPECT_EQ(reinterpret_cast<const ACTIVATION_CONTEXT_DETAILED_INFORMATION*>(details.data())->ulAssemblyCount, 1u);
    }
}

TEST(BuiltPrograms, VersionRecordsCarryTheProjectVersionAndTheirOwnNames)
{
    const VersionRecord veltrane(kVeltrane.path);
    for (const Program& program : kPrograms) {
        SCOPED_TRACE(Narrow(program.fileName));
        const VersionRecord record(program.path);
        ASSERT_TRUE(record.Read());
        const VS_FIXEDFILEINFO& fixed = record.Fixed();
        EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
        EXPECT_EQ(Dotted(fixed.dwFileVersionMS, fixed.dwFileVersionLS), L"" VELTRANE_VERSION);
        EXPECT_EQ(Dotted(fixed.dwProductVersionMS, fixed.dwProductVersionLS), L"" VELTRANE_VERSION);
        EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_APP));
        EXPECT_EQ(record.Value(L"OriginalFilename"), program.fileName);
        EXPECT_EQ(record.Value(L"CompanyName"), veltrane.Value(L"CompanyName"));
        EXPECT_EQ(record.Value(L"LegalCopyright"), veltrane.Value(L"LegalCopyright"));
        EXPECT_EQ(record.Value(L"ProductName"), veltrane.Value(L"ProductName"));
    }
    // VELTRANE.EXE's texts keep their old spelling (see the Resources tests); eudclink's
    // are what `eudclink --version` prints.
    const VersionRecord eudclink(kEudclink.path);
    EXPECT_EQ(eudclink.Value(L"FileVersion"), L"" VELTRANE_VERSION);
    EXPECT_EQ(eudclink.Value(L"ProductVersion"), L"" VELTRANE_VERSION);
    EXPECT_EQ(eudclink.Value(L"InternalName"), L"eudclink");
    EXPECT_NE(eudclink.Value(L"FileDescription"), L"(missing)");
    EXPECT_NE(eudclink.Value(L"FileDescription"), L"");
}

TEST(BuiltPrograms, EudclinkShowsVeltranesIcon)
{
    const UniqueModule veltrane = LoadAsImageResource(kVeltrane.path);
    const UniqueModule eudclink = LoadAsImageResource(kEudclink.path);
    ASSERT_TRUE(veltrane && eudclink);
    const std::vector<BYTE> group = ResourceBytes(veltrane.get(), RT_GROUP_ICON, IDR_MAINFRAME);
    ASSERT_GE(group.size(), 6u);
    EXPECT_EQ(ResourceBytes(eudclink.get(), RT_GROUP_ICON, IDR_MAINFRAME), group);
    const WORD count = group[4] | group[5] << 8;
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = group.data() + 6 + 14 * i;  // GRPICONDIRENTRY; its image's id last
        const WORD image = entry[12] | entry[13] << 8;
        EXPECT_EQ(ResourceBytes(eudclink.get(), RT_ICON, image), ResourceBytes(veltrane.get(), RT_ICON, image))
            << "image " << image;
    }
}

TEST(BuiltPrograms, TheLoaderTookTheManifestWithTheTestsResources)
{
    // This executable carries VELTRANE.EXE's resources: its own start read the manifest.
    EXPECT_EQ(Setting(nullptr, kSettings2005, L"dpiAware"), L"true");
}
