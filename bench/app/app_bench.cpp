// Open, adjust and save of a generated subtitle file in the real main window
// (its memo, its commands), the dialogs answered by a script. Prints the
// three times, and the time the bare platform memo (a plain EDIT of the same
// styles, font and size, unskinned, no document) takes to open the same file,
// with the window's open time as a multiple of it. Run under Wine with a
// display (see bench/app/CMakeLists.txt).
// Usage: app_bench [CUES]   (default 100000)
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "component/wstr.h"
#include "mainform.h"

namespace {

class ScriptedPrompts : public TPrompts {
public:
    std::string path;
    int messages = 0;
    bool ExecuteOpen(TOpenDialog& d) override {
        d.SetFileName(path);
        return true;
    }
    bool ExecuteSave(TSaveDialog& d) override {
        d.SetFileName(path + ".out");
        return true;
    }
    void Message(const std::string&, const std::string& text) override {
        ++messages;
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    void Error(const std::string&, const std::string& text) override {
        ++messages;
        std::fprintf(stderr, "error: %s\n", text.c_str());
    }
};

std::string Time(long ms) {
    char s[32];
    std::snprintf(s, sizeof s, "%02ld:%02ld:%02ld,%03ld", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
    return s;
}

std::string MakeFile(int cues) {
    const char* texts[] = {"The tide comes in at dawn.", "<i>Somewhere a bell rings twice.</i>",
                           "\xe6\xbd\xae\xe6\xb0\xb4\xe5\x9c\xa8\xe9\xbb\x8e\xe6\x98\x8e\xe6\x97\xb6\xe6\xb6\xa8\xe8\xb5\xb7\xe3\x80\x82",
                           "Then we sail, whatever the wind says."};
    std::string s;
    s.reserve(static_cast<std::size_t>(cues) * 90);
    for (int i = 0; i < cues; ++i) {
        long start = 1000L + i * 800L;
        s += std::to_string(i + 1) + "\r\n" + Time(start) + " --> " + Time(start + 700) + "\r\n";
        s += texts[i % 4];
        s += "\r\n\r\n";
    }
    return s;
}

double Seconds(const std::function<void()>& f) {
    auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Opens the file as the bare control would: read, decode UTF-8 once, set the
// text. The EDIT copies the memo's styles, font and size; its parent is a
// plain top-level window of the platform's static class.
double BareMemoOpen(HWND memo, const std::wstring& path) {
    RECT r{};
    GetClientRect(memo, &r);
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(memo, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(memo, GWL_EXSTYLE));
    HWND parent = CreateWindowExW(0, L"STATIC", L"bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                                  nullptr, nullptr, nullptr);
    HWND edit = CreateWindowExW(exStyle, L"EDIT", L"", (style & ~WS_POPUP) | WS_CHILD | WS_VISIBLE, 0, 0,
                                r.right, r.bottom, parent, nullptr, nullptr, nullptr);
    SendMessageW(edit, WM_SETFONT, SendMessageW(memo, WM_GETFONT, 0, 0), FALSE);
    Application->ProcessMessages();
    const double seconds = Seconds([&] {
        HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        const DWORD size = GetFileSize(f, nullptr);
        std::string bytes(size, '\0');
        DWORD got = 0;
        ReadFile(f, bytes.data(), size, &got, nullptr);
        CloseHandle(f);
        const int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(got), nullptr, 0);
        std::wstring text(static_cast<std::size_t>(n), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(got), text.data(), n);
        SetWindowTextW(edit, text.c_str());
    });
    DestroyWindow(parent);
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    const int cues = argc > 1 ? std::atoi(argv[1]) : 100000;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    ScriptedPrompts prompts;
    prompts.path = Narrow(temp) + "srt-app-bench-" + std::to_string(GetCurrentProcessId()) + ".srt";
    const std::string bytes = MakeFile(cues);
    std::ofstream(std::filesystem::path(Widen(prompts.path)), std::ios::binary) << bytes;

    TApplication app;
    Application->SetTitle("SrtRetime");
    Application->SetPrompts(&prompts);
    RegisterMainFormClasses(Application->Classes(), Application->GraphicFormats());
    TForm1* form = Application->CreateForm<TForm1>();
    form->Show();
    Application->ProcessMessages();

    const double open = Seconds([&] { form->Button1Click(form); });
    form->Edit1->SetText("1500");
    const double adjust = Seconds([&] { form->Button2Click(form); });
    const double save = Seconds([&] { form->Button3Click(form); });
    Application->ProcessMessages();
    const double bare = BareMemoOpen(form->Memo1->Handle(), Widen(prompts.path));
    // The document's share of the window's open: the file's lines and the
    // memo's text, without the memo.
    srt::WindowsTextCodec codec;
    srt::Document document(codec);
    std::size_t shown = 0;
    const double documentOnly = Seconds([&] {
        document.Append(bytes);
        shown = document.Text().size();
    });

    std::ifstream in(std::filesystem::path(Widen(prompts.path + ".out")), std::ios::binary | std::ios::ate);
    const long long saved = in ? static_cast<long long>(in.tellg()) : -1;
    std::printf("main window, %d cues, %.1f MB\n", cues, bytes.size() / 1e6);
    std::printf("  open    %7.3f s\n  adjust  %7.3f s\n  save    %7.3f s   (%lld bytes written)\n", open, adjust,
                save, saved);
    std::printf("bare memo open %7.3f s; the window's open takes %.2fx\n", bare, bare > 0 ? open / bare : 0.0);
    std::printf("of which the document %7.3f s (%zu characters shown)\n", documentOnly, shown);
    DeleteFileW(Widen(prompts.path).c_str());
    DeleteFileW(Widen(prompts.path + ".out").c_str());
    return prompts.messages == 0 && saved == static_cast<long long>(bytes.size()) ? 0 : 1;
}
