// End to end: the real programs choosing a skin. In SrtRetime.exe a skin
// named with --skin (also from a folder with a Chinese name) or dropped on
// the window changes the caption's pixels; a bad or missing skin file shows
// one error box and leaves the stored look, and the program keeps running.
// In SkinGallery.exe the skin list repaints every open window.
#include <windows.h>

#include <shlobj.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/app/driver.h"

namespace {

namespace fs = std::filesystem;

using namespace srt::testing;

BOOL CALLBACK AppendText(HWND h, LPARAM p) {
    wchar_t text[512];
    GetWindowTextW(h, text, 512);
    *reinterpret_cast<std::wstring*>(p) += text;
    return TRUE;
}

// The texts of a dialog's controls, joined.
std::wstring DialogText(HWND dialog) {
    std::wstring text;
    EnumChildWindows(dialog, AppendText, reinterpret_cast<LPARAM>(&text));
    return text;
}

using Program = TApp;

class SkinChoice : public ::testing::Test {
protected:
    // Starts the program and waits for its main window; null when it fails.
    HWND Start(Program& program) { return program.Form(); }

    TScratchFolder scratch{L"skins"};
    const fs::path dir = scratch.Path();
};

TEST_F(SkinChoice, SkinOnTheCommandLineReplacesTheStoredLook) {
    Program plain(L"");
    HWND form = Start(plain);
    ASSERT_TRUE(form);
    const COLORREF stored = SettledCaption(form);
    EXPECT_TRUE(IsStoredTitle(stored)) << std::hex << stored;

    Program skinned(L"--skin \"" + BuiltSkin(L"contrast") + L"\"");
    HWND other = Start(skinned);
    ASSERT_TRUE(other);
    const COLORREF chosen = SettledCaption(other);
    EXPECT_TRUE(IsContrastTitle(chosen)) << std::hex << chosen;
    EXPECT_TRUE(TopWindowsOf(skinned.Id(), L"#32770").empty());
}

TEST_F(SkinChoice, SkinInAFolderWithAChineseNameLoads) {
    const fs::path folder = dir / L"皮肤";
    fs::create_directories(folder);
    fs::copy_file(BuiltSkin(L"contrast"), folder / L"高对比.skn");
    Program program(L"--skin \"" + (folder / L"高对比.skn").wstring() + L"\"");
    HWND form = Start(program);
    ASSERT_TRUE(form);
    EXPECT_TRUE(IsContrastTitle(SettledCaption(form)));
    EXPECT_TRUE(TopWindowsOf(program.Id(), L"#32770").empty());
}

TEST_F(SkinChoice, BadOrMissingSkinShowsOneErrorAndKeepsTheStoredLook) {
    // Random bytes; a package whose bitmap is cut short; no file at all.
    std::ofstream(dir / L"noise.skn", std::ios::binary) << "not a skin package at all, only text";
    {
        std::ifstream in(fs::path(BuiltSkin(L"dusk")), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), {});
        ASSERT_GT(bytes.size(), 1000u);
        bytes.resize(bytes.size() / 2);
        std::ofstream(dir / L"cut.skn", std::ios::binary) << bytes;
    }
    struct Case {
        const wchar_t* file;
        const wchar_t* says;
    };
    for (const Case& c : {Case{L"noise.skn", L"is not a skin file"}, Case{L"cut.skn", L""},
                          Case{L"missing.skn", L"not found"}}) {
        SCOPED_TRACE(testing::Message() << "file " << fs::path(c.file).string());
        Program program(L"--skin \"" + (dir / c.file).wstring() + L"\"");
        ASSERT_TRUE(Start(program));
        HWND box = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (box = TopWindowOf(program.Id(), L"#32770")) != nullptr; }));
        std::this_thread::sleep_for(500ms);
        EXPECT_EQ(TopWindowsOf(program.Id(), L"#32770").size(), 1u);
        const std::wstring text = DialogText(box);
        EXPECT_NE(text.find(c.says), std::wstring::npos) << fs::path(text).string();
        EXPECT_NE(text.find(c.file), std::wstring::npos) << fs::path(text).string();
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitFor([&] { return TopWindowsOf(program.Id(), L"#32770").empty(); }));
        HWND form = TopWindowOf(program.Id(), L"TForm1");
        ASSERT_TRUE(form);
        EXPECT_TRUE(IsStoredTitle(SettledCaption(form)));
        EXPECT_TRUE(program.Running());
    }
}

// Drops `files` on `form` of `process` as the shell does: an HDROP (DROPFILES,
// then the wide names, each ended by a NUL, and one more NUL) that lives in
// the receiving process, which frees it. A handle of this process means
// nothing there, so the block is built here and copied over.
bool DropFiles(HANDLE process, HWND form, const std::vector<std::wstring>& files) {
    std::wstring names;
    for (const std::wstring& f : files) names += f + L'\0';
    names += L'\0';
    const SIZE_T size = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
    HGLOBAL drop = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size);
    if (!drop) return false;
    auto* header = static_cast<DROPFILES*>(GlobalLock(drop));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
    void* remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    const bool copied = remote && WriteProcessMemory(process, remote, header, size, nullptr);
    GlobalUnlock(drop);
    GlobalFree(drop);
    return copied && PostMessageW(form, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

TEST_F(SkinChoice, DroppingASkinFileSwitchesTheLook) {
    Program program(L"");
    HWND form = Start(program);
    ASSERT_TRUE(form);
    ASSERT_TRUE(IsStoredTitle(SettledCaption(form)));

    ASSERT_TRUE(DropFiles(program.Handle(), form, {BuiltSkin(L"contrast")}));
    EXPECT_TRUE(WaitFor([&] { return IsContrastTitle(CaptionPixel(form)); }));
    EXPECT_TRUE(IsContrastTitle(SettledCaption(form)));

    // A broken skin dropped next: one error box, the dropped skin stays.
    std::ofstream(dir / L"noise.skn", std::ios::binary) << "noise";
    ASSERT_TRUE(DropFiles(program.Handle(), form, {(dir / L"noise.skn").wstring()}));
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = TopWindowOf(program.Id(), L"#32770")) != nullptr; }));
    EXPECT_EQ(TopWindowsOf(program.Id(), L"#32770").size(), 1u);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return TopWindowsOf(program.Id(), L"#32770").empty(); }));
    EXPECT_TRUE(IsContrastTitle(SettledCaption(form)));
    EXPECT_TRUE(program.Running());
}

// The screen's pixels of a window, 0x00RRGGBB, row by row.
std::vector<std::uint32_t> Pixels(HWND window, RECT& r) {
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    std::vector<std::uint32_t> out(static_cast<const std::uint32_t*>(bits),
                                   static_cast<const std::uint32_t*>(bits) + static_cast<std::size_t>(w) * h);
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return out;
}

// Dark pixels (caption text on the light stored skin) in the columns
// [x0, x1) of a button, between its top and bottom frame.
int TextPixelsIn(HWND button, int x0, int x1) {
    RECT r;
    const std::vector<std::uint32_t> px = Pixels(button, r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    int dark = 0;
    for (int y = 4; y < h - 4; ++y)
        for (int x = std::max(0, x0); x < std::min(w, x1); ++x) {
            const std::uint32_t c = px[static_cast<std::size_t>(y) * w + x];
            if (((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF) < 3 * 0x80) ++dark;
        }
    return dark;
}

TEST_F(SkinChoice, GalleryButtonsShowTheirWholeTitleAndTheSkinListRepaintsEveryWindow) {
    Program gallery(L"", BuiltGallery());
    ASSERT_TRUE(gallery.Started());
    HWND launcher = nullptr, page = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (launcher = TopWindowOf(gallery.Id(), L"TGalleryForm")) != nullptr; }));
    ASSERT_TRUE(IsStoredTitle(SettledCaption(launcher)));

    // A title cut by its button runs into the frame: the columns just inside
    // the frame on either side stay clear of text when it fits.
    const std::vector<HWND> buttons = ChildrenOf(launcher, L"Button");
    ASSERT_GE(buttons.size(), 12u);
    for (HWND b : buttons) {
        wchar_t text[256];
        GetWindowTextW(b, text, 256);
        RECT r;
        GetClientRect(b, &r);
        EXPECT_GT(TextPixelsIn(b, 0, r.right), 20) << "no text seen: " << fs::path(text).string();
        EXPECT_EQ(TextPixelsIn(b, 4, 10), 0) << fs::path(text).string();
        EXPECT_EQ(TextPixelsIn(b, r.right - 10, r.right - 4), 0) << fs::path(text).string();
    }

    // The first page, opened by its button.
    PostMessageW(buttons.front(), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return (page = TopWindowOf(gallery.Id(), L"TForm")) != nullptr; }));
    ASSERT_TRUE(IsStoredTitle(SettledCaption(page)));

    const std::vector<HWND> lists = ChildrenOf(launcher, L"ComboBox");
    ASSERT_EQ(lists.size(), 1u);
    HWND list = lists.front();
    // The stored skin and the three built packages.
    EXPECT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), 4);
    const LRESULT contrast = SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>(L"Skin: contrast"));
    ASSERT_NE(contrast, CB_ERR);
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(contrast), 0);
    SendMessageW(launcher, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    EXPECT_TRUE(IsContrastTitle(SettledCaption(launcher)));
    EXPECT_TRUE(IsContrastTitle(SettledCaption(page)));

    // And back to the stored skin.
    SendMessageW(list, CB_SETCURSEL, 0, 0);
    SendMessageW(launcher, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    EXPECT_TRUE(IsStoredTitle(SettledCaption(launcher)));
    EXPECT_TRUE(IsStoredTitle(SettledCaption(page)));
    EXPECT_TRUE(gallery.Running());
}

}  // namespace
