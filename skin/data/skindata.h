// TSkinData: the skin data component. It carries a packed skin in its
// owner's stored description ("SkinStream") or loads one from a file, reads
// it into the element records, and registers with the skin manager, which
// skins the application's windows. Its published properties are the
// engine's whole configuration surface.
//
// The manager sits above this component: it makes and owns itself and
// links itself here (SetSkinManager). The component reaches it only
// through ISkinManagerLink and never makes one; while no manager is linked,
// every call into it is left out.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "component/classes.h"
#include "component/graphics.h"
#include "skin/data/records.h"
#include "skin/data/skinenums.h"

#ifdef _WIN32
#include "component/gdi.h"
#endif

class TSkinData;
namespace srt {
class TSkinReader;
}

using srt::TSkinFormType;
using srt::sfMainform;
using srt::sfOnlyThisForm;
using srt::sfDialog;
using srt::TSkinControlType;
using srt::xcMainMenu, srt::xcPopupMenu, srt::xcToolbar, srt::xcControlbar, srt::xcCombo,
    srt::xcCheckBox, srt::xcRadioButton, srt::xcProgress, srt::xcScrollbar, srt::xcEdit,
    srt::xcButton, srt::xcBitBtn, srt::xcSpeedButton, srt::xcPanel, srt::xcGroupBox,
    srt::xcStatusBar, srt::xcTab, srt::xcSystemMenu, srt::xcFastReport;
// A set of TSkinControlType: bit n for the element of ordinal n (the bits
// of srt::TSkinControls).
using TSkinControls = std::uint32_t;
constexpr TSkinControls SkinControl(TSkinControlType t) { return TSkinControls{1} << t; }
// Every element but xcFastReport.
constexpr TSkinControls kDefaultSkinControls = srt::TSkinControls::Default().Bits();

// Deferred manager actions.
using TSkinManagerAction = srt::TManagerAction;
using srt::maNone, srt::maActivate, srt::maDeactivate, srt::maRefresh, srt::maPurge;

// What the component needs of the skin manager.
class ISkinManagerLink {
public:
    virtual ~ISkinManagerLink() = default;
    virtual void AddSkinData(TSkinData* data) = 0;
    virtual void RemoveSkinData(TSkinData* data) = 0;
    // `data` is being freed: nothing may refer to it afterwards (its
    // registrations, pending requests, the form skins that use it).
    virtual void SkinDataGone(TSkinData* data) { RemoveSkinData(data); }
    // The thread's CBT hook; installing it twice installs it once.
    virtual void InstallHook() = 0;
    // Runs `action` with the skin of `source` `intervalMs` after the last
    // request, on the GUI thread.
    virtual void RequestAction(TSkinManagerAction action, TSkinData* source, int intervalMs) = 0;
    // Every form skin drops its cached bitmaps.
    virtual void FreeFormCaches() = 0;
    // Switches skinning on and counts it as started (sfOnlyThisForm, sfDialog).
    virtual void StartSkinning() = 0;
    // Skins the window of `form` at once.
    virtual void SkinWindow(TComponent* form) = 0;
};

// The manager linked now, or null.
ISkinManagerLink* SkinManager();
// The manager links itself as it is made and unlinks (null) as it goes; a
// test may link its own.
void SetSkinManager(ISkinManagerLink* manager);

// The default Skin3rd lines: further control classes and the skin kind each
// is painted as.
const std::vector<std::string>& DefaultSkin3rd();

using TOnFormSkin = TEvent<void(TObject* sender, const std::string& aName, bool& doSkin)>;
// Sender (the form skin), SkinData, Form, Control, ControlClass (upper
// case), var SkinnedControl (initially null).
using TOnSkinControl = TEvent<void(TObject* sender, TSkinData* skinData, TComponent* form, TComponent* control,
                                   const std::string& controlClass, TObject*& skinnedControl)>;

// Four 16 x 16 glyphs of the skinned system menu, white transparent:
// restore, maximise, minimise, close.
class TMenuImages {
public:
    static constexpr int kSize = 16;
    static constexpr std::uint32_t kTransparent = 0xFFFFFF;
    enum { Restore, Maximise, Minimise, Close, Count };

    // Cuts `strip` (64 x 16) into the four glyphs; false, and empty, for
    // a strip of another size.
    bool Load(const TBitmap& strip);
    int ImageCount() const { return static_cast<int>(images_.size()); }
    const TBitmap& Image(int index) const { return images_.at(index); }

private:
    std::vector<TBitmap> images_;
};

class TSkinData : public TComponent, public srt::TSkinElements {
    SRT_DECLARE_CLASS()
public:
    explicit TSkinData(TComponent* owner);
    ~TSkinData() override;

    bool Active() const { return active_; }
    void SetActive(bool value);
    std::int32_t DisableTag() const { return disableTag_; }
    void SetDisableTag(std::int32_t value) { disableTag_ = value; }
    TSkinControls SkinControls() const { return skinControls_; }
    void SetSkinControls(TSkinControls value) { skinControls_ = value & ((TSkinControls{1} << 19) - 1); }
    bool HasControl(TSkinControlType t) const { return (skinControls_ & SkinControl(t)) != 0; }
    TStringList* Skin3rd() { return &skin3rd_; }
    const TStringList& Skin3rdList() const { return skin3rd_; }
    void SetSkin3rd(const TStrings& lines) { skin3rd_.Assign(lines); }
    std::string SkinFile() const { return skinFile_; }
    // Loads the packed skin of the file `name` (UTF-8) and refreshes its
    // windows. A file that is missing or does not hold a complete skin leaves
    // the current skin as it is; SkinFileError then says why.
    void SetSkinFile(const std::string& name);
    // Why the last SkinFile assignment loaded nothing; empty when it loaded.
    const std::string& SkinFileError() const { return skinFileError_; }
    std::string SkinStore() const;
    void SetSkinStore(const std::string&) {}
    TSkinFormType SkinFormtype() const { return formType_; }
    void SetSkinFormtype(TSkinFormType value) { formType_ = value; }
    bool MenuUpdate() const { return menuUpdate_; }
    void SetMenuUpdate(bool value) { menuUpdate_ = value; }

    TOnFormSkin OnFormSkin;
    TNotifyEvent OnSkinChanged;
    TOnSkinControl OnSkinControl;

    // True from creation, and from the start of every load, until a
    // definition has been read completely.
    bool Empty() const { return empty_; }
    // The packed skin: the bytes of a skin file.
    const std::vector<std::uint8_t>& SkinStream() const { return stream_; }
    // Loads `packed` as if read from a skin file (run time only).
    bool LoadFromBytes(std::vector<std::uint8_t> packed);

    // The records to draw at `dpi`: this component's own at 96 DPI; at any
    // other DPI a set with every margin, position, font height and image at
    // that scale (the package's images drawn for it where it carries them,
    // the 96-DPI images scaled otherwise), made on first use and kept until
    // the next load. Painting and hit testing of one window read one set; a
    // reference is good until the next load, so a painter asks again rather
    // than keep it.
    const srt::TSkinElements& ElementsAt(int dpi) const;
    // The package the records were read from: its definition held, every
    // image packed (the 96-DPI ones are in the records, the per-scale ones
    // are unpacked by ElementsAt when a DPI first needs them). Null while no
    // load has succeeded since the skin bytes last changed.
    const srt::TSkinReader* Package() const { return package_.get(); }

    // Cleared and restored by form skins around menu changes.
    bool NCPaint = true;
    // Filled by the first form skin that builds its icon button.
    TBitmap DefaultIcon;
    TMenuImages MenuImages;
#ifdef _WIN32
    // Solid brushes made by each definition read: Colours.ButtonFace, and the
    // content backgrounds Client, Edit and EditHilight (null when the skin
    // leaves that colour out). Freed with the component or the next read.
    HBRUSH ButtonFaceBrush() const { return buttonFace_.Get(); }
    HBRUSH ClientBrush() const { return client_.Get(); }
    HBRUSH EditBrush() const { return edit_.Get(); }
    HBRUSH EditHilightBrush() const { return editHilight_.Get(); }
#endif

    void DefineProperties(std::vector<TBlockProperty>& blocks) override;
    void Loaded() override;

    // The stored block: length word, then the packed skin.
    void ReadData(std::span<const std::uint8_t> block);
    std::vector<std::uint8_t> WriteData() const;

    // Shows a message of the package reader (wrong version). Natively, and
    // when set, the handler is called instead of a message box.
    static void SetMessageHandler(std::function<void(const std::string&)> handler);

private:
    // Replaces the packed skin; the package read from the old bytes goes first.
    void SetStream(std::vector<std::uint8_t> bytes);
    bool LoadSkin();
    void Refresh();
    void MakeBrushes();

    bool active_ = false;
    std::int32_t disableTag_ = 99;
    TSkinControls skinControls_ = kDefaultSkinControls;
    TStringList skin3rd_;
    std::string skinFile_;
    std::string skinFileError_;
    TSkinFormType formType_ = sfMainform;
    bool menuUpdate_ = true;
    bool empty_ = true;
    std::vector<std::uint8_t> stream_;
    // The package the records were read from, for its per-scale images, and
    // the sets made from them so far, by DPI. The package reads its packed
    // entries from stream_: it is made from stream_ and dropped before
    // stream_ changes or goes.
    std::unique_ptr<srt::TSkinReader> package_;
    mutable std::map<int, std::unique_ptr<srt::TSkinElements>> scaled_;
#ifdef _WIN32
    GdiBrush buttonFace_, client_, edit_, editHilight_;
#endif
};
