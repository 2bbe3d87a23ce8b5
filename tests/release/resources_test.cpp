// The built programs carry the program icon as their first icon group, with
// its three sizes, version information holding the project's version and an
// application manifest; the running program shows the icon in its skinned
// caption.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "logo/icon.h"
#include "tests/support/program.h"

namespace {

std::wstring Beside(const wchar_t* name) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

// RT_GROUP_ICON and RT_ICON, wide.
const LPCWSTR kGroupIcon = MAKEINTRESOURCEW(14);
const LPCWSTR kIcon = MAKEINTRESOURCEW(3);

std::wstring Widen(const std::string& s) { return {s.begin(), s.end()}; }

// The module loaded for its resources only.
struct ResourceModule {
    explicit ResourceModule(const std::wstring& path)
        : handle(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~ResourceModule() {
        if (handle) FreeLibrary(handle);
    }
    ResourceModule(const ResourceModule&) = delete;
    ResourceModule& operator=(const ResourceModule&) = delete;
    HMODULE handle;
};

BOOL CALLBACK FirstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR out) {
    *reinterpret_cast<std::wstring*>(out) = IS_INTRESOURCE(name) ? L"#" + std::to_wstring(LOWORD(name)) : name;
    return FALSE;
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

class ProgramResources : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(ProgramResources, FirstIconGroupIsTheProgramIconInEverySize) {
    ResourceModule module(Beside(GetParam()));
    ASSERT_NE(module.handle, nullptr) << GetLastError();
    std::wstring first;
    EnumResourceNamesW(module.handle, kGroupIcon, FirstName, reinterpret_cast<LONG_PTR>(&first));
    EXPECT_EQ(first, L"MAINICON");

    HRSRC found = FindResourceW(module.handle, L"MAINICON", kGroupIcon);
    ASSERT_NE(found, nullptr);
    const auto* group = static_cast<const BYTE*>(LockResource(LoadResource(module.handle, found)));
    ASSERT_NE(group, nullptr);
    const auto* header = reinterpret_cast<const WORD*>(group);
    EXPECT_EQ(header[1], 1);  // icons
    const auto& sizes = srt::logo::kIconSizes;
    const int count = static_cast<int>(std::size(sizes));
    ASSERT_EQ(header[2], count);
    ASSERT_GE(SizeofResource(module.handle, found), 6 + count * sizeof(GroupIconEntry));
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(group + 6);
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].width, sizes[i]);
        EXPECT_EQ(entries[i].height, sizes[i]);
        EXPECT_EQ(entries[i].bitCount, 32);
        // Each picture is there and makes an icon of its size.
        HRSRC picture = FindResourceW(module.handle, MAKEINTRESOURCEW(entries[i].id), kIcon);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(SizeofResource(module.handle, picture), entries[i].bytes);
        auto* bits = static_cast<BYTE*>(LockResource(LoadResource(module.handle, picture)));
        HICON icon = CreateIconFromResourceEx(bits, entries[i].bytes, TRUE, 0x00030000, sizes[i], sizes[i], 0);
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP colour{};
        GetObjectW(info.hbmColor, sizeof(colour), &colour);
        EXPECT_EQ(colour.bmWidth, sizes[i]);
        EXPECT_EQ(colour.bmHeight, sizes[i]);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

TEST_P(ProgramResources, VersionInformationCarriesTheProjectVersion) {
    const std::wstring path = Beside(GetParam());
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u) << GetLastError();
    std::vector<BYTE> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const std::wstring numbers = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                                 std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
                                 std::to_wstring(HIWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(numbers, Widen(SRT_VERSION));
    EXPECT_EQ(LOWORD(fixed->dwFileVersionLS), 0);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    auto text = [&](const wchar_t* key) {
        wchar_t* value = nullptr;
        UINT chars = 0;
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + key;
        if (!VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &chars) || !value)
            return std::wstring(L"(missing)");
        return std::wstring(value);
    };
    EXPECT_EQ(text(L"ProductVersion"), Widen(SRT_VERSION));
    EXPECT_EQ(text(L"FileVersion"), Widen(SRT_VERSION));
    EXPECT_EQ(text(L"ProductName"), L"SrtRetime");
    EXPECT_EQ(text(L"OriginalFilename"), GetParam());
}

// The screen's pixels inside `r`, top row first, as 0x00RRGGBB.
std::vector<std::uint32_t> Grab(const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w * h));
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(h), pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    for (auto& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

// Whether the opaque pixels of `icon` appear unchanged somewhere in the
// w-pixel-wide picture `pixels`.
bool Shows(const std::vector<std::uint32_t>& pixels, int w, const srt::logo::IconImage& icon) {
    const int h = static_cast<int>(pixels.size()) / w, n = icon.size;
    for (int top = 0; top + n <= h; ++top) {
        for (int left = 0; left + n <= w; ++left) {
            bool match = true;
            for (int y = 0; y < n && match; ++y)
                for (int x = 0; x < n && match; ++x) {
                    const std::uint32_t want = icon.pixels[static_cast<std::size_t>(y * n + x)];
                    match = want >> 24 == 0 ||
                            pixels[static_cast<std::size_t>((top + y) * w + left + x)] == (want & 0xFFFFFF);
                }
            if (match) return true;
        }
    }
    return false;
}

TEST(RunningProgram, ShowsTheIconInItsSkinnedCaption) {
    std::wstring command = L"\"" + Beside(L"SrtRetime.exe") + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));

    const srt::logo::IconImage small = srt::logo::DrawIcon(GetSystemMetrics(SM_CXSMICON));
    HWND form = nullptr;
    bool shown = false;
    for (int i = 0; i < 150 && !shown; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (!form) form = srt::testing::TopWindowOf(pi.dwProcessId, L"TForm1");
        if (!form) continue;
        RECT r{};
        GetWindowRect(form, &r);
        r.bottom = r.top + 40;  // the caption
        if (r.right > r.left) shown = Shows(Grab(r), r.right - r.left, small);
    }
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(shown);
    PostMessageW(form, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramResources, ::testing::Values(L"SrtRetime.exe", L"srt-retime.exe"));

// The application manifest, resource 1 of RT_MANIFEST, as the loader reads it.
class ProgramManifest : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(ProgramManifest, DeclaresDpiAwarenessAsInvokerAndTheSupportedWindows) {
    ResourceModule module(Beside(GetParam()));
    ASSERT_NE(module.handle, nullptr) << GetLastError();
    HRSRC found = FindResourceW(module.handle, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr) << "no manifest";
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module.handle, found)));
    ASSERT_NE(bytes, nullptr);
    const std::string manifest(bytes, SizeofResource(module.handle, found));
    auto has = [&](const std::string& text) { return manifest.find(text) != std::string::npos; };
    EXPECT_TRUE(has("<?xml version=\"1.0\" encoding=\"UTF-8\""));
    EXPECT_TRUE(has("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"));
    // Per monitor v2, else v1 (Windows 10 1607 on), else per monitor from
    // the older element (8.1), else system-aware (7).
    EXPECT_TRUE(has(">PerMonitorV2, PerMonitor</dpiAwareness>"));
    EXPECT_TRUE(has("\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2"));
    EXPECT_TRUE(has(">true/pm</dpiAware>"));
    EXPECT_TRUE(has("\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm"));
    for (const char* os : {"35138b9a-5d96-4fbd-8e2d-a2440225f93a", "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",
                           "1f676c76-80e1-4239-95bb-83d0f6d0da78", "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
        EXPECT_TRUE(has(std::string("<supportedOS Id=\"{") + os + "}\"/>")) << os;
    // The controls keep the look they have without a manifest.
    EXPECT_FALSE(has("Common-Controls"));
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramManifest,
                         ::testing::Values(L"SrtRetime.exe", L"srt-retime.exe", L"SkinGallery.exe"));

}  // namespace
