// The streaming re-timer against an independent line-at-a-time reading, for any text
// arriving in pieces of any size.
#include "core/retimer.h"
#include "core/textlines.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// Lines cut at CR LF, LF or a lone CR, each keeping its end; a time line's
// first 29 columns replaced by the rule's result.
std::string LineByLine(std::string_view bytes, const srt::TimeMap& map, const srt::TimeRange& range) {
    std::string out;
    if (bytes.starts_with(srt::kUtf8Bom)) {
        out += srt::kUtf8Bom;
        bytes.remove_prefix(srt::kUtf8Bom.size());
    }
    std::uint64_t timeLines = 0;
    while (!bytes.empty()) {
        std::size_t size = 0;
        while (size < bytes.size() && bytes[size] != '\r' && bytes[size] != '\n') ++size;
        std::size_t endSize = size < bytes.size() ? 1 : 0;
        if (bytes.substr(size, 2) == "\r\n") endSize = 2;
        const std::string line(bytes.substr(0, size));
        const std::string_view end = bytes.substr(size, endSize);
        bytes.remove_prefix(size + endSize);
        bool selected = false;
        if (line.find("-->") != std::string::npos) {
            selected = range.IndexSelected(++timeLines);
            if (range.HasTimeBound()) selected = range.StartSelected(srt::ReadTimeLineStart(line)) && selected;
        }
        if (selected) {
            srt::AppendRetimedLine(out, line, map);
            out += line.substr(line.size() < 29 ? line.size() : 29);
        } else {
            out += line;
        }
        out += end;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t piece = 1 + data[0] % 64;
    srt::TimeRange range;
    if (data[1] & 1) range.fromIndex = 2;
    if (data[1] & 2) range.to = 5000;
    const srt::TimeMap map = (data[1] & 4) ? srt::TimeMap::Scale(25, 24) : srt::TimeMap::Offset(-1000);
    std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

    std::string expected, streamed;
    bool expectedFails = false, streamedFails = false;
    try {
        expected = LineByLine(text, map, range);
    } catch (const srt::EConvertError&) {
        expectedFails = true;
    }
    try {
        srt::StreamRetimer retimer(map, range, [&](std::string_view b) { streamed += b; });
        for (std::string_view rest = text; !rest.empty();) {
            const std::size_t n = rest.size() < piece ? rest.size() : piece;
            retimer.Feed(rest.substr(0, n));
            rest.remove_prefix(n);
        }
        retimer.Finish();
    } catch (const srt::LineError&) {
        streamedFails = true;
    }
    if (expectedFails != streamedFails || (!expectedFails && expected != streamed)) std::abort();
    return 0;
}
