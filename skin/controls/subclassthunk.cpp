#include "skin/controls/subclassthunk.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "skin/thunk/thunkcode.h"

namespace srt {

namespace {

constexpr std::size_t kSlot = kThunkCodeSize;
constexpr std::size_t kPage = 4096;

// Executable slots, carved from pages that live until program end.
class TThunkPool {
public:
    unsigned char* Take() {
        if (free_.empty()) {
            auto* page = static_cast<unsigned char*>(
                VirtualAlloc(nullptr, kPage, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
            if (!page) return nullptr;
            for (std::size_t i = kPage / kSlot; i-- > 0;) free_.push_back(page + i * kSlot);
        }
        unsigned char* slot = free_.back();
        free_.pop_back();
        return slot;
    }
    void Give(unsigned char* slot) { free_.push_back(slot); }

private:
    std::vector<unsigned char*> free_;
};

TThunkPool& Pool() {
    static TThunkPool pool;
    return pool;
}

}  // namespace

TSubclassThunk::TSubclassThunk(void* object, TEntry entry) : record_(new TRecord{object, nullptr, nullptr}), code_(Pool().Take()) {
    if (code_) Write(entry);
}

TSubclassThunk::~TSubclassThunk() {
    if (Subclassed()) Unsubclass(false);
    if (!record_) return;  // left in a window's chain
    if (code_) Pool().Give(code_);
    delete record_;
}

void TSubclassThunk::Write(TEntry entry) {
    const TThunkCode code = ThunkCode(kThunkArchHost, reinterpret_cast<std::uintptr_t>(record_),
                                      reinterpret_cast<std::uintptr_t>(entry));
    std::memcpy(code_, code.data(), kSlot);
    FlushInstructionCache(GetCurrentProcess(), code_, kSlot);
}

bool TSubclassThunk::Subclass(HWND window) {
    if (!code_ || !window || Subclassed()) return false;
    record_->window = window;
    record_->oldProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    SetLastError(0);
    if (!SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(code_)) && GetLastError() != 0) {
        record_->window = nullptr;
        record_->oldProc = nullptr;
        return false;
    }
    return true;
}

void TSubclassThunk::Unsubclass(bool windowGone) {
    if (!Subclassed()) return;
    HWND window = record_->window;
    const auto current = reinterpret_cast<unsigned char*>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    if (current == code_) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record_->oldProc));
    } else if (!windowGone && IsWindow(window)) {
        // Another procedure was put on top of ours: keep the chain whole.
        record_->object = nullptr;
        Write(&TSubclassThunk::PassOn);
        record_ = nullptr;
        code_ = nullptr;
        return;
    }
    record_->window = nullptr;
    record_->oldProc = nullptr;
}

LRESULT TSubclassThunk::CallOld(HWND record, UINT msg, WPARAM wparam, LPARAM lparam) {
    const auto* r = reinterpret_cast<const TRecord*>(record);
    if (!r->oldProc) return DefWindowProcW(r->window, msg, wparam, lparam);
    return CallWindowProcW(r->oldProc, r->window, msg, wparam, lparam);
}

LRESULT CALLBACK TSubclassThunk::PassOn(HWND record, UINT msg, WPARAM wparam, LPARAM lparam) {
    return CallOld(record, msg, wparam, lparam);
}

}  // namespace srt
