// Timers, pictures and the image control.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "component/controls.h"

// A window timer on a hidden window of its own.
class TTimer : public TComponent {
    SRT_DECLARE_CLASS()
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    std::int32_t Interval() const { return interval_; }
    void SetInterval(std::int32_t v);
    TNotifyEvent OnTimer;
    void Loaded() override;

private:
    static LRESULT CALLBACK TimerProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
    void Update();
    HWND window_ = nullptr;
    bool enabled_ = true;
    std::int32_t interval_ = 1000;
};

// A picture format: decodes its stored bytes and draws itself.
class TGraphic {
public:
    virtual ~TGraphic() = default;
    // False when the bytes are not a picture of this format.
    virtual bool LoadFromBytes(std::span<const std::uint8_t> bytes) = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Draws at (x, y); a transparent colour stays see-through.
    virtual void Draw(HDC dc, int x, int y) = 0;
};

// A registered picture class: the name it is stored under, its file
// extension, its description and its clipboard format.
struct TGraphicFormat {
    std::string ClassName;        // "TGIFImage"
    std::string Extension;        // "GIF", without the dot
    std::string Description;      // "GIF Image"
    std::string ClipboardName;    // "GIF Image"; empty: none
    std::function<std::unique_ptr<TGraphic>()> Factory;
    UINT ClipboardFormat = 0;     // set by Register
};

// The picture classes a program knows.
class TGraphicFormats {
public:
    // Adds a class, or replaces the one of the same class name; registers
    // its clipboard format with the system.
    void Register(TGraphicFormat format);
    // By class name (exact) or extension (any case, with or without the dot).
    const TGraphicFormat* FindClass(std::string_view className) const;
    const TGraphicFormat* FindExtension(std::string_view extension) const;
    const TGraphicFormat* FindClipboardFormat(UINT format) const;
    const std::vector<TGraphicFormat>& Formats() const { return formats_; }

    // The running application's formats (it names them while it exists),
    // which new images decode with; null without an application.
    static const TGraphicFormats* Current();
    static void SetCurrent(const TGraphicFormats* formats);

private:
    std::vector<TGraphicFormat> formats_;
};

// A picture as stored: the byte block "Data" holds the graphic's class name
// (a length byte and its characters) followed directly by the graphic's own
// stream. The bytes are kept as read, so a picture of a class that no one
// registered, or one that does not decode, still round-trips.
class TPicture : public TPersistent {
    SRT_DECLARE_CLASS()
public:
    explicit TPicture(const TGraphicFormats* formats = nullptr) : formats_(formats) {}
    void SetFormats(const TGraphicFormats* formats);
    TGraphic* Graphic() const { return graphic_.get(); }
    // The stored class name; empty when the data holds none.
    const std::string& GraphicClassName() const { return className_; }
    const std::vector<std::uint8_t>& Data() const { return data_; }
    void SetData(std::vector<std::uint8_t> data);
    // Data for a graphic of the class `className` whose stream is `stream`.
    static std::vector<std::uint8_t> StoredData(std::string_view className, std::span<const std::uint8_t> stream);
    void DefineProperties(std::vector<TBlockProperty>& blocks) override;
    std::function<void()> OnChange;

private:
    void Decode();
    const TGraphicFormats* formats_;
    std::string className_;
    std::vector<std::uint8_t> data_;
    std::unique_ptr<TGraphic> graphic_;
};

class TImage : public TGraphicControl {
    SRT_DECLARE_CLASS()
public:
    explicit TImage(TComponent* owner);
    TPicture* Picture() { return &picture_; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    bool Center() const { return center_; }
    void SetCenter(bool v);
    // A picture that gives the size keeps it; only the position scales.
    void ChangeScale(int to, int from) override;

protected:
    void Paint(TCanvas& canvas) override;

private:
    void PictureChanged();
    TPicture picture_;
    bool autoSize_ = false;
    bool transparent_ = false;
    bool center_ = false;
};
