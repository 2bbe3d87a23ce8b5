// Objects of a skinned non-client area (caption buttons, menu bar items)
// and the owner that tracks which of them is hot. Platform-free; the
// owner paints.
#pragma once

#include "skin/ncarea/skinrect.h"

namespace srt {

class TNCObject;

// What a non-client object needs from the skin that holds it.
class TNCOwner {
public:
    virtual ~TNCOwner() = default;
    // Paints one object in its current state, directly on the window.
    virtual void PaintNCObject(TNCObject& object) = 0;

    // The one object under the mouse or pressed, if any.
    TNCObject* HotObject() const { return FHotObject; }
    // Takes `object` as the hot object without drawing anything.
    void SetHotObject(TNCObject* object) { FHotObject = object; }
    // Forgets the hot object without drawing it (it is about to be drawn
    // anew or freed).
    void DropHotObject() { FHotObject = nullptr; }

private:
    TNCObject* FHotObject = nullptr;
};

// A caption button or a menu bar item.
class TNCObject {
public:
    enum : int { stNormal = 1, stPressed = 2, stHover = 3 };
    explicit TNCObject(TNCOwner* owner) : FOwner(owner) {}
    virtual ~TNCObject();
    TNCObject(const TNCObject&) = delete;
    TNCObject& operator=(const TNCObject&) = delete;

    virtual void MouseDown();
    virtual void MouseUp();
    virtual void MouseMove();
    virtual void MouseLeave();
    virtual void Draw() {}
    // Whether a frame paint keeps this object's hot or pressed look (and so
    // its place as the owner's hot object); caption buttons are drawn anew.
    virtual bool KeepsLookOverFramePaint() const { return false; }

    TNCOwner* FOwner;
    TSkinRect FBounds;     // window coordinates
    bool FVisible = false; // shown; an invisible object ignores the mouse
    int FState = stNormal;

protected:
    void LeaveOtherHot();
};

}  // namespace srt
