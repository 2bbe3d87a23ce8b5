// File dialogs: the platform structure built from the component, the result
// taken back, and the real dialog cancelled and answered.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "component/dialogs.h"
#include "component/forms.h"
#include "component/wstr.h"

namespace {

// The filter as the platform reads it: strings up to the empty one.
std::vector<std::wstring> FilterStrings(const wchar_t* filter) {
    std::vector<std::wstring> out;
    for (const wchar_t* p = filter; p && *p; p += out.back().size() + 1) out.emplace_back(p);
    return out;
}

TEST(FileDialogCall, FilterExtensionTitleAndNamesWithAnyCharacters) {
    TOpenDialog d(nullptr);
    d.SetFilter("Untertitel – 字幕 (*.srt)|*.srt|Alle Dateien|*.*");
    d.SetFilterIndex(2);
    d.SetDefaultExt("..srt");
    d.SetTitle("Öffnen — 打开");
    d.SetInitialDir("C:\\Filme\\Ünïcødé");
    d.SetFileName("Folge 1 — 第一集.srt");
    TFileDialogCall call;
    PrepareFileDialog(d, reinterpret_cast<HWND>(0x1234), call);
    const OPENFILENAMEW& ofn = call.ofn;
    EXPECT_EQ(ofn.lStructSize, sizeof(OPENFILENAMEW));
    EXPECT_EQ(ofn.hwndOwner, reinterpret_cast<HWND>(0x1234));
    EXPECT_EQ(FilterStrings(ofn.lpstrFilter),
              (std::vector<std::wstring>{L"Untertitel – 字幕 (*.srt)", L"*.srt", L"Alle Dateien", L"*.*"}));
    EXPECT_EQ(ofn.nFilterIndex, 2u);
    EXPECT_STREQ(ofn.lpstrDefExt, L"srt");
    EXPECT_STREQ(ofn.lpstrTitle, L"Öffnen — 打开");
    EXPECT_STREQ(ofn.lpstrInitialDir, L"C:\\Filme\\Ünïcødé");
    EXPECT_STREQ(ofn.lpstrFile, L"Folge 1 — 第一集.srt");
    // Room for a long path, counted in characters.
    EXPECT_GE(ofn.nMaxFile, 32768u);
    EXPECT_EQ(ofn.lpstrFile, call.file.data());

    // Empty texts are left to the platform's defaults.
    TOpenDialog blank(nullptr);
    TFileDialogCall none;
    PrepareFileDialog(blank, nullptr, none);
    EXPECT_EQ(none.ofn.lpstrFilter, nullptr);
    EXPECT_EQ(none.ofn.lpstrDefExt, nullptr);
    EXPECT_EQ(none.ofn.lpstrTitle, nullptr);
    EXPECT_EQ(none.ofn.lpstrInitialDir, nullptr);
    EXPECT_EQ(none.ofn.lpstrFile[0], L'\0');
}

TEST(FileDialogCall, OptionsMapToFlags) {
    TOpenDialog d(nullptr);
    TFileDialogCall call;
    PrepareFileDialog(d, nullptr, call);
    // The defaults: read-only box hidden, sizing on; never a changed folder.
    EXPECT_EQ(call.ofn.Flags, DWORD(OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_ENABLESIZING));
    const std::pair<std::uint32_t, DWORD> map[] = {
        {ofReadOnly, OFN_READONLY},           {ofOverwritePrompt, OFN_OVERWRITEPROMPT},
        {ofHideReadOnly, OFN_HIDEREADONLY},   {ofPathMustExist, OFN_PATHMUSTEXIST},
        {ofFileMustExist, OFN_FILEMUSTEXIST}, {ofEnableSizing, OFN_ENABLESIZING},
    };
    for (const auto& [option, flag] : map) {
        d.SetOptions(option);
        TFileDialogCall one;
        PrepareFileDialog(d, nullptr, one);
        EXPECT_EQ(one.ofn.Flags, DWORD(OFN_EXPLORER | OFN_NOCHANGEDIR | flag)) << option;
    }
}

TEST(FileDialogCall, ResultGivesBackTheChosenNameAndFilter) {
    TSaveDialog d(nullptr);
    d.SetFileName("old.srt");
    TFileDialogCall call;
    PrepareFileDialog(d, nullptr, call);
    const std::wstring chosen = L"D:\\Синхрон\\新しい.srt";
    std::copy(chosen.begin(), chosen.end(), call.file.begin());
    call.file[chosen.size()] = L'\0';
    call.ofn.nFilterIndex = 3;
    TakeFileDialogResult(d, call);
    EXPECT_EQ(d.FileName(), Narrow(chosen));
    EXPECT_EQ(d.FilterIndex(), 3);
}

class Prompts : public TPrompts {
public:
    std::vector<std::string> asked;
    bool answer = true;
    bool ExecuteOpen(TOpenDialog& d) override {
        asked.push_back("open " + d.Title());
        return answer;
    }
    bool ExecuteSave(TSaveDialog& d) override {
        asked.push_back("save " + d.Title());
        return answer;
    }
};

TEST(FileDialogs, ExecuteAsksTheApplicationsPromptsAndNeedsAnApplication) {
    TOpenDialog open(nullptr);
    open.SetTitle("o");
    TSaveDialog save(nullptr);
    save.SetTitle("s");
    EXPECT_FALSE(open.Execute());
    Prompts prompts;
    {
        TApplication app;
        app.SetPrompts(&prompts);
        EXPECT_TRUE(open.Execute());
        EXPECT_TRUE(save.Execute());
        prompts.answer = false;
        EXPECT_FALSE(save.Execute());
    }
    EXPECT_EQ(prompts.asked, (std::vector<std::string>{"open o", "save s", "save s"}));
}

// The real dialog, answered from a timer that its own message loop runs.
struct TAnswer {
    std::wstring name;  // typed into the name box; empty: cancel
    bool done = false;
};
TAnswer* g_answer = nullptr;  // the timer callback takes no context

BOOL CALLBACK AnswerDialog(HWND window, LPARAM) {
    wchar_t cls[16] = {};
    GetClassNameW(window, cls, 16);
    if (std::wstring(cls) != L"#32770" || !IsWindowVisible(window)) return TRUE;
    if (g_answer->name.empty()) {
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    } else {
        SendMessageW(window, CDM_SETCONTROLTEXT, 0x47c /* cmb13 */, reinterpret_cast<LPARAM>(g_answer->name.c_str()));
        SendMessageW(window, CDM_SETCONTROLTEXT, 0x480 /* edt1 */, reinterpret_cast<LPARAM>(g_answer->name.c_str()));
        PostMessageW(window, WM_COMMAND, IDOK, 0);
    }
    g_answer->done = true;
    return FALSE;
}

void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (g_answer && !g_answer->done) EnumThreadWindows(GetCurrentThreadId(), AnswerDialog, 0);
}

class RealDialog : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"dialogs_test_文件夹";
        CreateDirectoryW(folder.c_str(), nullptr);
        g_answer = &answer;
        timer = SetTimer(nullptr, 0, 100, AnswerTimer);
    }
    void TearDown() override {
        KillTimer(nullptr, timer);
        g_answer = nullptr;
        RemoveDirectoryW(folder.c_str());
    }
    std::wstring folder;
    TAnswer answer;
    UINT_PTR timer = 0;
};

TEST_F(RealDialog, CancelLeavesTheNameAsItWas) {
    TOpenDialog d(nullptr);
    d.SetFileName("kept.srt");
    d.SetInitialDir(Narrow(folder));
    EXPECT_FALSE(RunFileDialog(d, nullptr, false));
    EXPECT_TRUE(answer.done);
    EXPECT_EQ(d.FileName(), "kept.srt");
}

TEST_F(RealDialog, SaveReturnsTheTypedNameWithTheDefaultExtension) {
    TSaveDialog d(nullptr);
    d.SetInitialDir(Narrow(folder));
    d.SetDefaultExt(".srt");
    d.SetFilter("Subtitles (*.srt)|*.srt");
    answer.name = L"第一集 Ünï";
    ASSERT_TRUE(RunFileDialog(d, nullptr, true));
    EXPECT_TRUE(answer.done);
    EXPECT_EQ(Widen(d.FileName()), folder + L"\\第一集 Ünï.srt");
    EXPECT_EQ(d.FilterIndex(), 1);
}

}  // namespace
