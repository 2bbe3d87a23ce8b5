// Long work in the main window (opening or adjusting a file of many
// megabytes) without freezing it: the document's work runs on a worker
// thread while the window keeps painting, the memo is filled in chunks, and
// the caption, painted by the skin, says what is going on and how far it
// got. The window takes no input meanwhile; nothing here touches the
// document or any file.
#pragma once

#include <functional>
#include <string>

#include "component/forms.h"
#include "component/stdctrls.h"
#include "lang.h"

namespace srt::app {

// Texts of this many characters and more go through TBusy; smaller ones
// take the platform memo well under a second.
inline constexpr std::size_t kBusyTextSize = 1 << 20;

class TBusy {
public:
    // Disables the window and shows `label` in its caption.
    TBusy(TForm& form, const TText& label, TLanguage language);
    // The caption and input back as they were.
    ~TBusy();
    TBusy(const TBusy&) = delete;
    TBusy& operator=(const TBusy&) = delete;

    // Runs `work` on a worker thread; returns once it has finished (throwing
    // what it threw), the window's messages handled meanwhile.
    void Run(const std::function<void()>& work);

    // Replaces the memo's text chunk by chunk, the caption counting up: a
    // first chunk of `firstChunk` characters (0 for the default), then chunks
    // as large as the text so far, so that the time grows linearly with the
    // text and the last chunk holds the window for about half of it.
    void FillMemo(TMemo& memo, const std::wstring& text, std::size_t firstChunk = 0);

    // Shows `percent` after the label and handles waiting messages.
    void Progress(int percent);

private:
    void Pump();

    TForm& form_;
    std::string caption_;
    std::wstring label_;
    bool quit_ = false;
    int quitCode_ = 0;
};

}  // namespace srt::app
