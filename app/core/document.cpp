#include "core/document.h"

#include <algorithm>
#include <unordered_map>

#include "component/crlf.h"
#include "core/sniff.h"
#include "core/textlines.h"
#include "core/timeshift.h"

namespace srt {
namespace {

constexpr std::string_view kArrow = "-->";
// The largest edited stretch compared line by line; beyond it, lines are
// matched greedily in order.
constexpr std::size_t kMaxCompareCells = std::size_t(1) << 22;

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// For each of `shown`, the index in `old` of the same line, or -1: a longest
// common subsequence, or an in-order greedy match when the stretch is large.
std::vector<std::ptrdiff_t> MatchLines(const std::vector<const std::wstring*>& old,
                                       const std::vector<std::wstring_view>& shown) {
    const std::size_t n = old.size(), m = shown.size();
    std::vector<std::ptrdiff_t> match(m, -1);
    if (n == 0 || m == 0) return match;
    if (n <= kMaxCompareCells / m) {
        // lcs[i][j]: the longest common subsequence of old[i..] and shown[j..].
        std::vector<std::uint32_t> lcs((n + 1) * (m + 1), 0);
        auto at = [&](std::size_t i, std::size_t j) -> std::uint32_t& { return lcs[i * (m + 1) + j]; };
        for (std::size_t i = n; i-- > 0;)
            for (std::size_t j = m; j-- > 0;)
                at(i, j) = *old[i] == shown[j] ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
        for (std::size_t i = 0, j = 0; i < n && j < m;) {
            if (*old[i] == shown[j]) {
                match[j++] = static_cast<std::ptrdiff_t>(i++);
            } else if (at(i + 1, j) >= at(i, j + 1)) {
                ++i;
            } else {
                ++j;
            }
        }
        return match;
    }
    std::unordered_map<std::wstring_view, std::vector<std::size_t>> where;
    for (std::size_t i = n; i-- > 0;) where[*old[i]].push_back(i);  // last first: back() is the earliest
    std::size_t next = 0;
    for (std::size_t j = 0; j < m; ++j) {
        auto found = where.find(shown[j]);
        if (found == where.end()) continue;
        auto& indices = found->second;
        while (!indices.empty() && indices.back() < next) indices.pop_back();
        if (indices.empty()) continue;
        match[j] = static_cast<std::ptrdiff_t>(indices.back());
        next = indices.back() + 1;
        indices.pop_back();
    }
    return match;
}

// The texts of lines decoded in one codec call rather than one per line:
// the lines joined by CR LF, decoded and cut at CR LF again (no line's bytes
// hold a CR or LF). Falls back to line by line should the cut not give the
// same number of lines.
// `joined` is JoinLinesCRLF(lines).
std::vector<std::wstring> DecodeLines(const TextCodec& codec, const std::vector<std::string>& lines,
                                      std::string_view joined, TextEncoding encoding) {
    std::vector<std::wstring> texts;
    texts.reserve(lines.size());
    const std::wstring text = codec.Decode(joined, encoding);
    const std::vector<std::wstring_view> cut = SplitCrLfLines<wchar_t>(text);
    if (cut.size() == lines.size()) {
        for (std::wstring_view line : cut) texts.emplace_back(line);
    } else {
        for (const std::string& bytes : lines) texts.push_back(codec.Decode(bytes, encoding));
    }
    return texts;
}

}  // namespace

std::optional<std::string> Document::Append(std::string_view file) {
    if (lines_.empty()) {
        encoding_.reset();
        utf16_.reset();
        tail_.clear();
        crlfEnds_ = lfEnds_ = 0;
    }
    std::optional<Utf16Text> utf16 = DecodeUtf16File(file);
    const bool marked = utf16.has_value();
    // UTF-16 without a mark, told as the command-line tool tells it: by a
    // time line in the first 64 KB.
    if (!utf16)
        if (std::optional<ByteOrder> order = FindUnmarkedUtf16(file.substr(0, std::size_t(1) << 16))) {
            const std::size_t even = file.size() & ~std::size_t(1);
            utf16 = Utf16Text{*order, Utf16ToUtf8(file.substr(0, even), *order), std::string(file.substr(even))};
        }
    std::optional<std::string> refused = utf16 ? AppendUtf16(*utf16, marked) : AppendBytes(file);
    if (!refused) CountLineEnds(utf16 ? std::string_view(utf16->text) : file);
    return refused;
}

void Document::CountLineEnds(std::string_view file) {
    for (std::size_t i = file.find('\n'); i != std::string_view::npos; i = file.find('\n', i + 1))
        ++(i > 0 && file[i - 1] == '\r' ? crlfEnds_ : lfEnds_);
}

std::optional<std::string> Document::AppendUtf16(const Utf16Text& file, bool marked) {
    std::vector<std::string> lines = SplitTextLines(file.text);
    std::vector<std::wstring> texts = DecodeLines(codec_, lines, JoinLinesCRLF(lines), TextEncoding::Utf8);
    std::vector<DocumentLine> added;
    added.reserve(lines.size());
    if (lines_.empty() || utf16_) {
        if (lines_.empty()) {
            utf16_ = file.order;
            utf16Marked_ = marked;
        }
        for (std::size_t i = 0; i < lines.size(); ++i)
            added.push_back({std::move(texts[i]), std::move(lines[i]), TextEncoding::Utf8, false});
    } else {
        // Into an 8-bit document: the characters in its encoding.
        const TextEncoding target = encoding_.value_or(TextEncoding::Utf8);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            std::string& units = lines[i];
            DocumentLine line{std::move(texts[i]), {}, target, false};
            bool held = target == TextEncoding::Utf8 ? IsValidUtf8(units)
                                                     : !HasByteEscape(line.text) &&
                                                           codec_.Encode(line.text, target, line.bytes);
            if (!held)
                return "This UTF-16 file holds characters that " + codec_.Name(target) +
                       " cannot hold; it was not added to the document";
            if (target == TextEncoding::Utf8) line.bytes = std::move(units);
            added.push_back(std::move(line));
        }
        encoding_ = target;
    }
    lines_.insert(lines_.end(), std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
    tail_ += file.tail;
    return std::nullopt;
}

std::optional<std::string> Document::AppendBytes(std::string_view file) {
    std::vector<std::string> lines = SplitTextLines(file);
    const std::string joined = JoinLinesCRLF(lines);
    const TextEncoding encoding = DetectEncoding(joined);
    std::vector<std::wstring> texts = DecodeLines(codec_, lines, joined, encoding);
    std::vector<DocumentLine> added;
    added.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        DocumentLine line{std::move(texts[i]), std::move(lines[i]), encoding, false};
        if (utf16_) {
            // Into a UTF-16 document: the characters, held as its units are.
            if (HasByteEscape(line.text) || !codec_.Encode(line.text, TextEncoding::Utf8, line.bytes))
                return "This file holds bytes that are no characters in " + codec_.Name(encoding) +
                       ", which a UTF-16 document cannot hold; it was not added to the document";
            line.shownAs = TextEncoding::Utf8;
        }
        added.push_back(std::move(line));
    }
    if (!utf16_ && !encoding_ && !IsAscii(joined)) encoding_ = encoding;
    lines_.insert(lines_.end(), std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
    return std::nullopt;
}

void Document::Update(std::wstring_view text) {
    const std::vector<std::wstring_view> shown = SplitCrLfLines(text);
    const std::size_t n = lines_.size(), m = shown.size();
    std::size_t prefix = 0;
    while (prefix < n && prefix < m && lines_[prefix].text == shown[prefix]) ++prefix;
    if (prefix == n && prefix == m) return;
    std::size_t suffix = 0;
    while (suffix < n - prefix && suffix < m - prefix && lines_[n - 1 - suffix].text == shown[m - 1 - suffix])
        ++suffix;
    std::vector<const std::wstring*> oldMiddle;
    for (std::size_t i = prefix; i < n - suffix; ++i) oldMiddle.push_back(&lines_[i].text);
    const std::vector<std::wstring_view> shownMiddle(shown.begin() + static_cast<std::ptrdiff_t>(prefix),
                                                     shown.end() - static_cast<std::ptrdiff_t>(suffix));
    const std::vector<std::ptrdiff_t> match = MatchLines(oldMiddle, shownMiddle);

    std::vector<DocumentLine> lines;
    lines.reserve(m);
    for (std::size_t i = 0; i < prefix; ++i) lines.push_back(std::move(lines_[i]));
    for (std::size_t j = 0; j < shownMiddle.size(); ++j) {
        if (match[j] >= 0) {
            lines.push_back(std::move(lines_[prefix + static_cast<std::size_t>(match[j])]));
        } else {
            DocumentLine typed;
            typed.text = std::wstring(shownMiddle[j]);
            typed.typed = true;
            lines.push_back(std::move(typed));
        }
    }
    for (std::size_t i = n - suffix; i < n; ++i) lines.push_back(std::move(lines_[i]));
    lines_ = std::move(lines);
}

std::wstring Document::Text() const {
    std::size_t size = 0;
    for (const DocumentLine& line : lines_) size += line.text.size() + 2;
    std::wstring text;
    text.reserve(size);
    for (const DocumentLine& line : lines_) {
        text += line.text;
        text += L"\r\n";
    }
    return text;
}

TextEncoding Document::TypedEncoding() const {
    return utf16_ ? TextEncoding::Utf8 : encoding_.value_or(TextEncoding::Ansi);
}

bool Document::EncodeTyped(const DocumentLine& line, TextEncoding encoding, std::string& bytes) const {
    if (!codec_.Encode(line.text, encoding, bytes)) return false;
    // In a UTF-16 document escaped bytes must still form whole units.
    const auto order = ByteOrder::LittleEndian;
    return !utf16_ || Utf16ToUtf8(Utf8ToUtf16(bytes, order), order) == bytes;
}

std::optional<std::wstring> Document::Shift(std::int32_t offset, std::size_t* failedLine) {
    // The new form of each changed line, applied once every line has passed.
    std::vector<std::pair<std::size_t, DocumentLine>> changed;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const DocumentLine& line = lines_[i];
        DocumentLine shifted = line;
        std::string bytes;
        TextEncoding encoding = line.shownAs;
        std::string_view mark;
        if (line.typed) {
            if (line.text.find(L"-->") == std::wstring::npos) continue;
            // A typed time line goes through the rule in the document's
            // encoding, or as UTF-8 when that cannot hold it.
            std::wstring_view text = line.text;
            std::wstring kept;
            if (!text.empty() && text.front() == L'\uFEFF') {
                kept = L"\uFEFF";
                text.remove_prefix(1);
            }
            encoding = TypedEncoding();
            if (!codec_.Encode(text, encoding, bytes)) {
                encoding = TextEncoding::Utf8;
                codec_.Encode(text, encoding, bytes);
            }
            try {
                shifted.text = kept + codec_.Decode(ShiftTimeLine(bytes, offset), encoding);
            } catch (const EConvertError& e) {
                if (failedLine) *failedLine = i;
                return codec_.Decode(e.what(), encoding);
            }
        } else {
            if (line.bytes.find(kArrow) == std::string::npos) continue;
            // A byte-order mark in front of a time line stays there.
            std::string_view rest = line.bytes;
            if (rest.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
                mark = kUtf8Bom;
                rest.remove_prefix(mark.size());
            }
            try {
                shifted.bytes = std::string(mark) + ShiftTimeLine(rest, offset);
            } catch (const EConvertError& e) {
                if (failedLine) *failedLine = i;
                return codec_.Decode(e.what(), encoding);
            }
            shifted.text = codec_.Decode(shifted.bytes, encoding);
        }
        changed.emplace_back(i, std::move(shifted));
    }
    for (auto& [i, line] : changed) lines_[i] = std::move(line);
    return std::nullopt;
}

bool Document::RuleBytes(const DocumentLine& line, std::string& bytes, TextEncoding& encoding,
                         std::string& mark) const {
    mark.clear();
    if (line.typed) {
        if (line.text.find(L"-->") == std::wstring::npos) return false;
        // A typed time line goes through the rule in the document's
        // encoding, or as UTF-8 when that cannot hold it.
        std::wstring_view text = line.text;
        if (!text.empty() && text.front() == L'\uFEFF') {
            mark = "\xEF\xBB\xBF";
            text.remove_prefix(1);
        }
        encoding = TypedEncoding();
        if (!codec_.Encode(text, encoding, bytes)) {
            encoding = TextEncoding::Utf8;
            codec_.Encode(text, encoding, bytes);
        }
        return true;
    }
    if (line.bytes.find(kArrow) == std::string::npos) return false;
    encoding = line.shownAs;
    std::string_view rest = line.bytes;
    // A byte-order mark in front of a time line stays there.
    if (rest.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        mark = std::string(kUtf8Bom);
        rest.remove_prefix(mark.size());
    }
    bytes = std::string(rest);
    return true;
}

RetimePlan Document::PlanRetime(const TimeMap& map, const TimeRange& range) const {
    RetimePlan plan;
    std::uint64_t number = 0;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const DocumentLine& line = lines_[i];
        std::string bytes, mark;
        TextEncoding encoding = line.shownAs;
        if (!RuleBytes(line, bytes, encoding, mark)) continue;
        ++number;
        try {
            bool selected = range.IndexSelected(number);
            if (range.HasTimeBound()) selected = selected && range.StartSelected(ReadTimeLineStart(bytes));
            if (!selected) continue;
            ++plan.selected;
            std::string out;
            AppendRetimedLine(out, bytes, map);
            DocumentLine retimed = line;
            if (line.typed) {
                retimed.text = codec_.Decode(out, encoding);
                if (!mark.empty()) retimed.text.insert(0, 1, L'\uFEFF');
            } else {
                retimed.bytes = mark + out;
                retimed.text = codec_.Decode(retimed.bytes, encoding);
            }
            if (retimed.text != line.text || retimed.bytes != line.bytes) plan.changed.emplace_back(i, std::move(retimed));
        } catch (const EConvertError& e) {
            plan.changed.clear();
            plan.refusedLine = i + 1;
            plan.refusal = codec_.Decode(e.what(), encoding);
            return plan;
        }
    }
    return plan;
}

void Document::ApplyPlan(RetimePlan plan) {
    if (plan.refusedLine) return;
    for (auto& [i, line] : plan.changed) lines_[i] = std::move(line);
}

std::vector<std::pair<std::int64_t, std::int64_t>> Document::CueTimesIn(const TimeRange& range) const {
    std::vector<std::pair<std::int64_t, std::int64_t>> cues;
    std::uint64_t number = 0;
    for (const DocumentLine& line : lines_) {
        std::string bytes, mark;
        TextEncoding encoding = line.shownAs;
        if (!RuleBytes(line, bytes, encoding, mark)) continue;
        ++number;
        try {
            if (!range.IndexSelected(number)) continue;
            const TimeLineTimes times = ReadTimeLine(bytes);
            if (range.HasTimeBound() && !range.StartSelected(times.start)) continue;
            cues.emplace_back(times.start, times.end);
        } catch (const EConvertError&) {
        }
    }
    return cues;
}

std::size_t Document::CueCount() const {
    std::size_t count = 0;
    for (const DocumentLine& line : lines_)
        count += line.typed ? line.text.find(L"-->") != std::wstring::npos : line.bytes.find(kArrow) != std::string::npos;
    return count;
}

std::vector<std::pair<std::size_t, std::optional<std::int64_t>>> Document::TimeLineStarts() const {
    std::vector<std::pair<std::size_t, std::optional<std::int64_t>>> starts;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        std::string bytes, mark;
        TextEncoding encoding = lines_[i].shownAs;
        if (!RuleBytes(lines_[i], bytes, encoding, mark)) continue;
        std::optional<std::int64_t> start;
        try {
            start = ReadTimeLineStart(bytes);
        } catch (const EConvertError&) {
        }
        starts.emplace_back(i, start);
    }
    return starts;
}

std::size_t Document::Footprint() const {
    std::size_t size = tail_.size();
    for (const DocumentLine& line : lines_)
        size += sizeof(DocumentLine) + line.text.capacity() * sizeof(wchar_t) + line.bytes.capacity();
    return size;
}

DocumentState Document::State() const { return {lines_, encoding_, utf16_, tail_, crlfEnds_, lfEnds_}; }

void Document::Restore(DocumentState state) {
    lines_ = std::move(state.lines);
    encoding_ = state.encoding;
    utf16_ = state.utf16;
    tail_ = std::move(state.tail);
    crlfEnds_ = state.crlfEnds;
    lfEnds_ = state.lfEnds;
}

std::optional<std::string> Document::Save(std::string& out) {
    // The typed lines' encoding: while no file decided it, the code page,
    // or UTF-8 when a typed character needs it (every other line is ASCII).
    TextEncoding encoding = TypedEncoding();
    std::vector<std::string> typed;
    for (bool retry = true; retry;) {
        retry = false;
        typed.clear();
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            if (!lines_[i].typed) continue;
            typed.emplace_back();
            if (EncodeTyped(lines_[i], encoding, typed.back())) continue;
            if (!utf16_ && !encoding_ && encoding == TextEncoding::Ansi) {
                encoding = TextEncoding::Utf8;
                retry = true;
                break;
            }
            return "Line " + std::to_string(i + 1) + " holds characters that " +
                   (utf16_ ? std::string("UTF-16") : codec_.Name(encoding)) + " cannot hold; nothing was saved";
        }
    }
    if (encoding != TypedEncoding()) encoding_ = encoding;
    std::size_t size = 0;
    for (const DocumentLine& line : lines_) size += line.bytes.size() + 2;
    std::string text;
    text.reserve(size + typed.size() * 16);
    std::size_t next = 0;
    for (const DocumentLine& line : lines_) {
        text += line.typed ? typed[next++] : line.bytes;
        text += "\r\n";
    }
    if (utf16_) {
        out = EncodeUtf16File(*utf16_, text, tail_);
        if (!utf16Marked_) out.erase(0, 2);
    } else {
        out = text + tail_;
    }
    return std::nullopt;
}

}  // namespace srt
