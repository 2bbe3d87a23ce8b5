#include "component/extctrls.h"

#include <stdexcept>

#include "component/dpi.h"
#include "component/wstr.h"

// ---- TTimer --------------------------------------------------------------------

SRT_DEFINE_CLASS(TTimer, TComponent, {
    b.Boolean("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true);
    b.Integer("Interval", &TTimer::Interval, &TTimer::SetInterval, 1000);
    b.Event("OnTimer", &TTimer::OnTimer);
})

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(instance, L"TTimerWindow", &wc)) {
        wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = TimerProc;
        wc.hInstance = instance;
        wc.lpszClassName = L"TTimerWindow";
        RegisterClassExW(&wc);
    }
    window_ = CreateWindowExW(0, L"TTimerWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TTimer::~TTimer() {
    if (window_) {
        KillTimer(window_, 1);
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

LRESULT CALLBACK TTimer::TimerProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_TIMER) {
        if (auto* t = reinterpret_cast<TTimer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
            t->OnTimer(t);
            return 0;
        }
    }
    return DefWindowProcW(hwnd, msg, wparam, lparam);
}

void TTimer::Update() {
    if (!window_) return;
    KillTimer(window_, 1);
    if (enabled_ && interval_ > 0 && !InState(csLoading))
        SetTimer(window_, 1, static_cast<UINT>(interval_), nullptr);
}

void TTimer::SetEnabled(bool v) {
    enabled_ = v;
    Update();
}

void TTimer::SetInterval(std::int32_t v) {
    interval_ = v;
    Update();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    Update();
}

// ---- pictures ------------------------------------------------------------------

namespace {

std::string UpperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

}  // namespace

void TGraphicFormats::Register(TGraphicFormat format) {
    if (!format.ClipboardName.empty())
        format.ClipboardFormat = RegisterClipboardFormatW(Widen(format.ClipboardName).c_str());
    for (auto& f : formats_)
        if (f.ClassName == format.ClassName) {
            f = std::move(format);
            return;
        }
    formats_.push_back(std::move(format));
}

const TGraphicFormat* TGraphicFormats::FindClass(std::string_view className) const {
    for (const auto& f : formats_)
        if (f.ClassName == className) return &f;
    return nullptr;
}

const TGraphicFormat* TGraphicFormats::FindExtension(std::string_view extension) const {
    if (!extension.empty() && extension[0] == '.') extension.remove_prefix(1);
    const std::string wanted = UpperAscii(extension);
    for (const auto& f : formats_)
        if (UpperAscii(f.Extension) == wanted) return &f;
    return nullptr;
}

namespace {
const TGraphicFormats* g_currentFormats = nullptr;
}  // namespace

const TGraphicFormats* TGraphicFormats::Current() { return g_currentFormats; }
void TGraphicFormats::SetCurrent(const TGraphicFormats* formats) { g_currentFormats = formats; }

const TGraphicFormat* TGraphicFormats::FindClipboardFormat(UINT format) const {
    for (const auto& f : formats_)
        if (format != 0 && f.ClipboardFormat == format) return &f;
    return nullptr;
}

SRT_DEFINE_CLASS(TPicture, TPersistent, )

void TPicture::SetFormats(const TGraphicFormats* formats) {
    formats_ = formats;
    Decode();
}

void TPicture::SetData(std::vector<std::uint8_t> data) {
    data_ = std::move(data);
    Decode();
    if (OnChange) OnChange();
}

std::vector<std::uint8_t> TPicture::StoredData(std::string_view className, std::span<const std::uint8_t> stream) {
    if (className.size() > 255) throw std::length_error("graphic class name longer than 255 characters");
    std::vector<std::uint8_t> out;
    out.reserve(1 + className.size() + stream.size());
    out.push_back(static_cast<std::uint8_t>(className.size()));
    out.insert(out.end(), className.begin(), className.end());
    out.insert(out.end(), stream.begin(), stream.end());
    return out;
}

void TPicture::Decode() {
    graphic_.reset();
    className_.clear();
    if (data_.empty()) return;
    const std::size_t length = data_[0];
    if (1 + length > data_.size()) return;
    className_.assign(data_.begin() + 1, data_.begin() + 1 + static_cast<std::ptrdiff_t>(length));
    const TGraphicFormat* format = formats_ ? formats_->FindClass(className_) : nullptr;
    if (!format || !format->Factory) return;
    std::unique_ptr<TGraphic> graphic = format->Factory();
    if (graphic && graphic->LoadFromBytes(std::span<const std::uint8_t>(data_).subspan(1 + length)))
        graphic_ = std::move(graphic);
}

void TPicture::DefineProperties(std::vector<TBlockProperty>& blocks) {
    TBlockProperty b;
    b.Name = "Data";
    b.HasData = !data_.empty();
    b.Read = [this](std::span<const std::uint8_t> bytes) { SetData(std::vector<std::uint8_t>(bytes.begin(), bytes.end())); };
    b.Write = [this] { return data_; };
    blocks.push_back(std::move(b));
}

// ---- TImage --------------------------------------------------------------------

SRT_DEFINE_CLASS(TImage, TGraphicControl, {
    b.Boolean("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize, false);
    b.Boolean("Center", &TImage::Center, &TImage::SetCenter, false);
    b.Object("Picture", &TImage::Picture);
    b.Boolean("Transparent", &TImage::Transparent, &TImage::SetTransparent, false);
    b.Event("OnClick", &TImage::OnClick);
})

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(TGraphicFormats::Current()) {
    SetBounds(0, 0, 105, 105);
    picture_.OnChange = [this] { PictureChanged(); };
}

void TImage::PictureChanged() {
    if (autoSize_ && picture_.Graphic())
        SetBounds(Left(), Top(), picture_.Graphic()->Width(), picture_.Graphic()->Height());
    Invalidate();
}

void TImage::ChangeScale(int to, int from) {
    if (!autoSize_ || !picture_.Graphic()) return TGraphicControl::ChangeScale(to, from);
    SetBounds(srt::RescaleDpi(Left(), from, to), srt::RescaleDpi(Top(), from, to), Width(), Height());
}

void TImage::SetAutoSize(bool v) {
    autoSize_ = v;
    PictureChanged();
}

void TImage::SetTransparent(bool v) {
    transparent_ = v;
    Invalidate();
}

void TImage::SetCenter(bool v) {
    center_ = v;
    Invalidate();
}

void TImage::Paint(TCanvas& canvas) {
    TGraphic* g = picture_.Graphic();
    if (!g) return;
    int x = center_ ? (Width() - g->Width()) / 2 : 0;
    int y = center_ ? (Height() - g->Height()) / 2 : 0;
    g->Draw(canvas.Handle(), x, y);
}
