#include "skin/form/framegeom.h"

#include <algorithm>

#include "component/dpi.h"

namespace srt {

std::uint8_t BorderKindFor(std::uint32_t style, std::uint32_t exStyle) {
    if ((style & ws::Popup) && (style & ws::Caption) != ws::Caption) return bkNoFrame;
    if (exStyle & ws::ExWindowEdge) return bkFrame;
    if (style & ws::ThickFrame) return bkFrame;
    return bkThin;
}

std::uint8_t BorderIconsFor(std::uint32_t style, bool hasSystemMenu) {
    std::uint8_t icons = 0;
    if ((style & ws::SysMenu) || hasSystemMenu) icons |= biSystemMenu;
    if (style & ws::MinimizeBox) icons |= biMinimize;
    if (style & ws::MaximizeBox) icons |= biMaximize;
    return icons;
}

namespace {
// Size of one frame; a frame count below 1 counts as 1.
int PerFrame(int size, int frames) { return size / std::max(frames, 1); }
}  // namespace

TFrameMetrics ComputeFrameMetrics(const TSkinElements& skin, std::uint8_t borderKind) {
    TFrameMetrics m;
    if (borderKind == bkNoFrame) return m;
    m.TitleHeight = PerFrame(skin.Top->Image.Height(), skin.Top->FrameCount);
    m.BorderLeft = PerFrame(skin.Left->Image.Width(), skin.Left->FrameCount);
    m.BorderRight = PerFrame(skin.Right->Image.Width(), skin.Right->FrameCount);
    m.BorderBottom = PerFrame(skin.Bottom->Image.Height(), skin.Bottom->FrameCount);
    return m;
}

TSkinRect SkinnedClientRect(const TFrameMetrics& m, int menuHeight, const TSkinRect& w) {
    return {w.Left + m.BorderLeft, w.Top + m.TitleHeight + menuHeight, w.Right - m.BorderRight,
            w.Bottom - m.BorderBottom};
}

std::array<TSkinRect, 4> BorderPartRects(const TFrameMetrics& m, int width, int height) {
    return {{
        {0, 0, m.BorderLeft, height},
        {width - m.BorderRight, 0, width, height},
        {m.BorderLeft, 0, width - m.BorderRight, m.TitleHeight},
        {m.BorderLeft, height - m.BorderBottom, width - m.BorderRight, height},
    }};
}

TFrameGeometry FrameGeometryFor(const TFrameMetrics& m, int menuHeight, bool hasMenuBar, int width,
                                int height) {
    TFrameGeometry l;
    l.Width = width;
    l.Height = height;
    l.Metrics = m;
    l.Edges = BorderPartRects(m, width, height);
    l.Title = l.Edges[2];
    if (m.TitleHeight > kTitleSizingBand) l.Caption = {0, kTitleSizingBand, width, m.TitleHeight};
    if (hasMenuBar && menuHeight > 0)
        l.MenuBar = {m.BorderLeft, m.TitleHeight, width - m.BorderRight, m.TitleHeight + menuHeight};
    l.Client = SkinnedClientRect(m, menuHeight, {0, 0, width, height});
    return l;
}

int BorderFrame(const TDataSkinObject& edge, bool active) {
    return active || edge.FrameCount <= 1 ? 1 : 2;
}

int FrameHitTest(int defaultResult, const TFrameGeometry& layout, int buttonCode, int x, int y) {
    if (buttonCode != htNowhere) return buttonCode;
    if (defaultResult != htNowhere) return defaultResult;
    if (layout.MenuBar.Contains(x, y)) return htMenu;
    if (layout.Caption.Contains(x, y)) return htCaption;
    return defaultResult;
}

TSkinRect LayoutCaptionText(const TDataSkinTitle& title, const TCaptionLayoutInput& in) {
    const TSkinRect& r = in.title;
    // The measured rectangle, widened by the text background margins.
    TSkinRect t{r.Left, r.Top, r.Left + in.textWidth + title.TXTBackleft + title.TXTBackRight,
                r.Top + in.textHeight};
    const int shift = title.LeftWidth, shiftVert = title.TopHeight, rightClip = title.RightWidth;
    // Where the text ends at the latest: the skin's clip, and never inside
    // the buttons on the right (a minimise button left of the clip).
    int end = r.Right - rightClip;
    if (in.buttonsRight > 0) end = std::min(end, in.buttonsRight);
    const int alignment = in.rightToLeft ? 2 : title.TextAlignment;
    int dx = 0;
    switch (alignment) {
    case 0: dx = shift; break;
    case 1: dx = (r.Width() - t.Width()) / 2; break;
    case 2: dx = (end - r.Left) - t.Width(); break;
    default: dx = 0; break;
    }
    const int dy = (r.Height() - t.Height()) / 2 + shiftVert / 2;
    t = t.Offset(dx, dy);
    // Text placed by its width starts after the buttons on the left.
    if (alignment == 1 || alignment == 2) t.Left = std::max(t.Left, std::max(in.buttonsLeft, r.Left));
    // A popup (a dialog) reaches to its caption buttons, and a long caption
    // stops there too instead of running under them; without buttons on the
    // right it ends with the title.
    if (in.popup)
        t.Right = in.buttonsRight > 0 ? in.buttonsRight - ScaleToDpi(5, in.dpi) : std::min(t.Right, r.Right);
    else
        t.Right = std::min(t.Right, end);
    t.Right = std::max(t.Right, t.Left);
    return t;
}

int DialogCaptionWidth(const TFrameMetrics& m, const TDataSkinTitle& title, int spaceWidth,
                       int textLength) {
    return spaceWidth * (textLength + 7) + m.BorderLeft + m.BorderRight + title.LeftWidth +
           title.RightWidth + title.TXTBackleft + title.TXTBackRight;
}

bool IsMessageDialogClass(std::string_view className) {
    return className == "TMessageForm" || className == "#32770";
}

}  // namespace srt
