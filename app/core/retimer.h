// Re-times a whole file streamed through fixed buffers: the text arrives in
// pieces of any size and leaves through a sink in large blocks. Byte for
// byte faithful: lines end at CR LF, LF or a lone CR and keep their own
// ends; a time line's first 29 columns become the rule's 29 characters and
// whatever follows column 29 stays; every other byte (byte 26 and NUL
// included) passes through unchanged. Platform-free.
#pragma once

#include "core/retime.h"
#include "core/timeshift.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace srt {

// A line that failed: its number from 1 and the rule's message.
class LineError : public EConvertError {
public:
    LineError(std::uint64_t line, const std::string& message) : EConvertError(message), line_(line) {}
    std::uint64_t line() const { return line_; }

private:
    std::uint64_t line_;
};

// A time line's two times, unshifted.
struct CueTimes {
    std::int64_t start = 0;
    std::int64_t end = 0;
};

class StreamRetimer {
public:
    // Receives the output in blocks; it may throw to stop the run.
    using Sink = std::function<void(std::string_view)>;

    // Re-times the selected time lines by map, writing to sink.
    StreamRetimer(const TimeMap& map, const TimeRange& range, Sink sink);
    // Reads only: the selected time lines' times go to cues, nothing is written.
    StreamRetimer(const TimeRange& range, std::vector<CueTimes>& cues);

    // A UTF-8 mark at the start stays in front of the first line.
    void SetUtf8MarkAllowed(bool allowed) { markAllowed_ = allowed; }

    // Room for at least one more byte of input: fill up to room bytes at the
    // pointer, then call Commit with how many.
    char* Space(std::size_t& room);
    void Commit(std::size_t filled);
    void Feed(std::string_view bytes);
    // The last line and the rest of the output. Throws LineError.
    void Finish();

    std::uint64_t timeLines() const { return timeLines_; }
    std::uint64_t selected() const { return selected_; }

private:
    void Process(bool last);
    // The time line [begin, end) of the buffer; throws LineError.
    void TimeLine(std::size_t begin, std::size_t end);
    // Line ends in the buffer's first size bytes, counted only when a
    // message needs a line's number or the bytes leave the buffer.
    std::uint64_t LinesBefore(std::size_t size) const;
    void Emit(const char* data, std::size_t size);
    void Flush();

    TimeMap map_;
    TimeRange range_;
    Sink sink_;
    std::vector<CueTimes>* cues_ = nullptr;
    bool markAllowed_ = true;
    bool started_ = false;

    std::string in_;            // [0, filled_) unprocessed input, from a line's start
    std::size_t filled_ = 0;
    std::size_t floor_ = 0;     // where lines begin in in_: past a UTF-8 mark at the start
    std::string out_;           // [0, outSize_) written, not yet given to the sink
    std::size_t outSize_ = 0;
    std::uint64_t lines_ = 0;   // line ends in the input before in_
    bool afterCR_ = false;      // the input before in_ ended with a CR
    std::uint64_t timeLines_ = 0;
    std::uint64_t selected_ = 0;
};

}  // namespace srt
