// The settings file: what it reads from damaged files, the round trip, where
// a skin is remembered; and the window's rule for overlong lines.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "component/wstr.h"
#include "openguard.h"
#include "settings.h"

namespace {

using srt::app::TLanguage;
using srt::app::TSettings;

TEST(Settings, ReadBackAsWritten) {
    TSettings s;
    s.skin = L"skins\\暮色.skn";
    s.language = TLanguage::English;
    s.timingMode = L"fps";
    s.timingRateFrom = L"23.976";
    s.timingRateTo = L"25";
    EXPECT_EQ(srt::app::ParseSettings(srt::app::FormatSettings(s)), s);
    // The stored skin chosen on purpose is not "never chosen".
    s.skin = L"";
    EXPECT_EQ(srt::app::ParseSettings(srt::app::FormatSettings(s)).skin, std::optional<std::wstring>(L""));
    EXPECT_EQ(srt::app::ParseSettings(srt::app::FormatSettings(TSettings{})), TSettings{});
}

TEST(Settings, DamagedTextGivesDefaultsForWhatItCannotRead) {
    const TSettings defaults;
    for (const std::string& text :
         {std::string(), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), std::string("Skin=a.skn\nLanguage=en\n"),
          std::string("[Other]\nLanguage=en\n"), std::string("[SrtRetime]\nLanguage=fr\nLanguage\n=en\n")}) {
        EXPECT_EQ(srt::app::ParseSettings(text), defaults) << text;
    }
    // A bad value is skipped, the rest read; LF or CR LF, a UTF-8 mark, blanks.
    const TSettings read = srt::app::ParseSettings(
        "\xEF\xBB\xBF; comment\n[SrtRetime]\r\nSkin=\xff\xfe.skn\r\n  Language = en \nTimingRateTo=25\nTimingMode=a\tb\n");
    EXPECT_FALSE(read.skin);
    EXPECT_EQ(read.language, TLanguage::English);
    EXPECT_EQ(read.timingRateTo, L"25");
    EXPECT_EQ(read.timingMode, L"");
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        dir = std::wstring(temp) + L"srt-settings-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(dir.c_str(), nullptr);
        CreateDirectoryW((dir + L"skins").c_str(), nullptr);
    }
    void TearDown() override {
        DeleteFileW((dir + L"SrtRetime.ini").c_str());
        RemoveDirectoryW((dir + L"skins").c_str());
        RemoveDirectoryW(dir.c_str());
    }
    std::string Read() {
        std::ifstream in(std::filesystem::path(dir + L"SrtRetime.ini"), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::wstring dir;
};

TEST_F(SettingsFile, ChangesAreWrittenAtOnceAndReadByTheNextRun) {
    const std::wstring path = dir + L"SrtRetime.ini";
    {
        srt::app::TSettingsStore store(path, dir);
        EXPECT_EQ(store.Values(), TSettings{});  // no file yet
        EXPECT_FALSE(store.SkinToLoad());
        EXPECT_EQ(store.RememberSkin(dir + L"skins\\dusk.skn"), 0);
        EXPECT_EQ(store.RememberLanguage(TLanguage::English), 0);
        EXPECT_EQ(store.RememberTiming(L"sync", L"24", L"25"), 0);
    }
    // Inside the program's folder the skin is kept relative: the folder may move.
    EXPECT_EQ(Read(), "[SrtRetime]\r\nSkin=skins\\dusk.skn\r\nLanguage=en\r\nTimingMode=sync\r\nTimingRateFrom=24\r\n"
                      "TimingRateTo=25\r\n");
    srt::app::TSettingsStore next(path, L"D:\\moved\\");
    EXPECT_EQ(next.SkinToLoad(), std::optional<std::wstring>(L"D:\\moved\\skins\\dusk.skn"));
    EXPECT_EQ(next.Values().language, TLanguage::English);
    // Outside it, as given; the stored skin loads nothing.
    next.RememberSkin(L"E:\\other\\x.skn");
    EXPECT_EQ(next.SkinToLoad(), std::optional<std::wstring>(L"E:\\other\\x.skn"));
    next.RememberSkin(L"");
    EXPECT_FALSE(next.SkinToLoad());
    EXPECT_EQ(srt::app::TSettingsStore(path, dir).Values().skin, std::optional<std::wstring>(L""));
}

TEST_F(SettingsFile, AnOversizedOrUnwritableFileNeverStopsTheProgram) {
    const std::wstring path = dir + L"SrtRetime.ini";
    std::ofstream(std::filesystem::path(path), std::ios::binary) << "[SrtRetime]\nLanguage=en\n" << std::string(100000, ';');
    EXPECT_EQ(srt::app::TSettingsStore(path, dir).Values(), TSettings{});
    // A folder that does not exist: the change is kept for the run, not written.
    srt::app::TSettingsStore nowhere(dir + L"no such folder\\SrtRetime.ini", dir);
    EXPECT_NE(nowhere.RememberLanguage(TLanguage::English), 0);
    EXPECT_EQ(nowhere.Values().language, TLanguage::English);
}

TEST_F(SettingsFile, TheFileIsBesideTheProgramWhereThatIsWritableOrWhereTheEnvironmentSays) {
    wchar_t old[MAX_PATH] = {};
    const DWORD had = GetEnvironmentVariableW(L"SRTRETIME_INI", old, MAX_PATH);
    SetEnvironmentVariableW(L"SRTRETIME_INI", nullptr);
    EXPECT_EQ(srt::app::ChooseSettingsPath(dir), dir + L"SrtRetime.ini");
    // The probe leaves nothing behind.
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((dir + L"*.*").c_str(), &found);
    int files = 0;
    if (h != INVALID_HANDLE_VALUE) {
        do files += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
        while (FindNextFileW(h, &found));
        FindClose(h);
    }
    EXPECT_EQ(files, 0);
    // A folder that cannot take a file: the application-data folder.
    const std::wstring elsewhere = srt::app::ChooseSettingsPath(dir + L"no such folder\\");
    EXPECT_NE(elsewhere.find(L"\\SrtRetime\\SrtRetime.ini"), std::wstring::npos) << Narrow(elsewhere);
    SetEnvironmentVariableW(L"SRTRETIME_INI", L"C:\\x\\mine.ini");
    EXPECT_EQ(srt::app::ChooseSettingsPath(dir), L"C:\\x\\mine.ini");
    SetEnvironmentVariableW(L"SRTRETIME_INI", had ? old : nullptr);
}

TEST(OpenGuard, FindsTheFirstOverlongLineCountingCharacters) {
    using srt::app::FindOverlongLine;
    EXPECT_FALSE(FindOverlongLine("", 4));
    EXPECT_FALSE(FindOverlongLine("abcd\nabcd\r\nab", 4));
    // Three-byte characters count once; a CR before the LF does not count.
    EXPECT_FALSE(FindOverlongLine("\xe4\xbd\xa0\xe5\xa5\xbd\xe4\xbd\xa0\xe5\xa5\xbd\r\n", 4));
    const auto found = FindOverlongLine("a\nb\r\nabcde\nabcdefgh", 4);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->line, 3u);
    EXPECT_EQ(found->characters, 5u);
    // The last line without a break; byte 26 ends the file.
    EXPECT_EQ(FindOverlongLine("a\nabcdefgh", 4)->line, 2u);
    EXPECT_FALSE(FindOverlongLine("a\nab\x1a" "cdefgh", 4));
}

std::string Utf16Le(const std::string& ascii) {
    std::string out = "\xff\xfe";
    for (char c : ascii) out += std::string{c, '\0'};
    return out;
}

TEST(OpenGuard, Utf16FilesAreMeasuredInTheirCharacters) {
    const std::string cue = "1\n00:00:01,000 --> 00:00:02,000\n";
    const std::size_t limit = srt::app::kMaxLineCharacters;
    EXPECT_FALSE(srt::app::OpenRefusal(Utf16Le(cue + std::string(limit, 'x')), TLanguage::Chinese));
    const auto refused = srt::app::OpenRefusal(Utf16Le(cue + std::string(limit + 1, 'x')), TLanguage::Chinese);
    ASSERT_TRUE(refused);
    EXPECT_EQ(*refused, L"第 3 行长达 " + std::to_wstring(limit + 1) +
                            L" 个字符，远超任何字幕的行：这不是字幕文件，没有打开");
}

}  // namespace
