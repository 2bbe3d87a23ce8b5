// End to end through the timing window: the real SrtRetime.exe driven with
// real key input (SendInput) as a user would: Ctrl+T, the window's own
// mnemonics, typing, Enter and Escape, the reference file's open dialog,
// the system menu and the memo's menu; the result saved through the real
// save dialog and compared byte for byte with bytes worked out by hand.
#include <memory>
#include <string>
#include <vector>

#include "tests/app/driver.h"

namespace {

using namespace srt::testing;

// ---- the window's texts (Chinese, the default)

const std::wstring kMode = L"方式(&M)：", kOffset = L"偏移毫秒(&O)：", kCueA = L"字幕(&A)：", kTimeB = L"改为(&B)：",
                   kCueC = L"字幕(&C)：", kTimeD = L"改为(&D)：", kRateFrom = L"原帧率(&F)：",
                   kRateTo = L"新帧率(&E)：", kRange = L"范围(&N)：", kFirst = L"起(&S)：", kLast = L"止(&L)：";

// A file of four cues with CR LF line ends; a cue with UTF-8 text.
const std::string kInput =
    "1\r\n00:00:01,000 --> 00:00:02,000\r\nOne\r\n\r\n"
    "2\r\n00:00:10,000 --> 00:00:12,500\r\n\xe4\xba\x8c\r\n\r\n"
    "3\r\n00:01:00,000 --> 00:01:01,000\r\nThree\r\n\r\n"
    "4\r\n01:00:00,000 --> 01:00:02,000\r\nFour\r\n";

// kInput with the four time lines given.
std::string WithTimes(const std::vector<std::string>& times) {
    return "1\r\n" + times[0] + "\r\nOne\r\n\r\n2\r\n" + times[1] + "\r\n\xe4\xba\x8c\r\n\r\n3\r\n" + times[2] +
           "\r\nThree\r\n\r\n4\r\n" + times[3] + "\r\nFour\r\n";
}

class TimingWindow : public ::testing::Test {
protected:
    void SetUp() override {
        input = dir + L"\\in.srt";
        WriteBytes(input, kInput);
        program = std::make_unique<TApp>(L"\"" + input + L"\"");
        ASSERT_TRUE(program->Started());
        ASSERT_TRUE(WaitFor([&] { return (form = TopWindowOf(program->Id(), L"TForm1")) != nullptr; }));
        for (HWND h : Children(form)) {
            if (ClassOf(h) == L"Edit" && IsWindowVisible(h) && (GetWindowLongPtrW(h, GWL_STYLE) & ES_MULTILINE))
                memo = h;
            if (ClassOf(h) == L"Button" && TextOf(h) == L"保存字幕") save = h;
        }
        ASSERT_TRUE(memo && save);
        ASSERT_TRUE(WaitFor([&] { return !TextOf(memo).empty(); }));
        original = TextOf(memo);
    }
    void TearDown() override {
        program.reset();
    }

    HWND Timing() const { return TopWindowOf(program->Id(), L"TTimingForm"); }

    // Ctrl+T on the main window.
    HWND OpenTiming() {
        SetForegroundWindow(form);
        WaitFor([&] { return GetForegroundWindow() == form; }, 3s);
        Chord({VK_CONTROL, 'T'});
        HWND timing = nullptr;
        EXPECT_TRUE(WaitFor([&] { return (timing = Timing()) != nullptr; })) << "no timing window";
        if (timing) WaitFor([&] { return GetForegroundWindow() == timing; }, 3s);
        return timing;
    }

    // The control after the text `label` (its mnemonic leads there).
    static HWND Field(HWND timing, const std::wstring& label) {
        for (HWND h = GetWindow(timing, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
            if (ClassOf(h) == L"Static" && TextOf(h) == label) return GetWindow(h, GW_HWNDNEXT);
        std::string seen;
        for (HWND h = GetWindow(timing, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
            const std::wstring c = ClassOf(h), t = TextOf(h);
            seen += std::string(c.begin(), c.end()) + ":" + std::to_string(t.size()) + " ";
        }
        ADD_FAILURE() << "no field after a text; children " << seen;
        return nullptr;
    }

    static WORD Mnemonic(const std::wstring& label) { return static_cast<WORD>(label[label.find(L'&') + 1]); }

    // Alt+mnemonic, then the item by Home and Down.
    void Choose(HWND timing, const std::wstring& label, int index) {
        HWND combo = Field(timing, label);
        ASSERT_TRUE(combo);
        Chord({VK_MENU, Mnemonic(label)});
        ASSERT_TRUE(WaitFor([&] {
            HWND focus = FocusOf(timing);
            return focus == combo || IsChild(combo, focus);
        }, 5s)) << "mnemonic did not reach a list";
        Chord({VK_HOME});
        for (int i = 0; i < index; ++i) Chord({VK_DOWN});
        ASSERT_TRUE(WaitFor([&] { return Send(combo, CB_GETCURSEL, 0, 0) == index; }, 5s));
    }

    // Alt+mnemonic, then the text typed over what was there.
    void Fill(HWND timing, const std::wstring& label, const std::wstring& text) {
        HWND field = Field(timing, label);
        ASSERT_TRUE(field);
        Chord({VK_MENU, Mnemonic(label)});
        ASSERT_TRUE(WaitFor([&] {
            HWND focus = FocusOf(timing);
            return focus == field || IsChild(field, focus);
        }, 5s)) << "mnemonic did not reach a field";
        Send(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        TypeKeys(text);
        ASSERT_TRUE(WaitFor([&] { return TextOf(field) == text; }, 5s));
    }

    // Enter: applied and closed.
    void PressEnter() {
        Chord({VK_RETURN});
        EXPECT_TRUE(WaitFor([&] { return Timing() == nullptr; })) << "Enter did not close the window";
    }

    // A file dialog of the program: `path` typed into its name box, OK.
    void UseFileDialog(const std::wstring& path) {
        HWND dialog = nullptr, name = nullptr;
        ASSERT_TRUE(AwaitFileDialog(program->Id(), dialog, name));
        Send(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
    }

    // Saves through the save button and its dialog; the bytes written.
    std::string Saved() {
        const std::wstring out = dir + L"\\out.srt";
        DeleteFileW(out.c_str());
        PostMessageW(save, BM_CLICK, 0, 0);
        UseFileDialog(out);
        WaitFor([&] { return GetFileAttributesW(out.c_str()) != INVALID_FILE_ATTRIBUTES; });
        return ReadBytes(out);
    }

    TScratchFolder scratch{L"timing"};
    const std::wstring dir = scratch.Path().wstring();
    std::wstring input, original;
    std::unique_ptr<TApp> program;
    HWND form = nullptr, memo = nullptr, save = nullptr;
};

}  // namespace

TEST_F(TimingWindow, OffsetFromCueTwo) {
    HWND timing = OpenTiming();
    ASSERT_TRUE(timing);
    Choose(timing, kMode, 0);
    Fill(timing, kOffset, L"1500");
    Choose(timing, kRange, 1);
    Fill(timing, kFirst, L"2");
    PressEnter();
    EXPECT_EQ(Saved(), WithTimes({"00:00:01,000 --> 00:00:02,000", "00:00:11,500 --> 00:00:14,000",
                                  "00:01:01,500 --> 00:01:02,500", "01:00:01,500 --> 01:00:03,500"}));
    EXPECT_EQ(ReadBytes(input), kInput);
}

TEST_F(TimingWindow, TwoPointsOverEveryCueWithApplyThenEscape) {
    HWND timing = OpenTiming();
    ASSERT_TRUE(timing);
    Choose(timing, kMode, 1);
    Fill(timing, kCueA, L"1");
    Fill(timing, kTimeB, L"00:00:02,000");
    Fill(timing, kCueC, L"3");
    Fill(timing, kTimeD, L"00:01:03,000");
    Chord({VK_MENU, 'P'});  // Apply: the window stays
    ASSERT_TRUE(WaitFor([&] { return TextOf(memo) != original; }));
    EXPECT_TRUE(Timing());
    Chord({VK_ESCAPE});
    ASSERT_TRUE(WaitFor([&] { return Timing() == nullptr; }));
    EXPECT_EQ(Saved(), WithTimes({"00:00:02,000 --> 00:00:03,034", "00:00:11,305 --> 00:00:13,890",
                                  "00:01:03,000 --> 00:01:04,034", "01:02:03,000 --> 01:02:05,068"}));
}

TEST_F(TimingWindow, FrameRateOverCuesTwoToThree) {
    HWND timing = OpenTiming();
    ASSERT_TRUE(timing);
    Choose(timing, kMode, 2);
    Fill(timing, kRateFrom, L"25");
    Fill(timing, kRateTo, L"23.976");
    Choose(timing, kRange, 2);
    Fill(timing, kFirst, L"2");
    Fill(timing, kLast, L"3");
    PressEnter();
    EXPECT_EQ(Saved(), WithTimes({"00:00:01,000 --> 00:00:02,000", "00:00:10,427 --> 00:00:13,034",
                                  "00:01:02,563 --> 00:01:03,605", "01:00:00,000 --> 01:00:02,000"}));
}

TEST_F(TimingWindow, OffsetFromAReferenceForCuesStartingBetweenTwoTimes) {
    const std::wstring reference = dir + L"\\ref.srt";
    WriteBytes(reference, "1\n00:00:12,000 --> 00:00:14,500\nTwo\n\n2\n00:01:02,000 --> 00:01:03,000\nThree\n");
    HWND timing = OpenTiming();
    ASSERT_TRUE(timing);
    Choose(timing, kMode, 3);
    Choose(timing, kRange, 3);
    Fill(timing, kFirst, L"00:00:05,000");
    Fill(timing, kLast, L"00:02:00,000");
    Chord({VK_MENU, 'R'});
    UseFileDialog(reference);
    HWND match = nullptr;
    for (HWND h = GetWindow(timing, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (ClassOf(h) == L"Button" && TextOf(h) == L"参照字幕(&R)...") match = GetWindow(h, GW_HWNDNEXT);
    ASSERT_TRUE(match);
    ASSERT_TRUE(WaitFor([&] { return !TextOf(match).empty(); }));
    EXPECT_EQ(TextOf(match), L"2 / 2 条字幕重叠，偏移 +2000 毫秒");
    EXPECT_EQ(TextOf(memo), original) << "nothing changes before Apply";
    SetForegroundWindow(timing);
    // Enter on the focused reference button would open another file: the
    // focus to a field first.
    Fill(timing, kLast, L"00:02:00,000");
    PressEnter();
    EXPECT_EQ(Saved(), WithTimes({"00:00:01,000 --> 00:00:02,000", "00:00:12,000 --> 00:00:14,500",
                                  "00:01:02,000 --> 00:01:03,000", "01:00:00,000 --> 01:00:02,000"}));
}

// Two re-timings undone with the keyboard give back the bytes read; one
// redone gives the first re-timing's bytes again.
TEST_F(TimingWindow, UndoBackToTheOriginalBytesAndRedo) {
    HWND timing = OpenTiming();
    ASSERT_TRUE(timing);
    Choose(timing, kMode, 0);
    Choose(timing, kRange, 0);
    Fill(timing, kOffset, L"1500");
    PressEnter();
    timing = OpenTiming();
    ASSERT_TRUE(timing);
    Choose(timing, kMode, 2);
    Fill(timing, kRateFrom, L"25");
    Fill(timing, kRateTo, L"23.976");
    PressEnter();
    ASSERT_NE(TextOf(memo), original);
    SetForegroundWindow(form);
    Chord({VK_CONTROL, VK_SHIFT, 'Z'});
    Chord({VK_CONTROL, VK_SHIFT, 'Z'});
    ASSERT_TRUE(WaitFor([&] { return TextOf(memo) == original; }));
    EXPECT_EQ(Saved(), kInput);
    SetForegroundWindow(form);
    Chord({VK_CONTROL, VK_SHIFT, 'Y'});
    ASSERT_TRUE(WaitFor([&] { return TextOf(memo) != original; }));
    EXPECT_EQ(Saved(), WithTimes({"00:00:02,500 --> 00:00:03,500", "00:00:11,500 --> 00:00:14,000",
                                  "00:01:01,500 --> 00:01:02,500", "01:00:01,500 --> 01:00:03,500"}));
}

// A time moved before midnight refuses the whole re-timing and names its
// line; the document stays as read.
TEST_F(TimingWindow, ARefusalNamesItsLineAndChangesNothing) {
    HWND timing = OpenTiming();
    ASSERT_TRUE(timing);
    Choose(timing, kMode, 0);
    Choose(timing, kRange, 0);
    Fill(timing, kOffset, L"-5000");
    Chord({VK_RETURN});
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = TopWindowOf(program->Id(), L"#32770")) != nullptr; }));
    std::wstring message;
    for (HWND h : Children(box))
        if (ClassOf(h) == L"Static") message += TextOf(h);
    EXPECT_EQ(message.rfind(L"第 2 行：", 0), 0u) << std::string(message.begin(), message.end());
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return TopWindowOf(program->Id(), L"#32770") == nullptr; }));
    EXPECT_TRUE(Timing()) << "the window stays open after a refusal";
    // Enter on the focused Close button closes without applying.
    SetForegroundWindow(timing);
    HWND close = nullptr;
    for (HWND h = GetWindow(timing, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (ClassOf(h) == L"Button" && TextOf(h) == L"关闭") close = h;
    ASSERT_TRUE(close);
    for (int i = 0; i < 40 && FocusOf(timing) != close; ++i) Chord({VK_TAB});
    ASSERT_EQ(FocusOf(timing), close);
    Chord({VK_RETURN});
    ASSERT_TRUE(WaitFor([&] { return Timing() == nullptr; }));
    EXPECT_EQ(Saved(), kInput);
}

// The skinned system menu (opened as a right click on the caption) and the
// memo's menu both hold the command; its mnemonic opens the window.
TEST_F(TimingWindow, ReachedFromTheSystemMenuAndTheMemoMenu) {
    RECT r{};
    GetWindowRect(form, &r);
    SetForegroundWindow(form);
    PostMessageW(form, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(r.left + 40, r.top + 12));
    ASSERT_TRUE(WaitFor([&] { return TopWindowOf(program->Id(), L"#32768") != nullptr; }));
    Chord({'R'});
    ASSERT_TRUE(WaitFor([&] { return Timing() != nullptr; })) << "from the system menu";
    Chord({VK_ESCAPE});
    ASSERT_TRUE(WaitFor([&] { return Timing() == nullptr; }));

    GetWindowRect(memo, &r);
    SetForegroundWindow(form);
    PostMessageW(memo, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(memo), MAKELPARAM(r.left + 30, r.top + 20));
    ASSERT_TRUE(WaitFor([&] { return TopWindowOf(program->Id(), L"#32768") != nullptr; }));
    Chord({'R'});
    ASSERT_TRUE(WaitFor([&] { return Timing() != nullptr; })) << "from the memo's menu";
    Chord({VK_ESCAPE});
    ASSERT_TRUE(WaitFor([&] { return Timing() == nullptr; }));
    EXPECT_EQ(TextOf(memo), original);
}
