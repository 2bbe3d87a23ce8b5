#include "core/retimer.h"

#include "core/textlines.h"

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace srt {
namespace {

// Blocks small enough to stay in the cache between reading and writing.
constexpr std::size_t kInputBlock = std::size_t(1) << 18;
constexpr std::size_t kOutputBlock = std::size_t(1) << 18;
constexpr std::size_t kRuleColumns = 29;

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// The first CR or LF in [from, n), or n.
std::size_t NextLineEnd(const char* p, std::size_t from, std::size_t n) {
    for (std::size_t i = from; i < n; ++i)
        if (IsLineEnd(p[i])) return i;
    return n;
}

// One past the last CR or LF in [floor, to), or floor.
std::size_t LineStartBefore(const char* p, std::size_t floor, std::size_t to) {
    for (std::size_t i = to; i > floor; --i)
        if (IsLineEnd(p[i - 1])) return i;
    return floor;
}

// Every LF and every CR not followed by an LF (a CR in the last byte
// counts); sixteen bytes at a time where the vector unit allows.
std::uint64_t CountLineEnds(const char* p, std::size_t n) {
    std::uint64_t ends = 0;
    std::size_t i = 0;
#ifdef __SSE2__
    // Per-byte counters (a hit is -1), added up before they can overflow.
    const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r'), zero = _mm_setzero_si128();
    while (i + 17 <= n) {
        __m128i counts = zero;
        for (int k = 0; k < 255 && i + 17 <= n; ++k, i += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
            const __m128i loneCR = _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(v, cr));
            counts = _mm_sub_epi8(counts, _mm_or_si128(_mm_cmpeq_epi8(v, lf), loneCR));
        }
        const __m128i sums = _mm_sad_epu8(counts, zero);
        ends += std::uint64_t(_mm_cvtsi128_si32(sums)) + std::uint64_t(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    }
#endif
    for (; i < n; ++i) ends += p[i] == '\n' || (p[i] == '\r' && (i + 1 == n || p[i + 1] != '\n'));
    return ends;
}

}  // namespace

StreamRetimer::StreamRetimer(const TimeMap& map, const TimeRange& range, Sink sink)
    : map_(map), range_(range), sink_(std::move(sink)) {
    out_.resize(kOutputBlock);
}

StreamRetimer::StreamRetimer(const TimeRange& range, std::vector<CueTimes>& cues)
    : range_(range), cues_(&cues) {}

char* StreamRetimer::Space(std::size_t& room) {
    if (in_.size() < kInputBlock) in_.resize(kInputBlock);
    // Only a line longer than the buffer fills it: give it more room.
    if (filled_ == in_.size()) in_.resize(in_.size() * 2);
    room = in_.size() - filled_;
    return in_.data() + filled_;
}

void StreamRetimer::Commit(std::size_t filled) {
    filled_ += filled;
    Process(false);
}

void StreamRetimer::Feed(std::string_view bytes) {
    while (!bytes.empty()) {
        std::size_t room;
        char* space = Space(room);
        const std::size_t n = std::min(room, bytes.size());
        std::memcpy(space, bytes.data(), n);
        bytes.remove_prefix(n);
        Commit(n);
    }
}

void StreamRetimer::Finish() {
    Process(true);
    Flush();
}

std::uint64_t StreamRetimer::LinesBefore(std::size_t size) const {
    // A CR at the end of the input before in_ pairs with an LF at its
    // start, and one at size with an LF after it.
    const char* p = in_.data();
    std::uint64_t ends = CountLineEnds(p, size);
    if (size && afterCR_ && p[0] == '\n') --ends;
    if (size && size < filled_ && p[size - 1] == '\r' && p[size] == '\n') --ends;
    return lines_ + ends;
}

void StreamRetimer::Process(bool last) {
    const char* p = in_.data();
    const std::size_t n = filled_;
    if (!started_) {
        if (n < kUtf8Bom.size() && !last) return;
        started_ = true;
        if (markAllowed_ && std::string_view(p, n).starts_with(kUtf8Bom)) floor_ = kUtf8Bom.size();
    }
    // Unchanged bytes are copied from span as one block; each time line
    // found by its ">" is written on its own.
    std::size_t span = 0;
    std::size_t keep = n;  // where the unfinished rest begins
    for (std::size_t from = std::max(span, floor_); from < n;) {
        const void* hit = std::memchr(p + from, '>', n - from);
        if (!hit) break;
        const std::size_t gt = std::size_t(static_cast<const char*>(hit) - p);
        from = gt + 1;
        if (gt < std::max(span, floor_) + 2 || p[gt - 1] != '-' || p[gt - 2] != '-') continue;
        const std::size_t begin = LineStartBefore(p, std::max(span, floor_), gt - 2);
        const std::size_t end = NextLineEnd(p, gt + 1, n);
        if (end == n && !last) {
            keep = begin;
            break;
        }
        Emit(p + span, begin - span);
        TimeLine(begin, end);
        span = from = end;
    }
    if (last) {
        Emit(p + span, n - span);
        filled_ = 0;
        return;
    }
    if (keep == n) keep = LineStartBefore(p, std::max(span, floor_), n);
    Emit(p + span, keep - span);
    lines_ = LinesBefore(keep);
    if (keep) afterCR_ = p[keep - 1] == '\r';
    std::memmove(in_.data(), p + keep, n - keep);
    filled_ = n - keep;
    floor_ = 0;
}

void StreamRetimer::TimeLine(std::size_t begin, std::size_t end) {
    const std::string_view line(in_.data() + begin, end - begin);
    ++timeLines_;
    const std::string_view rest = line.substr(std::min(line.size(), kRuleColumns));
    if (!cues_ && range_.Everything()) {
        char result[kRuleColumns];
        if (FastRetimeLine(result, line, map_)) {
            Emit(result, sizeof result);
            Emit(rest.data(), rest.size());
            ++selected_;
            return;
        }
    }
    try {
        bool selected = range_.IndexSelected(timeLines_);
        if (range_.HasTimeBound()) selected = range_.StartSelected(ReadTimeLineStart(line)) && selected;
        if (!selected) {
            Emit(line.data(), line.size());
            return;
        }
        ++selected_;
        if (cues_) {
            const TimeLineTimes times = ReadTimeLine(line);
            cues_->push_back({times.start, times.end});
            return;
        }
        char result[kRuleColumns];
        if (!FastRetimeLine(result, line, map_)) {
            std::string general;
            AppendRetimedLine(general, line, map_);
            std::memcpy(result, general.data(), sizeof result);
        }
        Emit(result, sizeof result);
        Emit(rest.data(), rest.size());
    } catch (const EConvertError& e) {
        throw LineError(LinesBefore(begin) + 1, e.what());
    }
}

void StreamRetimer::Flush() {
    if (sink_ && outSize_) sink_(std::string_view(out_.data(), outSize_));
    outSize_ = 0;
}

void StreamRetimer::Emit(const char* data, std::size_t size) {
    if (size == 0 || cues_) return;
    if (out_.size() - outSize_ < size) {
        Flush();
        if (size >= out_.size()) {
            if (sink_) sink_(std::string_view(data, size));
            return;
        }
    }
    std::memcpy(out_.data() + outSize_, data, size);
    outSize_ += size;
}

}  // namespace srt
