// End to end: the real SrtRetime.exe in its own process, driven through its
// windows as a user would: files named on the command line or typed into the
// real open dialog, the offset typed into the edit box, the adjust button,
// the save button and the real save dialog. The saved file is compared byte
// for byte with bytes worked out by hand. The program runs in this process's
// code page (LC_ALL=zh_CN.UTF-8 gives Wine's processes code page 936).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/app/driver.h"

namespace {

using namespace srt::testing;
using Program = TApp;
using MainWindow = TMainWindow;

// Presses `button`, waits for the program's file dialog, types `path` into
// its file name box and presses its OK button. Returns the name the dialog
// started with.
std::wstring UseFileDialog(DWORD pid, HWND button, const std::wstring& path) {
    PostMessageW(button, BM_CLICK, 0, 0);
    HWND dialog = nullptr, name = nullptr;
    if (!AwaitFileDialog(pid, dialog, name)) return {};
    const std::wstring preset = TextOf(name);
    Send(name, EM_SETSEL, 0, -1);
    Send(name, WM_CLEAR, 0, 0);
    Type(name, path);
    EXPECT_EQ(TextOf(name), path);
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
    return preset;
}

class EndToEnd : public ::testing::Test {
protected:
    TScratchFolder scratch{L"e2e"};
    const std::wstring dir = scratch.Path().wstring();
};

}  // namespace

TEST_F(EndToEnd, OpenFromTheCommandLineAdjustAndSaveThroughTheDialog) {
    const std::wstring input = dir + L"\\in.srt", output = dir + L"\\out.srt";
    // LF line ends, UTF-8 text, a cue that crosses a minute when shifted.
    std::ofstream(std::filesystem::path(input), std::ios::binary) << "1\n00:00:01,000 --> 00:00:02,500\n\xe4\xbd\xa0\xe5\xa5\xbd\n\n"
                                              "2\n00:00:59,000 --> 00:01:00,000\nBye\n";
    const std::string expected =
        "1\r\n00:00:02,500 --> 00:00:04,000\r\n\xe4\xbd\xa0\xe5\xa5\xbd\r\n\r\n"
        "2\r\n00:01:00,500 --> 00:01:01,500\r\nBye\r\n";

    Program program(L"\"" + input + L"\"");
    ASSERT_TRUE(program.Started()) << "cannot start " << std::string(BuiltProgram().begin(), BuiltProgram().end());
    HWND form = program.Form();
    ASSERT_TRUE(form);
    const MainWindow w(form);
    HWND memo = w.memo, edit = w.edit, adjust = w.adjust, save = w.save;
    ASSERT_TRUE(memo && edit && adjust && save);
    ASSERT_TRUE(WaitFor([&] { return !TextOf(memo).empty(); }));
    EXPECT_EQ(TextOf(memo), L"1\r\n00:00:01,000 --> 00:00:02,500\r\n你好\r\n\r\n2\r\n00:00:59,000 --> 00:01:00,000\r\nBye\r\n");

    // The focus is in the edit box after start; the offset is typed there.
    for (wchar_t c : std::wstring(L"1500")) {
        DWORD_PTR r;
        SendMessageTimeoutW(edit, WM_CHAR, c, 1, SMTO_ABORTIFHUNG, 5000, &r);
    }
    EXPECT_EQ(TextOf(edit), L"1500");
    DWORD_PTR r;
    ASSERT_TRUE(SendMessageTimeoutW(adjust, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 10000, &r));
    EXPECT_EQ(TextOf(memo), L"1\r\n00:00:02,500 --> 00:00:04,000\r\n你好\r\n\r\n2\r\n00:01:00,500 --> 00:01:01,500\r\nBye\r\n");

    // The save dialog is modal: press the button without waiting for it.
    PostMessageW(save, BM_CLICK, 0, 0);
    HWND dialog = nullptr, name = nullptr;
    ASSERT_TRUE(AwaitFileDialog(program.Id(), dialog, name));
    // The dialog starts with the name of the file that was opened.
    const std::wstring preset = TextOf(name);
    EXPECT_TRUE(preset.size() >= 6 && preset.substr(preset.size() - 6) == L"in.srt");
    SendMessageTimeoutW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(output.c_str()), SMTO_ABORTIFHUNG, 5000, &r);
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);

    ASSERT_TRUE(WaitFor([&] { return ReadBytes(output).size() == expected.size(); }));
    EXPECT_EQ(ReadBytes(output), expected);
    EXPECT_EQ(ReadBytes(input).substr(0, 2), "1\n");  // the opened file is untouched
    EXPECT_TRUE(WaitFor([&] { return !TopWindowOf(program.Id(), L"#32770"); }));
    EXPECT_TRUE(program.Running());
}

// Three files in three encodings opened one after the other through the open
// dialog, adjusted, saved through the save dialog: every file's lines come
// back as their own bytes, whatever the code page. Then a typed line: held by
// code page 936 and saved in it; refused before the save in any code page
// without those characters.
TEST_F(EndToEnd, MixedEncodingsThroughTheOpenAndSaveDialogs) {
    const UINT acp = GetACP();
    if (const char* expected = std::getenv("SRT_EXPECT_ACP")) {
        ASSERT_EQ(acp, std::strtoul(expected, nullptr, 10));
    }
    std::printf("code page %u\n", acp);
    const std::wstring gb = dir + L"\\gb.srt", u8 = dir + L"\\u8.srt", odd = dir + L"\\odd.srt";
    const std::wstring output = dir + L"\\out.srt", typed = dir + L"\\typed.srt";
    WriteBytes(gb, "1\r\n00:00:01,000 --> 00:00:02,500\r\n\xD7\xD6\xC4\xBB\r\n\r\n");   // GB2312
    WriteBytes(u8, "\xEF\xBB\xBF" "2\n00:00:03,000 --> 00:00:04,000\n\xE5\xAD\x97\xE5\xB9\x95 \xE2\x9C\x93\n\n");
    WriteBytes(odd, "3\n00:00:05,000 --> 00:00:06,000\n\x81\xFF\x80 \xC0\xAF\n");   // no code page holds 81 FF
    const std::string expected =
        "1\r\n00:00:02,000 --> 00:00:03,500\r\n\xD7\xD6\xC4\xBB\r\n\r\n"
        "\xEF\xBB\xBF" "2\r\n00:00:04,000 --> 00:00:05,000\r\n\xE5\xAD\x97\xE5\xB9\x95 \xE2\x9C\x93\r\n\r\n"
        "3\r\n00:00:06,000 --> 00:00:07,000\r\n\x81\xFF\x80 \xC0\xAF\r\n";

    Program program(L"");
    ASSERT_TRUE(program.Started());
    HWND form = program.Form();
    ASSERT_TRUE(form);
    MainWindow w(form);
    ASSERT_TRUE(w.Complete());

    std::size_t shown = 0;
    for (const std::wstring& file : {gb, u8, odd}) {
        UseFileDialog(program.Id(), w.open, file);
        ASSERT_TRUE(WaitFor([&] { return TextOf(w.memo).size() > shown; })) << "not opened";
        shown = TextOf(w.memo).size();
    }
    const std::wstring text = TextOf(w.memo);
    EXPECT_NE(text.find(L"\uFEFF2\r\n00:00:03,000 --> 00:00:04,000\r\n字幕 ✓\r\n"), std::wstring::npos);
    if (acp == 936) {
        EXPECT_EQ(text.find(L"字幕"), 34u);  // the GB2312 line shows its characters
    }

    Type(w.edit, L"1000");
    Send(w.adjust, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return TextOf(w.memo).find(L"00:00:06,000 --> 00:00:07,000") != std::wstring::npos; }));

    const std::wstring preset = UseFileDialog(program.Id(), w.save, output);
    EXPECT_TRUE(preset.size() >= 7 && preset.substr(preset.size() - 7) == L"odd.srt") << "last file opened";
    // The file appears whole: it is written beside and renamed.
    ASSERT_TRUE(WaitFor([&] { return GetFileAttributesW(output.c_str()) != INVALID_FILE_ATTRIBUTES; }));
    EXPECT_EQ(ReadBytes(output), expected);

    // A typed line at the end of the memo.
    const WPARAM end = TextOf(w.memo).size();
    Send(w.memo, EM_SETSEL, end, static_cast<LPARAM>(end));
    Type(w.memo, L"字");
    if (acp == 936) {
        UseFileDialog(program.Id(), w.save, typed);
        ASSERT_TRUE(WaitFor([&] { return GetFileAttributesW(typed.c_str()) != INVALID_FILE_ATTRIBUTES; }));
        EXPECT_EQ(ReadBytes(typed), expected + "\xD7\xD6\r\n");
    } else {
        PostMessageW(w.save, BM_CLICK, 0, 0);
        HWND box = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (box = TopWindowOf(program.Id(), L"#32770")) != nullptr; }));
        std::wstring message;
        for (HWND h : Children(box))
            if (ClassOf(h) == L"Static") message += TextOf(h);
        EXPECT_NE(message.find(L"Line 12 holds characters that code page " + std::to_wstring(acp) +
                               L" cannot hold; nothing was saved."),
                  std::wstring::npos)
            << std::string(message.begin(), message.end());
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitFor([&] { return !TopWindowOf(program.Id(), L"#32770"); }));
        EXPECT_EQ(GetFileAttributesW(typed.c_str()), INVALID_FILE_ATTRIBUTES);
    }
    EXPECT_TRUE(program.Running());
}
