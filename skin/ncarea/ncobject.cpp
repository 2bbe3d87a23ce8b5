#include "skin/ncarea/ncobject.h"

namespace srt {

TNCObject::~TNCObject() {
    if (FOwner && FOwner->FHotObject == this) FOwner->FHotObject = nullptr;
}

void TNCObject::LeaveOtherHot() {
    TNCObject* hot = FOwner->FHotObject;
    if (hot && hot != this) hot->MouseLeave();
}

void TNCObject::MouseDown() {
    LeaveOtherHot();
    if (!FVisible) return;
    FOwner->FHotObject = this;
    FState = stPressed;
    Draw();
}

void TNCObject::MouseUp() {
    if (!FVisible) return;
    FState = stHover;
    Draw();
}

void TNCObject::MouseMove() {
    if (FOwner->FHotObject == this) return;
    LeaveOtherHot();
    if (!FVisible) return;
    FOwner->FHotObject = this;
    FState = stHover;
    Draw();
}

// Also for an object that has been hidden meanwhile: the owner never keeps a
// hot object that cannot leave.
void TNCObject::MouseLeave() {
    if (FOwner->FHotObject == this) FOwner->FHotObject = nullptr;
    FState = stNormal;
    Draw();
}

}  // namespace srt
