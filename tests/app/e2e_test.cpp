// End to end: the real SrtRetime.exe in its own process, driven through its
// windows as a user would: a file named on the command line, the offset typed
// into the edit box, the adjust button, the save button and the real save
// dialog. The saved file is compared byte for byte.
#include <windows.h>

#include <dlgs.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

std::wstring ProgramPath() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + L"SrtRetime.exe";
}

std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Polls `ready` until it holds or `limit` has passed.
bool WaitFor(const std::function<bool()>& ready, std::chrono::milliseconds limit = 15s) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (ready()) return true;
        std::this_thread::sleep_for(50ms);
    }
    return ready();
}

struct FindTop {
    DWORD pid;
    const wchar_t* cls;
    HWND found = nullptr;
};

BOOL CALLBACK MatchTop(HWND h, LPARAM p) {
    auto* f = reinterpret_cast<FindTop*>(p);
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    wchar_t name[64];
    GetClassNameW(h, name, 64);
    if (owner == f->pid && IsWindowVisible(h) && lstrcmpiW(name, f->cls) == 0) {
        f->found = h;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK AddChild(HWND h, LPARAM p) {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
    return TRUE;
}

HWND TopWindowOf(DWORD pid, const wchar_t* cls) {
    FindTop f{pid, cls};
    EnumWindows(MatchTop, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> out;
    EnumChildWindows(parent, AddChild, reinterpret_cast<LPARAM>(&out));
    return out;
}

std::wstring ClassOf(HWND h) {
    wchar_t name[64];
    GetClassNameW(h, name, 64);
    return name;
}

std::wstring TextOf(HWND h) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(h, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000,
                        &got);
    text.resize(got);
    return text;
}

HWND ButtonWithText(HWND form, const std::wstring& text) {
    for (HWND h : Children(form))
        if (ClassOf(h) == L"Button" && TextOf(h) == text) return h;
    return nullptr;
}

// The program, ended when the test ends.
class Program {
public:
    explicit Program(const std::wstring& arguments) {
        std::wstring command = L"\"" + ProgramPath() + L"\" " + arguments;
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_);
    }
    ~Program() {
        if (!started_) return;
        if (HWND form = TopWindowOf(pi_.dwProcessId, L"TForm1")) PostMessageW(form, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(pi_.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi_.hProcess, 1);
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    bool Started() const { return started_; }
    DWORD Id() const { return pi_.dwProcessId; }
    bool Running() const { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

private:
    PROCESS_INFORMATION pi_{};
    bool started_ = false;
};

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        dir = std::wstring(temp) + L"srt-e2e-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(dir.c_str(), nullptr);
    }
    void TearDown() override {
        for (const auto& name : {L"\\in.srt", L"\\out.srt"}) DeleteFileW((dir + name).c_str());
        RemoveDirectoryW(dir.c_str());
    }
    std::wstring dir;
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
    ASSERT_TRUE(program.Started()) << "cannot start " << std::string(ProgramPath().begin(), ProgramPath().end());
    HWND form = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (form = TopWindowOf(program.Id(), L"TForm1")) != nullptr; }));

    HWND memo = nullptr, edit = nullptr;
    for (HWND h : Children(form)) {
        if (ClassOf(h) != L"Edit" || !IsWindowVisible(h)) continue;
        (GetWindowLongPtrW(h, GWL_STYLE) & ES_MULTILINE ? memo : edit) = h;
    }
    HWND adjust = ButtonWithText(form, L"调整字幕"), save = ButtonWithText(form, L"保存字幕");
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
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = TopWindowOf(program.Id(), L"#32770")) != nullptr; }));
    HWND name = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        for (int id : {cmb13, edt1})
            if ((name = GetDlgItem(dialog, id)) && IsWindowVisible(name)) return true;
        return false;
    }));
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
