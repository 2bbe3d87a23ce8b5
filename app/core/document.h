// The subtitle document behind the main window's memo: every line as the
// bytes it was read from, with the text it shows. Lines the memo still shows
// unchanged are saved as those bytes; lines typed or changed by hand are
// encoded in the document's encoding when saved. Platform-free: the code
// page lives behind TextCodec.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/retime.h"
#include "core/textencoding.h"
#include "core/utf16.h"

namespace srt {

// Bytes to text and back in one of the two 8-bit encodings.
class TextCodec {
public:
    virtual ~TextCodec() = default;
    // Every byte without a character (and NUL) becomes its escape.
    virtual std::wstring Decode(std::string_view bytes, TextEncoding encoding) const = 0;
    // Escapes become their bytes again. False when a character has no form
    // in the encoding; `bytes` is then unspecified.
    virtual bool Encode(std::wstring_view text, TextEncoding encoding, std::string& bytes) const = 0;
    // The encoding's name for messages: "code page 936", "UTF-8".
    virtual std::string Name(TextEncoding encoding) const = 0;
};

struct DocumentLine {
    std::wstring text;  // as shown
    // As read (in a UTF-16 document: the units in the form of Utf16ToUtf8);
    // empty for a typed line.
    std::string bytes;
    TextEncoding shownAs = TextEncoding::Ansi;  // how `bytes` decode to `text`
    bool typed = false;
};

// Everything a document holds, for undo: restoring it gives back exactly
// the bytes it would have saved.
struct DocumentState {
    std::vector<DocumentLine> lines;
    std::optional<TextEncoding> encoding;
    std::optional<ByteOrder> utf16;
    std::string tail;
    std::size_t crlfEnds = 0, lfEnds = 0;
};

// One time line a re-timing changes: its index in Lines() and its texts.
struct RetimedLine {
    std::size_t index = 0;
    std::wstring before, after;
};

// What a re-timing would do, or the line that refuses it.
struct RetimePlan {
    std::vector<std::pair<std::size_t, DocumentLine>> changed;  // new lines by index
    std::size_t selected = 0;    // time lines the range selects
    std::size_t refusedLine = 0;  // from 1; 0 when nothing refused
    std::wstring refusal;         // the rule's message
};

// The whole-document rules:
// - 8-bit documents keep each file's lines as their bytes, whatever mix of
//   encodings the files bring; the first file with non-ASCII bytes decides
//   the encoding of typed lines.
// - A document whose first file is UTF-16 stays UTF-16 (in that file's byte
//   order). 8-bit files join it as the characters they decode to; one with
//   bytes that stand for no character is refused.
// - A UTF-16 file joins an 8-bit document as its characters in the
//   document's encoding (UTF-8 while no file has decided one); one with
//   characters that encoding cannot hold is refused.
// - UTF-16 without a mark is recognised by a time line, as the command-line
//   tool recognises it, and saved without a mark.
class Document {
public:
    explicit Document(const TextCodec& codec) : codec_(codec) {}

    // Appends a file's lines; into an empty document it starts afresh. On a
    // refusal returns its message and leaves the document as it was.
    std::optional<std::string> Append(std::string_view file);

    // Takes the memo's text: lines it still shows unchanged keep their bytes,
    // every other line becomes a typed one.
    void Update(std::wstring_view shown);

    // Every line's text followed by CR LF.
    std::wstring Text() const;

    // Re-times every time line (see ShiftTimeLine), all or nothing: on a
    // refused line returns the rule's message, puts that line's index in
    // `failedLine` (when given) and changes nothing.
    std::optional<std::wstring> Shift(std::int32_t offset, std::size_t* failedLine = nullptr);

    // The same change under any map and range (the command-line tool's
    // arithmetic and refusals); all or nothing.
    RetimePlan PlanRetime(const TimeMap& map, const TimeRange& range) const;
    // Applies a plan without a refusal.
    void ApplyPlan(RetimePlan plan);

    // The start and end of every time line the range selects, for matching.
    // Lines that cannot be read are skipped.
    std::vector<std::pair<std::int64_t, std::int64_t>> CueTimesIn(const TimeRange& range) const;
    // Time lines in the document.
    std::size_t CueCount() const;
    // Each time line's index in Lines() and its start (none when the rule
    // cannot read it).
    std::vector<std::pair<std::size_t, std::optional<std::int64_t>>> TimeLineStarts() const;
    // Line ends of the files read: CR LF and bare LF.
    std::size_t CrLfEnds() const { return crlfEnds_; }
    std::size_t LfEnds() const { return lfEnds_; }

    DocumentState State() const;
    // About how many bytes of memory the lines take (a state as much).
    std::size_t Footprint() const;
    void Restore(DocumentState state);

    // The file to save: each line followed by CR LF, UTF-16 documents with
    // their mark when the first file had one. Refuses (message, nothing changed) when a typed line holds
    // a character the document's encoding cannot hold.
    std::optional<std::string> Save(std::string& bytes);

    const std::vector<DocumentLine>& Lines() const { return lines_; }
    // The encoding typed lines are saved in; none while no file decided it
    // (the code page, or UTF-8 when a typed character needs it).
    std::optional<TextEncoding> Encoding() const { return encoding_; }
    std::optional<ByteOrder> Utf16Order() const { return utf16_; }

private:
    // `marked`: the file began with a byte-order mark; the first file's
    // choice is kept when saving.
    std::optional<std::string> AppendUtf16(const Utf16Text& file, bool marked);
    std::optional<std::string> AppendBytes(std::string_view file);
    // The bytes of a typed line in `encoding`; false when it cannot hold it.
    bool EncodeTyped(const DocumentLine& line, TextEncoding encoding, std::string& bytes) const;
    TextEncoding TypedEncoding() const;
    // A line as the rule reads it: its bytes (or a typed line's text in the
    // document's encoding), the encoding they decode in and a kept mark.
    bool RuleBytes(const DocumentLine& line, std::string& bytes, TextEncoding& encoding, std::string& mark) const;
    void CountLineEnds(std::string_view file);

    const TextCodec& codec_;
    std::vector<DocumentLine> lines_;
    std::optional<TextEncoding> encoding_;
    std::optional<ByteOrder> utf16_;
    bool utf16Marked_ = true;
    // Odd last bytes of UTF-16 files, written after the text.
    std::string tail_;
    std::size_t crlfEnds_ = 0, lfEnds_ = 0;
};

}  // namespace srt
