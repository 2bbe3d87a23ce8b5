// End to end: the real SrtRetime.exe given what a hostile user gives it. A
// file of one 1 MB line, random bytes or a picture is refused at once with a
// message, the document untouched; UTF-16 without a mark opens and saves as
// it came; a file of megabytes opens and adjusts with the caption counting
// while the window keeps answering; an adjust error names its line and the
// memo shows it selected. Prints the times it measured.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/app/driver.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

using namespace srt::testing;

std::string Utf8(const std::wstring& w) {
    std::string s(w.size() * 3 + 1, '\0');
    s.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), static_cast<int>(s.size()),
                            nullptr, nullptr)));
    return s;
}

// The message of the program's box, once it shows one.
std::wstring BoxText(DWORD pid, HWND* box) {
    if (!WaitFor([&] { return (*box = TopWindowOf(pid, L"#32770")) != nullptr; }, 60s)) return L"";
    std::wstring message;
    for (HWND h : Children(*box))
        if (ClassOf(h) == L"Static") message += TextOf(h);
    return message;
}

using MainWindow = TMainWindow;
using Program = TApp;

std::string Time(long ms) {
    char s[16];
    std::snprintf(s, sizeof s, "%02ld:%02ld:%02ld,%03ld", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
    return s;
}

// `cues` cues, each time `shift` ms later than the plain file's.
std::string Cues(int cues, long shift, const char* end) {
    std::string s;
    for (int i = 0; i < cues; ++i) {
        const long start = 1000L + i * 800L + shift;
        s += std::to_string(i + 1) + end + Time(start) + " --> " + Time(start + 700) + end +
             "Somewhere a bell rings twice." + end + end;
    }
    return s;
}

class Hostile : public ::testing::Test {
protected:
    TScratchFolder scratch{L"hostile"};
    const fs::path dir = scratch.Path();
};

TEST_F(Hostile, NoSubtitleIsRefusedAtOnceAndTheWindowStaysEmpty) {
    std::string noise(256 * 1024, '\0');
    unsigned x = 12345;
    for (char& c : noise) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 23);
    const std::string picture = ReadBytes(srt::testing::ThisFolder() + L"..\\..\\..\\docs\\screenshot.png");
    ASSERT_GT(picture.size(), 1000u);
    struct Case {
        const wchar_t* name;
        std::string bytes;
        std::wstring says;
    };
    const Case cases[] = {
        {L"line.srt", "1\n00:00:01,000 --> 00:00:02,000\n" + std::string(1 << 20, 'x'),
         L"第 3 行长达 1048576 个字符，远超任何字幕的行"},
        {L"noise.srt", noise, L"这个文件没有一行时间"},
        {L"picture.srt", picture, L"这个文件没有一行时间"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.name));
        WriteBytes(dir / c.name, c.bytes);
        const auto start = Clock::now();
        Program program(L"\"" + (dir / c.name).wstring() + L"\"");
        HWND form = program.Form();
        ASSERT_TRUE(form);
        HWND box = nullptr;
        const std::wstring said = BoxText(program.Id(), &box);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        std::printf("%s: refused in %.2f s from start\n", Utf8(c.name).c_str(), seconds);
        EXPECT_NE(said.find(c.says), std::wstring::npos) << Utf8(said);
        EXPECT_LT(seconds, 20.0);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitFor([&] { return TopWindowsOf(program.Id(), L"#32770").empty(); }));
        EXPECT_EQ(TextOf(MainWindow(form).memo), L"");
        EXPECT_EQ(ReadBytes(dir / c.name), c.bytes);
        EXPECT_TRUE(program.Running());
    }
}

// Presses `button`, types `path` into the program's file dialog and confirms.
void SaveThroughDialog(DWORD pid, HWND button, const std::wstring& path) {
    PostMessageW(button, BM_CLICK, 0, 0);
    HWND dialog = nullptr, name = nullptr;
    ASSERT_TRUE(AwaitFileDialog(pid, dialog, name, 60s));
    DWORD_PTR r;
    SendMessageTimeoutW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_ABORTIFHUNG, 5000, &r);
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

TEST_F(Hostile, Utf16WithoutAMarkOpensAndSavesAsItCame) {
    auto utf16 = [](const std::string& ascii) {
        std::string s;
        for (char c : ascii) s += std::string{c, '\0'};
        return s;
    };
    WriteBytes(dir / L"bare.srt", utf16(Cues(3, 0, "\r\n")));
    Program program(L"\"" + (dir / L"bare.srt").wstring() + L"\"");
    HWND form = program.Form();
    ASSERT_TRUE(form);
    MainWindow w(form);
    ASSERT_TRUE(w.Complete());
    ASSERT_TRUE(WaitFor([&] { return !TextOf(w.memo).empty(); }));
    EXPECT_EQ(Utf8(TextOf(w.memo)), Cues(3, 0, "\r\n"));
    DWORD_PTR r;
    for (wchar_t c : std::wstring(L"-250")) SendMessageTimeoutW(w.edit, WM_CHAR, c, 1, SMTO_ABORTIFHUNG, 5000, &r);
    SendMessageTimeoutW(w.adjust, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 10000, &r);
    SaveThroughDialog(program.Id(), w.save, (dir / L"out.srt").wstring());
    const std::string expected = utf16(Cues(3, -250, "\r\n"));
    ASSERT_TRUE(WaitFor([&] { return ReadBytes(dir / L"out.srt").size() == expected.size(); }));
    EXPECT_EQ(ReadBytes(dir / L"out.srt"), expected);
}

// How long the window takes to answer, worst case, until `done` holds; and
// whether the caption said `label` meanwhile.
struct Watch {
    double seconds = 0, worstAnswer = 0;
    bool labelled = false;
};
Watch WatchUntil(HWND form, const std::wstring& label, const std::function<bool()>& done) {
    Watch watch;
    const auto start = Clock::now();
    while (!done() && Clock::now() - start < 1800s) {
        const auto asked = Clock::now();
        DWORD_PTR r;
        SendMessageTimeoutW(form, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 30000, &r);
        watch.worstAnswer = std::max(watch.worstAnswer, std::chrono::duration<double>(Clock::now() - asked).count());
        if (TextOf(form, 30000).find(label) != std::wstring::npos) watch.labelled = true;
        Sleep(100);
    }
    watch.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return watch;
}

TEST_F(Hostile, AFileOfMegabytesOpensAndAdjustsWithTheWindowAnswering) {
    // About 2.6 MB; SRT_BIG_CUES=450000 measures a 30 MB file.
    const char* asked = std::getenv("SRT_BIG_CUES");
    const int cues = asked ? std::atoi(asked) : 40000;
    const std::string plain = Cues(cues, 0, "\n");
    WriteBytes(dir / L"big.srt", plain);
    Program program(L"\"" + (dir / L"big.srt").wstring() + L"\"");
    HWND form = program.Form();
    ASSERT_TRUE(form);
    MainWindow w(form);
    ASSERT_TRUE(w.Complete());
    const std::size_t shown = Cues(cues, 0, "\r\n").size();
    const std::wstring caption = L"Srt字幕时间轴调整工具";
    const Watch open = WatchUntil(form, L"正在打开", [&] {
        return TextOf(form, 30000).find(caption) == 0 && TextOf(w.memo, 30000).size() == shown;
    });
    std::printf("open %zu bytes: %.1f s, the window answered within %.2f s at worst\n", plain.size(), open.seconds,
                open.worstAnswer);
    EXPECT_TRUE(open.labelled);
    // The memo's last append, about half its work, holds the window once;
    // otherwise it answers.
    EXPECT_LT(open.worstAnswer, 0.75 * open.seconds);

    DWORD_PTR r;
    for (wchar_t c : std::wstring(L"1500")) SendMessageTimeoutW(w.edit, WM_CHAR, c, 1, SMTO_ABORTIFHUNG, 5000, &r);
    PostMessageW(w.adjust, BM_CLICK, 0, 0);
    const std::string later = Cues(cues, 1500, "\r\n");
    const Watch adjust = WatchUntil(form, L"正在调整", [&] {
        return TextOf(form, 30000).find(caption) == 0 && TextOf(w.memo, 30000).find(L"00:00:02,500 --> ") == 3;
    });
    std::printf("adjust: %.1f s, the window answered within %.2f s at worst\n", adjust.seconds, adjust.worstAnswer);
    EXPECT_TRUE(adjust.labelled);
    EXPECT_LT(adjust.worstAnswer, 0.75 * adjust.seconds);

    SaveThroughDialog(program.Id(), w.save, (dir / L"later.srt").wstring());
    ASSERT_TRUE(WaitFor([&] { return ReadBytes(dir / L"later.srt").size() == later.size(); }, 60s));
    EXPECT_EQ(ReadBytes(dir / L"later.srt"), later);
    EXPECT_EQ(ReadBytes(dir / L"big.srt"), plain);
}

TEST_F(Hostile, AnAdjustErrorNamesItsLineAndTheMemoShowsIt) {
    std::string file = Cues(300, 0, "\r\n");
    const std::size_t at = file.size();
    file += "301\r\n00:00:01,000 --> 00:00:xx,000\r\n";
    WriteBytes(dir / L"broken.srt", file);
    Program program(L"\"" + (dir / L"broken.srt").wstring() + L"\"");
    HWND form = program.Form();
    ASSERT_TRUE(form);
    MainWindow w(form);
    ASSERT_TRUE(w.Complete());
    ASSERT_TRUE(WaitFor([&] { return !TextOf(w.memo).empty(); }));
    DWORD_PTR r;
    for (wchar_t c : std::wstring(L"10")) SendMessageTimeoutW(w.edit, WM_CHAR, c, 1, SMTO_ABORTIFHUNG, 5000, &r);
    PostMessageW(w.adjust, BM_CLICK, 0, 0);
    HWND box = nullptr;
    const std::wstring said = BoxText(program.Id(), &box);
    EXPECT_NE(said.find(L"第 1202 行："), std::wstring::npos) << Utf8(said);
    EXPECT_NE(said.find(L"'00:00:xx' is not a valid time"), std::wstring::npos) << Utf8(said);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return TopWindowsOf(program.Id(), L"#32770").empty(); }));
    // Another process: the selection as the packed result (it is under 64 K).
    const auto selection = static_cast<DWORD>(SendMessageW(w.memo, EM_GETSEL, 0, 0));
    const DWORD from = LOWORD(selection), to = HIWORD(selection);
    ASSERT_LT(file.size(), 65536u);
    const std::size_t line = at + 5;  // behind "301\r\n"
    EXPECT_EQ(from, line);
    EXPECT_EQ(to, line + 29);
    EXPECT_GT(SendMessageW(w.memo, EM_GETFIRSTVISIBLELINE, 0, 0), 1000);
    EXPECT_EQ(Utf8(TextOf(w.memo)), file);
}

}  // namespace
