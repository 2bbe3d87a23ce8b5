// What the timing window re-times: the main window's document, seen
// through the two operations the window needs.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>

#include "core/document.h"
#include "core/retime.h"

namespace srt::app {

class TRetimeTarget {
public:
    // The document brought in line with what the window shows.
    virtual const Document& SyncedDocument() = 0;
    // Re-times it all or nothing, as one undo step; the refused line (from
    // 1) and the rule's message, or nothing.
    virtual std::optional<std::pair<std::size_t, std::wstring>> Retime(const TimeMap& map, const TimeRange& range) = 0;

protected:
    ~TRetimeTarget() = default;
};

}  // namespace srt::app
