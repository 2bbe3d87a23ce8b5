#include "core/retimer.h"

#include "core/textlines.h"

#include <array>
#include <cstring>

namespace srt {
namespace {

constexpr std::size_t kInputBlock = std::size_t(1) << 20;
constexpr std::size_t kOutputBlock = std::size_t(1) << 20;

// The bytes the scan stops at: line ends, CRs, the end of an arrow, byte 26.
constexpr std::array<bool, 256> kStops = [] {
    std::array<bool, 256> stops{};
    stops['\n'] = stops['\r'] = stops['>'] = stops[0x1A] = true;
    return stops;
}();

bool HasArrow(std::string_view line) {
    if (line.size() >= 16 && line[13] == '-' && line[14] == '-' && line[15] == '>') return true;
    return line.find("-->") != std::string_view::npos;
}

}  // namespace

StreamRetimer::StreamRetimer(const TimeMap& map, const TimeRange& range, Sink sink)
    : map_(map), range_(range), sink_(std::move(sink)) {
    out_.reserve(kOutputBlock);
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
    if (sink_ && !out_.empty()) sink_(out_);
    out_.clear();
}

void StreamRetimer::Process(bool last) {
    if (ended_) {
        filled_ = 0;
        return;
    }
    char* p = in_.data();
    std::size_t n = filled_;
    std::size_t start = 0;  // the current line's first byte
    if (!started_) {
        if (n < kUtf8Bom.size() && !last) return;
        started_ = true;
        if (markAllowed_ && std::string_view(p, n).starts_with(kUtf8Bom)) {
            Emit(p, kUtf8Bom.size());
            start = kUtf8Bom.size();
        }
    }
    // Plain lines (no arrow, no lone CR, ending in CR LF) are copied as one
    // block from span; every other line is written on its own.
    std::size_t span = start;
    std::size_t i = start + scanned_;
    bool special = special_;
    while (i < n) {
        const auto c = static_cast<unsigned char>(p[i]);
        if (!kStops[c]) {
            ++i;
            continue;
        }
        if (c == '\n') {
            ++lines_;
            if (!special) {
                if (i == start || p[i - 1] != '\r') {
                    Emit(p + span, i - span);
                    EmitLineEnd();
                    span = i + 1;
                }
            } else {
                Emit(p + span, start - span);
                Line(p + start, i - start, lines_);
                span = i + 1;
                special = false;
            }
            start = ++i;
        } else if (c == '\r') {
            // A CR not known to stand before an LF goes the general way.
            if (i + 1 == n || p[i + 1] != '\n') special = true;
            ++i;
        } else if (c == '>') {
            if (i >= start + 2 && p[i - 1] == '-' && p[i - 2] == '-') special = true;
            ++i;
        } else {
            ended_ = true;
            n = i;
        }
    }
    if (last || ended_) {
        Emit(p + span, start - span);
        if (start < n) Line(p + start, n - start, lines_ + 1);
        filled_ = scanned_ = 0;
        special_ = false;
        return;
    }
    Emit(p + span, start - span);
    std::memmove(p, p + start, n - start);
    filled_ = n - start;
    scanned_ = i - start;
    special_ = special;
}

void StreamRetimer::Line(const char* data, std::size_t size, std::uint64_t number) {
    std::string_view line(data, size);
    if (std::memchr(data, '\r', size)) {
        scratch_.clear();
        for (char c : line)
            if (c != '\r') scratch_ += c;
        line = scratch_;
    }
    if (!HasArrow(line)) {
        Emit(line.data(), line.size());
        EmitLineEnd();
        return;
    }
    ++timeLines_;
    try {
        bool selected = range_.IndexSelected(timeLines_);
        if (range_.HasTimeBound()) selected = range_.StartSelected(ReadTimeLineStart(line)) && selected;
        if (!selected) {
            Emit(line.data(), line.size());
            EmitLineEnd();
            return;
        }
        ++selected_;
        if (cues_) {
            const TimeLineTimes times = ReadTimeLine(line);
            cues_->push_back({times.start, times.end});
            return;
        }
        char result[29];
        if (!FastRetimeLine(result, line, map_)) {
            std::string general;
            AppendRetimedLine(general, line, map_);
            std::memcpy(result, general.data(), sizeof result);
        }
        Emit(result, sizeof result);
        EmitLineEnd();
    } catch (const EConvertError& e) {
        throw LineError(number, e.what());
    }
}

void StreamRetimer::Emit(const char* data, std::size_t size) {
    if (!sink_ || size == 0) return;
    if (out_.size() + size > kOutputBlock) {
        if (!out_.empty()) sink_(out_);
        out_.clear();
        if (size >= kOutputBlock) {
            sink_(std::string_view(data, size));
            return;
        }
    }
    out_.append(data, size);
}

}  // namespace srt
