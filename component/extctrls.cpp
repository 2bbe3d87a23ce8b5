#include "component/extctrls.h"

#include "component/forms.h"

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

void TGraphicFormats::Register(std::string name, Sniff sniff, Factory factory) {
    formats_.push_back({std::move(name), std::move(sniff), std::move(factory)});
}

std::pair<std::string, std::unique_ptr<TGraphic>> TGraphicFormats::Create(std::span<const std::uint8_t> bytes) const {
    for (const auto& f : formats_)
        if (f.sniff(bytes)) return {f.name, f.factory()};
    return {};
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

void TPicture::Decode() {
    graphic_.reset();
    format_.clear();
    if (data_.empty() || !formats_) return;
    auto [name, graphic] = formats_->Create(data_);
    format_ = std::move(name);
    if (graphic && graphic->LoadFromBytes(data_)) graphic_ = std::move(graphic);
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

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(Application ? &Application->GraphicFormats() : nullptr) {
    SetBounds(0, 0, 105, 105);
    picture_.OnChange = [this] { PictureChanged(); };
}

void TImage::PictureChanged() {
    if (autoSize_ && picture_.Graphic())
        SetBounds(Left(), Top(), picture_.Graphic()->Width(), picture_.Graphic()->Height());
    Invalidate();
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
