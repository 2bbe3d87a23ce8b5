#include "skin/manager/formrules.h"

namespace srt {

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool AcceptFormClass(std::string_view className, TSkinControls skinControls,
                     const TFormSkinFilter& filter) {
    bool doSkin = true;
    if (filter) {
        filter(className, doSkin);
        return doSkin;
    }
    if (className == "SysMonthCal32") return false;
    if (skinControls.Has(xcFastReport) && className.starts_with("Tfr")) return false;
    return doSkin;
}

TSkinRefusal CheckSkinWindow(const TSkinWindowFacts& f) {
    if (!f.managerActive) return TSkinRefusal::NotActive;
    if (f.answersQuery || f.hasFormSkin) return TSkinRefusal::AlreadySkinned;
    if (!f.scanning && f.isChild && LowerAscii(f.parentClassName) != "mdiclient")
        return TSkinRefusal::ChildWindow;
    // Width times height in 64 bits: a huge window must not wrap to zero.
    if (static_cast<std::int64_t>(f.width) * f.height == 0) return TSkinRefusal::ZeroSize;
    if (f.isForm && f.formTag == 99) return TSkinRefusal::FormTag99;
    if (f.className == "TApplication") return TSkinRefusal::Application;
    return TSkinRefusal::None;
}

int SelectSkinData(const std::vector<TSkinDataCandidate>& datas, std::uintptr_t window,
                   std::string_view className) {
    auto last = [&](auto&& match) {
        int found = -1;
        for (int i = 0; i < static_cast<int>(datas.size()); ++i)
            if (match(datas[i])) found = i;
        return found;
    };
    int i = last([&](const TSkinDataCandidate& d) {
        return d.formType == sfOnlyThisForm && d.ownerIsWindow && d.ownerHandle == window;
    });
    if (i >= 0) return i;
    const std::string lower = LowerAscii(className);
    if (lower == "tmessageform" || lower == "#32770") {
        i = last([](const TSkinDataCandidate& d) { return d.formType == sfDialog; });
        if (i >= 0) return i;
    }
    i = last([](const TSkinDataCandidate& d) { return d.formType == sfMainform; });
    if (i >= 0) return i;
    return datas.empty() ? -1 : 0;
}

}  // namespace srt
