#include "skin/menu/menulayout.h"

namespace srt {

int MenuBarStart(bool hasElement, bool rightToLeft, int leftWidth, int rightWidth, int barWidth, int dpi) {
    if (!hasElement) return ScaleToDpi(6, dpi);
    const int start = rightToLeft ? rightWidth + ScaleToDpi(8, dpi) : leftWidth + ScaleToDpi(4, dpi);
    return start > barWidth ? ScaleToDpi(12, dpi) : start;
}

std::vector<TSkinRect> LayoutMenuBar(const std::vector<int>& textWidths, int start, int barWidth, int barHeight,
                                     bool rightToLeft, int dpi) {
    const int gap = ScaleToDpi(10, dpi);
    std::vector<TSkinRect> rects;
    rects.reserve(textWidths.size());
    int x = rightToLeft ? barWidth - start : start;
    for (int text : textWidths) {
        const int w = text < 0 ? 0 : text + gap;
        if (rightToLeft) {
            rects.push_back({x - w, 0, x, barHeight - 1});
            x -= w;
        } else {
            rects.push_back({x, 0, x + w, barHeight - 1});
            x += w;
        }
    }
    return rects;
}

int MenuKeyTarget(TMenuKeyMove move, int current, int count, bool selectedHasSubItems, bool inNestedSubMenu) {
    if (count <= 0 || current < 0) return -1;
    if (move == TMenuKeyMove::Right) {
        if (selectedHasSubItems) return -1;
        return current + 1 >= count ? 0 : current + 1;
    }
    if (inNestedSubMenu) return -1;
    return current == 0 ? count - 1 : current - 1;
}

TSkinRect CentreText(const TSkinRect& r, int textWidth, int textHeight) {
    const int left = r.Left + (r.Width() - textWidth) / 2;
    const int top = r.Top + (r.Height() - textHeight) / 2;
    return {left, top, left + textWidth, top + textHeight};
}

}  // namespace srt
