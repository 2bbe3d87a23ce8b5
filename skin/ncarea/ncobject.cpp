#include "skin/ncarea/ncobject.h"

namespace srt {

TNCObject::~TNCObject() {
    if (FOwner && FOwner->HotObject() == this) FOwner->DropHotObject();
}

void TNCObject::LeaveOtherHot() {
    TNCObject* hot = FOwner->HotObject();
    if (hot && hot != this) hot->MouseLeave();
}

void TNCObject::MouseDown() {
    LeaveOtherHot();
    if (!FVisible) return;
    FOwner->SetHotObject(this);
    FState = stPressed;
    Draw();
}

void TNCObject::MouseUp() {
    if (!FVisible) return;
    FState = stHover;
    Draw();
}

void TNCObject::MouseMove() {
    if (FOwner->HotObject() == this) return;
    LeaveOtherHot();
    if (!FVisible) return;
    FOwner->SetHotObject(this);
    FState = stHover;
    Draw();
}

// Also for an object that has been hidden meanwhile: the owner never keeps a
// hot object that cannot leave.
void TNCObject::MouseLeave() {
    if (FOwner->HotObject() == this) FOwner->DropHotObject();
    FState = stNormal;
    Draw();
}

}  // namespace srt
