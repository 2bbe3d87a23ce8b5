#include "core/retimer.h"

#include "core/textlines.h"

#include <cstring>

namespace srt {
namespace {

// Blocks small enough to stay in the cache between reading and writing.
constexpr std::size_t kInputBlock = std::size_t(1) << 18;
constexpr std::size_t kOutputBlock = std::size_t(1) << 18;

bool HasArrow(std::string_view line) {
    if (line.size() >= 16 && line[13] == '-' && line[14] == '-' && line[15] == '>') return true;
    return line.find("-->") != std::string_view::npos;
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
    bool loneCR = loneCR_, arrow = arrow_;
    LineStops<true> stops(p, start + scanned_, n);
    for (std::size_t i; (i = stops.Next()) < n;) {
        const char c = p[i];
        if (c == '\n') {
            ++lines_;
            const bool crlf = i > start && p[i - 1] == '\r';
            if (!loneCR && !arrow) {
                if (!crlf) {
                    Emit(p + span, i - span);
                    EmitLineEnd();
                    span = i + 1;
                }
            } else {
                Emit(p + span, start - span);
                Line(p + start, (crlf ? i - 1 : i) - start, lines_, loneCR);
                span = i + 1;
            }
            loneCR = arrow = false;
            start = i + 1;
        } else if (c == '\r') {
            // A CR not known to stand before an LF goes the general way.
            if (i + 1 == n || p[i + 1] != '\n') loneCR = true;
        } else if (c == '>') {
            if (i >= start + 2 && p[i - 1] == '-' && p[i - 2] == '-') arrow = true;
        } else {
            ended_ = true;
            n = i;
        }
    }
    Emit(p + span, start - span);
    if (last || ended_) {
        if (start < n) Line(p + start, n - start, lines_ + 1, true);
        filled_ = scanned_ = 0;
        loneCR_ = arrow_ = false;
        return;
    }
    std::memmove(p, p + start, n - start);
    filled_ = n - start;
    scanned_ = n - start;
    loneCR_ = loneCR;
    arrow_ = arrow;
}

void StreamRetimer::Line(const char* data, std::size_t size, std::uint64_t number, bool mayHoldCR) {
    std::string_view line(data, size);
    if (mayHoldCR && std::memchr(data, '\r', size)) {
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
    if (!cues_ && range_.Everything()) {
        char* out = Room(31);
        if (FastRetimeLine(out, line, map_)) {
            out[29] = '\r';
            out[30] = '\n';
            outSize_ += 31;
            ++selected_;
            return;
        }
    }
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

void StreamRetimer::Flush() {
    if (sink_ && outSize_) sink_(std::string_view(out_.data(), outSize_));
    outSize_ = 0;
}

char* StreamRetimer::Room(std::size_t size) {
    if (out_.size() - outSize_ < size) Flush();
    return out_.data() + outSize_;
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
