#include "busy.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>

#include "component/wstr.h"

namespace srt::app {
namespace {

// Characters in the memo's first append. An append costs the platform memo
// time in proportion to all the text it then holds, so appends of one size
// add up quadratically; each later append is as large as the text so far,
// which keeps the whole fill within a small multiple of one WM_SETTEXT in a
// few appends, the window answering between them.
constexpr std::size_t kFirstChunk = 64 * 1024;

}  // namespace

TBusy::TBusy(TForm& form, const TText& label, TLanguage language)
    : form_(form), caption_(form.Caption()), label_(label.In(language)) {
    form_.SetEnabled(false);
    form_.SetCaption(Narrow(label_));
    Pump();
}

TBusy::~TBusy() {
    form_.SetCaption(caption_);
    form_.SetEnabled(true);
    // A quit asked for while busy is asked for again, now that it can be met.
    if (quit_) PostQuitMessage(quitCode_);
}

void TBusy::Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit_ = true;
            quitCode_ = static_cast<int>(msg.wParam);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void TBusy::Progress(int percent) {
    form_.SetCaption(Narrow(label_ + L" " + std::to_wstring(std::clamp(percent, 0, 100)) + L"%"));
    Pump();
}

void TBusy::Run(const std::function<void()>& work) {
    std::atomic<bool> done = false;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
    });
    while (!done) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        Pump();
    }
    worker.join();
    if (failure) std::rethrow_exception(failure);
}

void TBusy::FillMemo(TMemo& memo, const std::wstring& text, std::size_t firstChunk) {
    if (firstChunk < 2) firstChunk = kFirstChunk;
    HWND h = memo.Handle();
    // Painting the memo while it grows would cost more than the filling.
    SendMessageW(h, WM_SETREDRAW, FALSE, 0);
    memo.SetTextW(L"");
    for (std::size_t at = 0; at < text.size();) {
        // Whole CR LF pairs in each chunk.
        std::size_t end = at + std::max(firstChunk, at);
        if (end > text.size()) end = text.size();
        if (end < text.size() && text[end - 1] == L'\r') ++end;
        const std::wstring part = text.substr(at, end - at);
        SendMessageW(h, EM_SETSEL, static_cast<WPARAM>(-1), -1);
        SendMessageW(h, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(part.c_str()));
        at = end;
        Progress(static_cast<int>(static_cast<double>(at) * 100 / static_cast<double>(text.size())));
    }
    SendMessageW(h, EM_SETSEL, 0, 0);
    SendMessageW(h, EM_SCROLLCARET, 0, 0);
    SendMessageW(h, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(h, nullptr, TRUE);
}

}  // namespace srt::app
