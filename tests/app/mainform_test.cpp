// The main window's commands through a replaceable seam for the dialogs and
// message boxes: every message and its order, lossless text, atomic save.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <optional>

#include "component/filer.h"
#include "component/wstr.h"
#include "core/textlines.h"
#include "core/timeshift.h"
#include "core/utf16.h"
#include "mainform.h"
#include "tests/app/formhost.h"

namespace {

// Answers the dialogs from a script and records every prompt in order.
class ScriptedPrompts : public TPrompts {
public:
    std::vector<std::string> log;
    std::vector<std::string> openAnswers;  // "" cancels
    std::vector<std::string> saveAnswers;

    bool ExecuteOpen(TOpenDialog& d) override {
        log.push_back("open");
        return Answer(openAnswers, d);
    }
    bool ExecuteSave(TSaveDialog& d) override {
        log.push_back("save preset=" + d.FileName());
        return Answer(saveAnswers, d);
    }
    void Message(const std::string& caption, const std::string& text) override {
        log.push_back("message " + caption + ": " + text);
    }
    void Error(const std::string& caption, const std::string& text) override {
        log.push_back("error " + caption + ": " + text);
    }

private:
    static bool Answer(std::vector<std::string>& answers, TOpenDialog& d) {
        if (answers.empty()) return false;
        std::string a = answers.front();
        answers.erase(answers.begin());
        if (a.empty()) return false;
        d.SetFileName(a);
        return true;
    }
};

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class MainForm : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = std::make_unique<srt::testing::TMainFormHost>(prompts);
        form = host_->form;
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        dir = Narrow(temp) + "srt-mainform-" + std::to_string(GetCurrentProcessId()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        CreateDirectoryW(Widen(dir).c_str(), nullptr);
    }
    void TearDown() override {
        host_.reset();
        WIN32_FIND_DATAW found;
        HANDLE h = FindFirstFileW(Widen(dir + "\\*").c_str(), &found);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::wstring p = Widen(dir) + L"\\" + found.cFileName;
                SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(p.c_str());
            } while (FindNextFileW(h, &found));
            FindClose(h);
        }
        RemoveDirectoryW(Widen(dir).c_str());
    }
    std::string File(const std::string& name) { return dir + "\\" + name; }
    int FilesInDir() {
        int n = 0;
        WIN32_FIND_DATAW found;
        HANDLE h = FindFirstFileW(Widen(dir + "\\*").c_str(), &found);
        if (h == INVALID_HANDLE_VALUE) return 0;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
        } while (FindNextFileW(h, &found));
        FindClose(h);
        return n;
    }
    void Open(const std::string& path) {
        prompts.openAnswers = {path};
        form->Button1Click(form);
    }
    void Adjust(const std::string& offset) {
        form->Edit1->SetText(offset);
        form->Button2Click(form);
    }
    void Save(const std::string& path) {
        prompts.saveAnswers = {path};
        form->Button3Click(form);
    }
    std::wstring Memo() { return form->Memo1->GetTextW(); }

    ScriptedPrompts prompts;
    std::unique_ptr<srt::testing::TMainFormHost> host_;
    TForm1* form = nullptr;
    std::string dir;
};

const std::string kCue = "1\r\n00:00:01,000 --> 00:00:02,500\r\nHello\r\n\r\n";
// Every file the window opens holds at least one.
const std::string kTimeLine = "00:00:01,000 --> 00:00:02,000\r\n";

TEST_F(MainForm, StoredDescriptionIsWrittenBackToTheSameBytes) {
    HRSRC res = FindResourceW(nullptr, L"TFORM1", MAKEINTRESOURCEW(10));
    ASSERT_NE(res, nullptr);
    auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, res)));
    std::vector<std::uint8_t> stored(data, data + SizeofResource(nullptr, res));
    std::vector<std::uint8_t> written = WriteComponentBytes(*form);
    // SkinStore reports "(Good)" only while designing; at run time it reads
    // "(none)". Every other byte must come back as it was stored.
    TStoredObject back = ReadStoredObject(written);
    const TStoredObject designed = ReadStoredObject(stored);
    ASSERT_EQ(back.children.size(), designed.children.size());
    for (std::size_t i = 0; i < back.children.size(); ++i)
        for (TStoredProperty& p : back.children[i].properties)
            if (p.name == "SkinStore") {
                EXPECT_EQ(p.value.text, "(none)");
                const TStoredProperty* q = designed.children[i].Find("SkinStore");
                ASSERT_NE(q, nullptr);
                p.value = q->value;
            }
    EXPECT_EQ(back, designed);
    if (back != designed) {
        std::ofstream(std::string(SRT_SOURCE_DIR) + "/build/written.form", std::ios::binary)
            << PrintStoredText(ReadStoredObject(written));
    }
}

TEST_F(MainForm, LayoutAsStored) {
    HWND h = form->Handle();
    RECT client;
    GetClientRect(h, &client);
    EXPECT_EQ(client.right, 396);
    EXPECT_EQ(client.bottom, 470);
    LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    wchar_t cls[64];
    GetClassNameW(h, cls, 64);
    EXPECT_STREQ(cls, L"TForm1");
    EXPECT_EQ(form->GetTextW(), L"Srt字幕时间轴调整工具          Power By Lumaren");
    EXPECT_EQ(form->Font()->Name(), "宋体");
    EXPECT_EQ(form->Font()->Height(), -12);
    EXPECT_EQ(form->Font()->Charset(), GB2312_CHARSET);
    EXPECT_EQ(form->Memo2->Font()->Name(), "Fixedsys");
    EXPECT_EQ(form->Memo1->Font()->Name(), "宋体");
    EXPECT_FALSE(IsWindowVisible(form->Memo2->Handle()));
    EXPECT_TRUE(GetWindowLongPtrW(form->Memo1->Handle(), GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(form->Label1->Font()->Color(), clBlue);
    EXPECT_TRUE(form->Label1->Transparent());
    EXPECT_EQ(form->Edit1->Hint(), "正数代表延迟，负数代表提前");
    EXPECT_FALSE(form->ShowHint());
    EXPECT_EQ(form->OpenDialog1->Filter(), "srt|*.srt");
    EXPECT_EQ(form->SaveDialog1->DefaultExt(), ".srt");
    RECT b;
    GetWindowRect(form->Button3->Handle(), &b);
    MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&b), 2);
    EXPECT_EQ(b.left, 192);
    EXPECT_EQ(b.top, 432);
    EXPECT_EQ(b.right - b.left, 75);
    // Tab order: Memo1, Button1, Button2, (Memo2 hidden), Edit1, Button3.
    std::vector<HWND> order;
    HWND c = form->Memo1->Handle();
    for (int i = 0; i < 5; ++i) {
        order.push_back(c);
        c = GetNextDlgTabItem(h, c, FALSE);
    }
    EXPECT_EQ(order, (std::vector<HWND>{form->Memo1->Handle(), form->Button1->Handle(), form->Button2->Handle(),
                                        form->Edit1->Handle(), form->Button3->Handle()}));
}

TEST_F(MainForm, AdjustRefusesAnEmptyDocumentFirstThenAnEmptyOffset) {
    Adjust("");
    form->Memo1->SetTextW(L"x");
    Adjust("");
    form->Memo1->SetTextW(L"");
    Adjust("100");
    EXPECT_EQ(prompts.log, (std::vector<std::string>{
                               "message SrtRetime: 请打开一个Srt格式字幕文件！",
                               "message SrtRetime: 请输入修正时间！（单位：毫秒）",
                               "message SrtRetime: 请打开一个Srt格式字幕文件！",
                           }));
}

TEST_F(MainForm, AdjustReportsABadOffsetWithAFullStopAndKeepsTheDocument) {
    std::wstring text = Widen(kCue);
    form->Memo1->SetTextW(text);
    Adjust("abc");
    Adjust("12 ");
    EXPECT_EQ(prompts.log, (std::vector<std::string>{"error SrtRetime: 'abc' is not a valid integer value.",
                                                     "error SrtRetime: '12 ' is not a valid integer value."}));
    EXPECT_EQ(Memo(), text);
}

TEST_F(MainForm, AdjustShiftsTimeLinesAndKeepsEveryOtherLine) {
    form->Memo1->SetTextW(L"1\r\n00:00:01,000 --> 00:00:02,500\r\n字幕 --none\r\n\r\n2");
    Adjust("  +1500");
    EXPECT_TRUE(prompts.log.empty());
    EXPECT_EQ(Memo(), L"1\r\n00:00:02,500 --> 00:00:04,000\r\n字幕 --none\r\n\r\n2\r\n");
}

TEST_F(MainForm, AdjustStopsAtALineTheRuleRefuses) {
    std::wstring text = L"1\r\n00:00:01,000 --> 00:00:02,500\r\nxx:00:01,000 --> 00:00:02,500\r\n";
    form->Memo1->SetTextW(text);
    Adjust("10");
    ASSERT_EQ(prompts.log.size(), 1u);
    EXPECT_EQ(prompts.log[0].rfind("error SrtRetime: ", 0), 0u);
    EXPECT_EQ(Memo(), text);
}

// The rule's own message, behind the number of the line it refused, and
// that line selected in the memo: the file's fault is told from the offset's.
TEST_F(MainForm, AnAdjustErrorNamesItsLineAndSelectsIt) {
    std::wstring text;
    for (int i = 1; i <= 400; ++i) text += std::to_wstring(i) + L"\r\n00:00:01,000 --> 00:00:02,500\r\nHello\r\n\r\n";
    const std::wstring bad = L"00:00:01,   --> 00:00:02,500";
    const std::size_t start = text.size();
    text += bad + L"\r\n";
    form->Memo1->SetTextW(text);
    Adjust("10");
    EXPECT_EQ(prompts.log, (std::vector<std::string>{
                               "error SrtRetime: \xe7\xac\xac 1601 \xe8\xa1\x8c\xef\xbc\x9a'   ' is not a valid integer value."}));
    EXPECT_EQ(Memo(), text);
    DWORD from = 0, to = 0;
    SendMessageW(form->Memo1->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, start);
    EXPECT_EQ(to, start + bad.size());
    // Scrolled to it: the first row shown is well past the top.
    EXPECT_GT(SendMessageW(form->Memo1->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), 1000);

    form->SetLanguage(srt::app::TLanguage::English);
    prompts.log.clear();
    Adjust("10");
    EXPECT_EQ(prompts.log, (std::vector<std::string>{"error SrtRetime: Line 1601: '   ' is not a valid integer value."}));
}

// A line far beyond any subtitle's would hold the memo for minutes: the
// file is refused naming the line, and the document stays as it was.
TEST_F(MainForm, AFileWithAnOverlongLineIsRefusedNamingIt) {
    WriteBytes(File("one.srt"), kCue);
    Open(File("one.srt"));
    const std::wstring before = Memo();
    prompts.log.clear();
    WriteBytes(File("long.srt"), kCue + "2\n00:00:03,000 --> 00:00:04,000\n" + std::string(1 << 20, 'x'));
    form->SetLanguage(srt::app::TLanguage::English);
    Open(File("long.srt"));
    EXPECT_EQ(prompts.log, (std::vector<std::string>{"open", "error SrtRetime: Line 7 is 1048576 characters long, far "
                                                     "beyond any subtitle's: this is no subtitle file and it was "
                                                     "not opened."}));
    EXPECT_EQ(Memo(), before);
    Save(File("saved.srt"));
    EXPECT_EQ(ReadBytes(File("saved.srt")), kCue);
}

// Random bytes or a picture were appended without a word, and saved over
// the opened file with the dialog's default name. A non-empty file without a
// time line is refused now; an empty one still adds nothing.
TEST_F(MainForm, AFileWithoutATimeLineIsRefusedAnEmptyOneAddsNothing) {
    WriteBytes(File("one.srt"), kCue);
    Open(File("one.srt"));
    WriteBytes(File("picture.srt"), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x01", 20));
    WriteBytes(File("empty.srt"), "");
    prompts.log.clear();
    Open(File("picture.srt"));
    Open(File("empty.srt"));
    EXPECT_EQ(prompts.log, (std::vector<std::string>{
                               "open",
                               "error SrtRetime: \xe8\xbf\x99\xe4\xb8\xaa\xe6\x96\x87\xe4\xbb\xb6\xe6\xb2\xa1"
                               "\xe6\x9c\x89\xe4\xb8\x80\xe8\xa1\x8c\xe6\x97\xb6\xe9\x97\xb4\xef\xbc\x88"
                               "\xe2\x80\x9c-->\xe2\x80\x9d\xef\xbc\x89\xef\xbc\x9a\xe8\xbf\x99\xe4\xb8\x8d"
                               "\xe6\x98\xaf Srt \xe5\xad\x97\xe5\xb9\x95\xe6\x96\x87\xe4\xbb\xb6\xef\xbc\x8c"
                               "\xe6\xb2\xa1\xe6\x9c\x89\xe6\x89\x93\xe5\xbc\x80.",
                               "open"}));
    EXPECT_EQ(Memo(), Widen(kCue));
    EXPECT_EQ(ReadBytes(File("picture.srt")).size(), 20u);
}

// UTF-16 without a mark showed as garbage and was saved mangled: it is told
// by its time line, as the command-line tool tells it, and saved as it came.
TEST_F(MainForm, Utf16WithoutAMarkIsReadAndSavedWithoutOne) {
    for (srt::ByteOrder order : {srt::ByteOrder::LittleEndian, srt::ByteOrder::BigEndian}) {
        const std::string in = srt::Utf8ToUtf16("1\r\n00:00:01,000 --> 00:00:02,500\r\n\xe5\xad\x97\xe5\xb9\x95\r\n", order);
        WriteBytes(File("bare.srt"), in);
        form->Memo1->SetTextW(L"");
        prompts.log.clear();
        Open(File("bare.srt"));
        EXPECT_EQ(Memo(), L"1\r\n00:00:01,000 --> 00:00:02,500\r\n字幕\r\n");
        Adjust("1000");
        Save(File("bare-out.srt"));
        EXPECT_EQ(ReadBytes(File("bare-out.srt")),
                  srt::Utf8ToUtf16("1\r\n00:00:02,000 --> 00:00:03,500\r\n\xe5\xad\x97\xe5\xb9\x95\r\n", order));
        EXPECT_EQ(prompts.log, (std::vector<std::string>{"open", "save preset=" + File("bare.srt")}));
    }
}

// Files without index lines start with a time line, often behind a UTF-8
// byte-order mark; the mark is kept and the line re-timed, in every file.
TEST_F(MainForm, AByteOrderMarkStaysInFrontOfATimeLine) {
    const std::string bom = "\xEF\xBB\xBF";
    WriteBytes(File("bom.srt"), bom + "00:00:01,000 --> 00:00:02,000\nA\n");
    Open(File("bom.srt"));
    Open(File("bom.srt"));
    Adjust("1000");
    EXPECT_EQ(prompts.log, (std::vector<std::string>{"open", "open"}));
    Save(File("out.srt"));
    const std::string cue = bom + "00:00:02,000 --> 00:00:03,000\r\nA\r\n";
    EXPECT_EQ(ReadBytes(File("out.srt")), cue + cue);
    // A mark in front of a broken time line refuses it as before.
    form->Memo1->SetTextW(L"\uFEFFxx:00:01,000 --> 00:00:02,000");
    Adjust("1");
    EXPECT_EQ(prompts.log.back(), "error SrtRetime: \xe7\xac\xac 1 \xe8\xa1\x8c\xef\xbc\x9a'xx:00:01' is not a valid time.");
}

TEST_F(MainForm, OpenAppendsAndSaveWritesCRLFLines) {
    WriteBytes(File("lf.srt"), "1\n00:00:01,000 --> 00:00:02,000\nA\r\n\n");
    prompts.openAnswers = {""};
    form->Button1Click(form);  // cancelled: nothing happens
    EXPECT_EQ(Memo(), L"");
    Open(File("lf.srt"));
    Open(File("lf.srt"));
    EXPECT_EQ(Memo(), L"1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\n\r\n1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\n\r\n");
    Save(File("out.srt"));
    EXPECT_EQ(prompts.log, (std::vector<std::string>{"open", "open", "open", "save preset=" + File("lf.srt")}));
    EXPECT_EQ(ReadBytes(File("out.srt")),
              "1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\n\r\n1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\n\r\n");
}

TEST_F(MainForm, OpenReportsAMissingFile) {
    Open(File("missing.srt"));
    EXPECT_EQ(prompts.log, (std::vector<std::string>{"open", "error SrtRetime: File not found."}));
}

TEST_F(MainForm, SavingHandTypedTextStartsWithAnEmptyName) {
    form->Memo1->SetTextW(L"typed");
    prompts.saveAnswers = {""};
    form->Button3Click(form);
    EXPECT_EQ(prompts.log, (std::vector<std::string>{"save preset="}));
}

TEST_F(MainForm, UneditedDocumentsSaveAsTheirOwnBytes) {
    const std::string cases[] = {
        "\xEF\xBB\xBF" "1\r\n00:00:01,000 --> 00:00:02,000\r\n字幕\r\n",  // UTF-8 with BOM
        "1\r\n00:00:01,000 --> 00:00:02,000\r\n字幕 ✓\r\n",                // UTF-8
        "1\r\n00:00:01,000 --> 00:00:02,000\r\n\xD7\xD6\xC4\xBB\r\n",       // GBK
        "\x80\x81\xFF\xFE\x8D\x8F\x90\x9D\xA0\r\n\xD7\r\n\xC0\xAF\r\n" + kTimeLine,  // no code page holds these
        std::string("1\r\n\0\r\na\0b\r\n", 11) + kTimeLine,                   // NUL bytes
    };
    int n = 0;
    for (const std::string& bytes : cases) {
        std::string in = File("in" + std::to_string(n) + ".srt"), out = File("out" + std::to_string(n) + ".srt");
        ++n;
        WriteBytes(in, bytes);
        form->Memo1->SetTextW(L"");
        Open(in);
        Save(out);
        EXPECT_EQ(ReadBytes(out), bytes) << n;
        // Adjusting touches only the time lines.
        Adjust("0");
        Save(out);
        EXPECT_EQ(ReadBytes(out), bytes) << n;
    }
}

// UTF-16 bytes of an ASCII text, one unit per char.
std::string Utf16(std::string_view ascii, srt::ByteOrder order) {
    std::string s;
    for (char c : ascii) s += order == srt::ByteOrder::LittleEndian ? std::string{c, '\0'} : std::string{'\0', c};
    return s;
}

// What Save must write for a UTF-16 file after Adjust by offset (none: just
// opened): the lines with CR LF, time lines shifted, in the file's order.
std::string SavedUtf16(const std::string& file, std::optional<int> offset) {
    auto decoded = srt::DecodeUtf16File(file);
    std::vector<std::string> lines = srt::SplitTextLines(decoded->text);
    if (offset)
        for (auto& line : lines) line = srt::ShiftTimeLine(line, *offset);
    return srt::EncodeUtf16File(decoded->order, srt::JoinLinesCRLF(lines), decoded->tail);
}

TEST_F(MainForm, Utf16DocumentsAreShownRetimedAndSavedInTheirByteOrder) {
    using srt::ByteOrder;
    for (ByteOrder order : {ByteOrder::LittleEndian, ByteOrder::BigEndian}) {
        const std::string mark = order == ByteOrder::LittleEndian ? "\xFF\xFE" : "\xFE\xFF";
        const std::string in = mark + srt::Utf8ToUtf16("1\n00:00:01,000 --> 00:00:02,500\n字幕 \U0001F4A9\n", order);
        WriteBytes(File("u16.srt"), in);
        form->Memo1->SetTextW(L"");
        Open(File("u16.srt"));
        EXPECT_EQ(Memo(), L"1\r\n00:00:01,000 --> 00:00:02,500\r\n字幕 \U0001F4A9\r\n");
        EXPECT_EQ(form->DocumentByteOrder(), order);
        Save(File("same.srt"));
        EXPECT_EQ(ReadBytes(File("same.srt")), SavedUtf16(in, std::nullopt));
        Adjust("1500");
        Save(File("later.srt"));
        EXPECT_EQ(ReadBytes(File("later.srt")),
                  mark + srt::Utf8ToUtf16("1\r\n00:00:02,500 --> 00:00:04,000\r\n字幕 \U0001F4A9\r\n", order));
    }
    EXPECT_EQ(prompts.log.size(), 2u * 3u);  // dialogs only: no error on the way
}

TEST_F(MainForm, Utf16UndecodableUnitsAndAnOddLastByteAreKept) {
    // A lone high surrogate, a lone low one in the escape range, a NUL unit,
    // then one byte too many.
    const auto le = srt::ByteOrder::LittleEndian;
    const std::string units("\x00\xD8" "B\x00" "\x80\xDC" "\x00\x00", 8);
    const std::string in = "\xFF\xFE" + Utf16("00:00:01,000 --> 00:00:02,000\nA", le) + units + Utf16("\n", le) + "\x0A";
    WriteBytes(File("odd.srt"), in);
    Open(File("odd.srt"));
    EXPECT_EQ(Memo().find(L'\0'), std::wstring::npos);
    Save(File("odd-same.srt"));
    EXPECT_EQ(ReadBytes(File("odd-same.srt")),
              "\xFF\xFE" + Utf16("00:00:01,000 --> 00:00:02,000\r\nA", le) + units + Utf16("\r\n", le) + "\x0A");
    Adjust("-1000");
    Save(File("odd.srt"));
    EXPECT_EQ(ReadBytes(File("odd.srt")),
              "\xFF\xFE" + Utf16("00:00:00,000 --> 00:00:01,000\r\nA", le) + units + Utf16("\r\n", le) + "\x0A");
    // Opened again, the saved file reads back to the same document.
    std::wstring text = Memo();
    form->Memo1->SetTextW(L"");
    Open(File("odd.srt"));
    EXPECT_EQ(Memo(), text);
}

// Every UTF-16 file of the shared corpus: unedited it saves to its own
// units with CR LF line ends; adjusted by +1500 every time line moves and
// nothing else changes, or the adjust is refused with the rule's message.
TEST_F(MainForm, Utf16CorpusFilesAreRetimedOrRefused) {
    std::string root = SRT_CORPUS_DIR;
    if (root.empty()) GTEST_SKIP() << "no corpus";
    for (char& c : root) if (c == '/') c = '\\';
    if (root[0] == '\\') root = "Z:" + root;
    const char* files[] = {
        "\\srt\\byroot-pysrt\\tests\\static\\bom-utf-16-be.srt",
        "\\srt\\byroot-pysrt\\tests\\static\\bom-utf-16-le.srt",
        "\\srt\\asticode-go-astisub\\testdata\\example-in-non-utf8.srt",
        "\\srt\\androidx-media\\libraries\\test_data\\src\\test\\assets\\media\\subrip\\typical_utf16be",
    };
    int retimed = 0;
    for (const char* name : files) {
        const std::string path = root + name;
        SCOPED_TRACE(path);
        const std::string in = ReadBytes(path);
        if (in.empty()) GTEST_SKIP() << "no corpus at " << root;
        ASSERT_TRUE(srt::FindUtf16Mark(in));
        form->Memo1->SetTextW(L"");
        prompts.log.clear();
        Open(path);
        Save(File("same.srt"));
        EXPECT_EQ(ReadBytes(File("same.srt")), SavedUtf16(in, std::nullopt));
        const std::wstring before = Memo();
        Adjust("+1500");
        std::string expected;
        try {
            expected = SavedUtf16(in, 1500);
        } catch (const srt::EConvertError& e) {
            // The rule's message behind the line's number ("第 N 行：").
            const std::string& said = prompts.log.back();
            EXPECT_EQ(said.rfind("error SrtRetime: \xe7\xac\xac ", 0), 0u) << said;
            EXPECT_TRUE(said.ends_with(std::string("\xef\xbc\x9a") + e.what() + ".")) << said;
            EXPECT_EQ(Memo(), before);
            continue;
        }
        ++retimed;
        EXPECT_EQ(prompts.log.back(), "save preset=" + path);
        Save(File("later.srt"));
        EXPECT_EQ(ReadBytes(File("later.srt")), expected);
    }
    EXPECT_EQ(retimed, 3);
}

TEST_F(MainForm, TypedTextIsSavedInTheDocumentsEncoding) {
    WriteBytes(File("u.srt"), kTimeLine + "字\r\n");
    Open(File("u.srt"));
    form->Memo1->SetTextW(Memo() + L"幕");
    Save(File("u.srt"));
    EXPECT_EQ(ReadBytes(File("u.srt")), kTimeLine + "字\r\n幕\r\n");
}

// The reported fault: GB2312 bytes opened before a UTF-8 file came back as
// UTF-8 mojibake. Each file keeps its bytes, through adjusts and re-opens.
TEST_F(MainForm, FilesOfDifferentEncodingsKeepTheirBytes) {
    WriteBytes(File("gb.srt"), "1\n00:00:01,000 --> 00:00:02,000\n\xD7\xD6\xC4\xBB\n\n");
    WriteBytes(File("u8.srt"), "2\n00:00:03,000 --> 00:00:04,000\n\xE5\xAD\x97\xE5\xB9\x95\n");
    Open(File("gb.srt"));
    Open(File("u8.srt"));
    Adjust("500");
    Open(File("gb.srt"));
    Adjust("-500");
    Save(File("out.srt"));
    EXPECT_EQ(ReadBytes(File("out.srt")),
              "1\r\n00:00:01,000 --> 00:00:02,000\r\n\xD7\xD6\xC4\xBB\r\n\r\n"
              "2\r\n00:00:03,000 --> 00:00:04,000\r\n\xE5\xAD\x97\xE5\xB9\x95\r\n"
              "1\r\n00:00:00,500 --> 00:00:01,500\r\n\xD7\xD6\xC4\xBB\r\n\r\n");
    EXPECT_EQ(prompts.log.back(), "save preset=" + File("gb.srt"));
}

TEST_F(MainForm, ATypedCharacterTheDocumentCannotHoldIsReportedBeforeTheDialog) {
    // A code-page file decides the document's encoding; no code page holds
    // both of these characters.
    WriteBytes(File("a.srt"), kTimeLine + "caf\xE9\n");
    Open(File("a.srt"));
    form->Memo1->SetTextW(Memo() + L"字ж");
    prompts.saveAnswers = {File("out.srt")};
    form->Button3Click(form);
    ASSERT_EQ(prompts.log.size(), 2u);
    EXPECT_EQ(prompts.log[1], "error SrtRetime: Line 3 holds characters that code page " + std::to_string(GetACP()) +
                                  " cannot hold; nothing was saved.");
    EXPECT_EQ(FilesInDir(), 1);
}

TEST_F(MainForm, AnEightBitFileThatCannotJoinAUtf16DocumentIsRefused) {
    WriteBytes(File("u16.srt"), srt::EncodeUtf16File(srt::ByteOrder::LittleEndian, kTimeLine + "x\n"));
    WriteBytes(File("bad.srt"), kTimeLine + std::string("a\0b\n", 4));  // NUL is no character
    Open(File("u16.srt"));
    Open(File("bad.srt"));
    EXPECT_EQ(Memo(), Widen(kTimeLine) + L"x\r\n");
    ASSERT_EQ(prompts.log.size(), 3u);
    EXPECT_EQ(prompts.log[2].rfind("error SrtRetime: This file holds bytes that are no characters in ", 0), 0u);
}

TEST_F(MainForm, ALongLineComesBackAsOneLine) {
    std::string line(4000, 'x');
    WriteBytes(File("long.srt"), kTimeLine + line + "\r\n");
    Open(File("long.srt"));
    EXPECT_EQ(form->Memo1->Lines()->Count(), 2);
    Save(File("long.srt"));
    EXPECT_EQ(ReadBytes(File("long.srt")), kTimeLine + line + "\r\n");
}

TEST_F(MainForm, AFailedSaveLeavesTheOldFileAsItWas) {
    WriteBytes(File("keep.srt"), "old\r\n");
    SetFileAttributesW(Widen(File("keep.srt")).c_str(), FILE_ATTRIBUTE_READONLY);
    form->Memo1->SetTextW(L"new");
    Save(File("keep.srt"));
    Save(dir + "\\no such folder\\x.srt");
    EXPECT_EQ(prompts.log, (std::vector<std::string>{"save preset=", "error SrtRetime: File access denied.",
                                                     "save preset=", "error SrtRetime: Invalid filename."}));
    EXPECT_EQ(ReadBytes(File("keep.srt")), "old\r\n");
    EXPECT_EQ(FilesInDir(), 1);  // no temporary file left behind
}

TEST_F(MainForm, DroppedSrtFilesOpenOthersAreIgnored) {
    WriteBytes(File("d.srt"), kTimeLine + "a\r\n");
    WriteBytes(File("d.txt"), kTimeLine + "b\r\n");
    form->OnDropFile(Widen(File("d.txt")));
    form->OnDropFile(Widen(File("d.SRT")));
    EXPECT_EQ(Memo(), Widen(kTimeLine) + L"a\r\n");
    EXPECT_EQ(form->OpenDialog1->FileName(), File("d.SRT"));
}

TEST_F(MainForm, TheMemoTakesTextOfAnySize) {
    std::wstring big;
    for (int i = 0; i < 5000; ++i) big += L"00:00:01,000 --> 00:00:02,000 text\r\n";  // far past 32767
    form->Memo1->SetTextW(big);
    EXPECT_EQ(Memo().size(), big.size());
}

}  // namespace
