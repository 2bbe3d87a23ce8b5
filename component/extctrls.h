// Timers, pictures and the image control.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
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

// Picture formats, recognised by the first bytes of their stream.
class TGraphicFormats {
public:
    using Sniff = std::function<bool(std::span<const std::uint8_t>)>;
    using Factory = std::function<std::unique_ptr<TGraphic>()>;
    void Register(std::string name, Sniff sniff, Factory factory);
    // The format's name and a graphic made by it, or "" and null.
    std::pair<std::string, std::unique_ptr<TGraphic>> Create(std::span<const std::uint8_t> bytes) const;

private:
    struct Format {
        std::string name;
        Sniff sniff;
        Factory factory;
    };
    std::vector<Format> formats_;
};

// A picture as stored: the byte block "Data" holds the picture's own stream
// (a GIF file). The bytes are kept as read, so a picture of a format that no
// one registered, or one that does not decode, still round-trips.
class TPicture : public TPersistent {
    SRT_DECLARE_CLASS()
public:
    explicit TPicture(const TGraphicFormats* formats = nullptr) : formats_(formats) {}
    void SetFormats(const TGraphicFormats* formats);
    TGraphic* Graphic() const { return graphic_.get(); }
    const std::string& Format() const { return format_; }
    const std::vector<std::uint8_t>& Data() const { return data_; }
    void SetData(std::vector<std::uint8_t> data);
    void DefineProperties(std::vector<TBlockProperty>& blocks) override;
    std::function<void()> OnChange;

private:
    void Decode();
    const TGraphicFormats* formats_;
    std::string format_;
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

protected:
    void Paint(TCanvas& canvas) override;

private:
    void PictureChanged();
    TPicture picture_;
    bool autoSize_ = false;
    bool transparent_ = false;
    bool center_ = false;
};
