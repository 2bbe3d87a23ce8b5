// The form-level rules: which top-level windows get a form skin, and which
// registered skin data component paints them. Platform-free; the manager
// gathers the facts from the window and applies these rules in order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "skin/manager/skintypes.h"

namespace srt {

// Lets the application refuse a form class (the skin data's OnFormSkin).
using TFormSkinFilter = std::function<void(std::string_view className, bool& doSkin)>;

// With a filter it alone decides. Otherwise "SysMonthCal32" is refused, and
// with xcFastReport in skinControls so is a class beginning with "Tfr".
bool AcceptFormClass(std::string_view className, TSkinControls skinControls,
                     const TFormSkinFilter& filter = {});

// What the manager knows about a window it is asked to skin.
struct TSkinWindowFacts {
    bool managerActive = false;    // skinning switched on
    bool answersQuery = false;     // the window answered the skin query with 1
    bool hasFormSkin = false;      // the manager already lists a form skin for it
    bool scanning = false;         // the manager walks all forms itself
    bool isChild = false;          // WS_CHILD
    std::string parentClassName;   // of a child window
    int width = 0, height = 0;     // window rectangle
    bool isForm = false;           // a form of the application
    std::int32_t formTag = 0;      // its Tag
    std::string className;
};

// The first test of SkinWindow that fails, in the order they run.
enum class TSkinRefusal {
    None,          // every test passed
    NotActive,
    AlreadySkinned,
    ChildWindow,   // a child window that is not an MDI child, outside a scan
    ZeroSize,
    FormTag99,
    Application,   // the application's hidden window
    ClassRefused,  // AcceptFormClass said no
};

// Tests 1 to 6 of SkinWindow; the class test (7) and the skin data choice
// (8) follow with AcceptFormClass and SelectSkinData.
TSkinRefusal CheckSkinWindow(const TSkinWindowFacts& facts);

// A registered skin data component as SelectSkinData sees it.
struct TSkinDataCandidate {
    TSkinFormType formType = sfMainform;
    bool ownerIsWindow = false;   // owner is a windowed control ...
    std::uintptr_t ownerHandle = 0;  // ... with this window handle
};

// Index of the skin data for a window, or -1 when none is registered. Each
// search keeps the last match: an sfOnlyThisForm owned by the window, then an
// sfDialog for a message dialog ("tmessageform", "#32770"), then an
// sfMainform, else the first registered.
int SelectSkinData(const std::vector<TSkinDataCandidate>& datas, std::uintptr_t window,
                   std::string_view className);

// Lower-case ASCII copy.
std::string LowerAscii(std::string_view text);

}  // namespace srt
