// The document model: any sequence of opens and adjusts saves each file's
// lines as the bytes they were read from; hand edits touch only their lines.
// A stand-in code page keeps these tests off the platform: bytes 80-9F have
// no character, A0-FF are the Latin-1 letters.
#include "core/document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <regex>

#include "core/retimer.h"
#include "core/textlines.h"
#include "core/timeshift.h"

namespace {

using srt::Document;
using srt::TextEncoding;

void PutCodePoint(std::wstring& out, char32_t cp) {
    if (sizeof(wchar_t) == 2 && cp >= 0x10000) {
        cp -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (cp >> 10));
        out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
    } else {
        out += static_cast<wchar_t>(cp);
    }
}

class LatinCodec : public srt::TextCodec {
public:
    std::wstring Decode(std::string_view bytes, TextEncoding encoding) const override {
        std::wstring out;
        for (std::size_t i = 0; i < bytes.size();) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            std::size_t n = 1;
            char32_t cp = b;
            if (encoding == TextEncoding::Utf8 && b >= 0x80) n = Utf8At(bytes, i, cp);
            bool escape = b == 0 || n == 0 || (encoding == TextEncoding::Ansi && b >= 0x80 && b < 0xA0);
            if (escape) {
                out += static_cast<wchar_t>(srt::kByteEscapeBase + b);
                n = 1;
            } else {
                PutCodePoint(out, cp);
            }
            i += n;
        }
        return out;
    }
    bool Encode(std::wstring_view text, TextEncoding encoding, std::string& bytes) const override {
        bytes.clear();
        for (std::size_t i = 0; i < text.size(); ++i) {
            char32_t c = static_cast<char32_t>(text[i]);
            if (srt::IsByteEscapeAt(text, i)) {
                bytes += static_cast<char>(c - srt::kByteEscapeBase);
                continue;
            }
            if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() &&
                static_cast<char32_t>(text[i + 1]) >= 0xDC00 && static_cast<char32_t>(text[i + 1]) <= 0xDFFF)
                c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[++i]) - 0xDC00);
            if (c >= 0xD800 && c <= 0xDFFF) return false;
            if (encoding == TextEncoding::Ansi) {
                if (c > 0xFF || (c >= 0x80 && c < 0xA0)) return false;
                bytes += static_cast<char>(c);
            } else {
                PutUtf8(bytes, c);
            }
        }
        return true;
    }
    std::string Name(TextEncoding encoding) const override {
        return encoding == TextEncoding::Ansi ? "code page 28591" : "UTF-8";
    }

private:
    static std::size_t Utf8At(std::string_view s, std::size_t i, char32_t& cp) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t n = b >= 0xF0 && b <= 0xF4 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 && b <= 0xDF ? 2 : 0;
        if (n == 0 || s.size() - i < n) return 0;
        cp = b & (0x7F >> n);
        for (std::size_t k = 1; k < n; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) return 0;
            cp = cp << 6 | (c & 0x3F);
        }
        const char32_t min[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < min[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
        return n;
    }
    static void PutUtf8(std::string& out, char32_t c) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
};

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The byte model worked out from the file bytes alone: a file's lines (LF or
// CR LF ends one, a lone CR is dropped, byte 26 ends the file), each shifted
// by every offset in turn, with a UTF-8 mark kept in front.
std::vector<std::string> ModelLines(const std::string& file) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t end = file.find('\x1a');
    std::string_view bytes = std::string_view(file).substr(0, end);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (bytes[i] != '\r') {
            line += bytes[i];
        }
    }
    if (!bytes.empty() && bytes.back() != '\n') lines.push_back(line);
    return lines;
}

std::string ShiftModelLine(const std::string& line, std::int32_t offset) {
    const std::string mark = "\xEF\xBB\xBF";
    if (line.compare(0, 3, mark) == 0 && line.find("-->") != std::string::npos)
        return mark + srt::ShiftTimeLine(line.substr(3), offset);
    return srt::ShiftTimeLine(line, offset);
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

std::string SaveOf(Document& d) {
    std::string bytes;
    auto refused = d.Save(bytes);
    EXPECT_FALSE(refused) << *refused;
    return bytes;
}

class DocumentTest : public ::testing::Test {
protected:
    LatinCodec codec;
    Document doc{codec};
    // The memo's round trip: what it shows is taken back unchanged.
    void Open(const std::string& file) {
        doc.Update(doc.Text());
        auto refused = doc.Append(file);
        ASSERT_FALSE(refused) << *refused;
    }
};

const std::string kGbk = "1\n00:00:01,000 --> 00:00:02,000\n\xD7\xD6\xC4\xBB\n\n";
const std::string kUtf8 = "\xEF\xBB\xBF" "00:00:03,000 --> 00:00:04,000\r\n\xE5\xAD\x97\xE5\xB9\x95 \xE2\x9C\x93\r\n";
const std::string kNoCodePage = "2\n00:00:05,000 --> 00:00:06,000\n\x81\x8D\x90\xC0\xAF\xFF\n";

std::vector<std::filesystem::path> EightBitCorpus() {
    std::vector<std::filesystem::path> files;
    const std::filesystem::path root = std::filesystem::path(SRT_CORPUS_DIR) / "srt";
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file() || it->path().filename() == "MANIFEST.txt") continue;
        if (!srt::FindUtf16Mark(ReadBytes(it->path()))) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

TEST_F(DocumentTest, MixedEncodingsSaveAsTheBytesTheyWereReadFrom) {
    // GB2312 first, then UTF-8, then bytes that no code page decodes.
    Open(kGbk);
    Open(kUtf8);
    Open(kNoCodePage);
    const std::string unadjusted =
        "1\r\n00:00:01,000 --> 00:00:02,000\r\n\xD7\xD6\xC4\xBB\r\n\r\n"
        "\xEF\xBB\xBF" "00:00:03,000 --> 00:00:04,000\r\n\xE5\xAD\x97\xE5\xB9\x95 \xE2\x9C\x93\r\n"
        "2\r\n00:00:05,000 --> 00:00:06,000\r\n\x81\x8D\x90\xC0\xAF\xFF\r\n";
    EXPECT_EQ(SaveOf(doc), unadjusted);
    ASSERT_FALSE(doc.Shift(1500));
    doc.Update(doc.Text());
    EXPECT_EQ(SaveOf(doc),
              "1\r\n00:00:02,500 --> 00:00:03,500\r\n\xD7\xD6\xC4\xBB\r\n\r\n"
              "\xEF\xBB\xBF" "00:00:04,500 --> 00:00:05,500\r\n\xE5\xAD\x97\xE5\xB9\x95 \xE2\x9C\x93\r\n"
              "2\r\n00:00:06,500 --> 00:00:07,500\r\n\x81\x8D\x90\xC0\xAF\xFF\r\n");
    // Each file shows in its own encoding.
    EXPECT_EQ(doc.Lines()[2].text, L"\u00D7\u00D6\u00C4\u00BB");
    EXPECT_EQ(doc.Lines()[5].text, L"字幕 ✓");
    EXPECT_EQ(doc.Encoding(), TextEncoding::Ansi);  // decided by the first file
}

TEST_F(DocumentTest, AnyOrderOfCorpusFilesAndAdjustsSavesTheByteModel) {
    const std::vector<std::filesystem::path> corpus = EightBitCorpus();
    if (corpus.size() < 10) GTEST_SKIP() << "no corpus at " << SRT_CORPUS_DIR;
    std::vector<std::string> files;
    for (const auto& path : corpus) files.push_back(ReadBytes(path));
    files.push_back(kGbk);
    files.push_back(kNoCodePage);
    std::mt19937 random(17);
    int adjusted = 0, refused = 0;
    for (int round = 0; round < 60; ++round) {
        Document d(codec);
        std::vector<std::string> model;
        std::string trace;
        const int steps = 1 + static_cast<int>(random() % 5);
        for (int step = 0; step < steps; ++step) {
            d.Update(d.Text());
            if (random() % 3 == 0 && !model.empty()) {
                const std::int32_t offset = static_cast<std::int32_t>(random() % 20001) - 1000;
                trace += " adjust " + std::to_string(offset);
                std::vector<std::string> shifted;
                bool ok = true;
                try {
                    for (const auto& line : model) shifted.push_back(ShiftModelLine(line, offset));
                } catch (const srt::EConvertError&) {
                    ok = false;
                }
                const std::wstring before = d.Text();
                EXPECT_EQ(!d.Shift(offset), ok) << trace;
                if (ok) {
                    model = shifted;
                    ++adjusted;
                } else {
                    EXPECT_EQ(d.Text(), before) << trace;
                    ++refused;
                }
            } else {
                const std::size_t pick = random() % files.size();
                trace += " open " + std::to_string(pick);
                ASSERT_FALSE(d.Append(files[pick])) << trace;
                for (auto& line : ModelLines(files[pick])) model.push_back(line);
            }
        }
        d.Update(d.Text());
        std::string saved;
        ASSERT_FALSE(d.Save(saved)) << trace;
        ASSERT_EQ(saved, Joined(model)) << trace;
    }
    EXPECT_GT(adjusted, 5);
    EXPECT_GT(refused, 0);  // corpus files with times the rule refuses
}

TEST_F(DocumentTest, HandEditsTouchOnlyTheirLines) {
    Open(kGbk);
    Open(kUtf8);
    // Change the GB2312 text, insert a line after the UTF-8 cue's time line,
    // delete the empty line.
    std::wstring text = doc.Text();
    text.replace(text.find(L"\u00D7\u00D6"), 2, L"\u00E9");
    text.replace(text.find(L"\r\n\r\n"), 4, L"\r\n");
    text.insert(text.find(L"字幕"), L"caf\u00E9\r\n");
    doc.Update(text);
    EXPECT_EQ(SaveOf(doc),
              "1\r\n00:00:01,000 --> 00:00:02,000\r\n\xE9\xC4\xBB\r\n"
              "\xEF\xBB\xBF" "00:00:03,000 --> 00:00:04,000\r\ncaf\xE9\r\n\xE5\xAD\x97\xE5\xB9\x95 \xE2\x9C\x93\r\n");
    // A line that shows the same as a line of another file keeps its own
    // bytes wherever it stands.
    Document d(codec);
    ASSERT_FALSE(d.Append("\xE9\n"));
    ASSERT_FALSE(d.Append("x\n\xC3\xA9\n"));
    d.Update(L"x\r\n\u00E9\r\n\u00E9\r\n");
    EXPECT_EQ(SaveOf(d), "x\r\n\xE9\r\n\xC3\xA9\r\n");
    d.Update(L"\u00E9\r\n\u00E9\r\n");
    EXPECT_EQ(SaveOf(d), "\xE9\r\n\xC3\xA9\r\n");
}

// Edits at both ends of a long document leave a stretch too large to compare
// line by line; the lines in between still keep their bytes.
TEST_F(DocumentTest, EditsAtBothEndsOfALongDocument) {
    std::string file;
    for (int i = 0; i < 4000; ++i) file += (i % 2 ? "\xD7\xD6 " : "\xC3\xA9 ") + std::to_string(i % 7) + "\n";
    Open(file);
    std::wstring text = doc.Text();
    const std::size_t firstEnd = text.find(L"\r\n");
    const std::size_t lastStart = text.rfind(L"\r\n", text.size() - 3) + 2;
    text = L"new first\r\nchanged" + text.substr(firstEnd, lastStart - firstEnd) + L"last\r\n";
    doc.Update(text);
    std::vector<std::string> lines = ModelLines(file);
    lines.insert(lines.begin(), "new first");
    lines[1] = "changed";
    lines.back() = "last";
    EXPECT_EQ(SaveOf(doc), Joined(lines));
}

TEST_F(DocumentTest, ATypedCharacterIsNeverReplaced) {
    // The code page decided by a file cannot hold it: refused, nothing saved.
    Open(kGbk);
    doc.Update(doc.Text() + L"字\r\nok\r\n");
    std::string bytes = "untouched";
    EXPECT_EQ(doc.Save(bytes), "Line 5 holds characters that code page 28591 cannot hold; nothing was saved");
    EXPECT_EQ(bytes, "untouched");
    // Without a decided encoding every line is ASCII: UTF-8 holds them all,
    // and stays the choice once made.
    Document typed(codec);
    typed.Update(L"caf\u00E9\r\n");
    EXPECT_EQ(SaveOf(typed), "caf\xE9\r\n");
    typed.Update(L"caf\u00E9\r\n字 \U0001F4A9\r\n");
    EXPECT_EQ(SaveOf(typed), "caf\xC3\xA9\r\n\xE5\xAD\x97 \xF0\x9F\x92\xA9\r\n");
    EXPECT_EQ(typed.Encoding(), TextEncoding::Utf8);
    ASSERT_FALSE(typed.Append("\xD7\xD6\n"));
    EXPECT_EQ(SaveOf(typed), "caf\xC3\xA9\r\n\xE5\xAD\x97 \xF0\x9F\x92\xA9\r\n\xD7\xD6\r\n");
    // A UTF-8 document takes anything but an unpaired surrogate.
    Document utf8(codec);
    ASSERT_FALSE(utf8.Append(kUtf8));
    utf8.Update(utf8.Text() + L"\u00E9字");
    EXPECT_EQ(SaveOf(utf8), kUtf8 + "\xC3\xA9\xE5\xAD\x97\r\n");
    utf8.Update(utf8.Text() + std::wstring(1, static_cast<wchar_t>(0xD800)));
    EXPECT_TRUE(utf8.Save(bytes));
}

TEST_F(DocumentTest, AdjustIsAllOrNothingAndReTimesTypedTimeLines) {
    Open(kGbk);
    doc.Update(doc.Text() + L"\uFEFF00:00:09,000 --> 00:00:10,000\r\n");
    ASSERT_FALSE(doc.Shift(-500));
    EXPECT_EQ(doc.Lines()[1].text, L"00:00:00,500 --> 00:00:01,500");
    EXPECT_EQ(doc.Lines()[4].text, L"\uFEFF00:00:08,500 --> 00:00:09,500");
    doc.Update(doc.Text() + L"\u00E9x:00:01,000 --> 00:00:02,000\r\n");
    const std::wstring before = doc.Text();
    EXPECT_EQ(doc.Shift(1), std::wstring(L"'\u00E9x:00:01' is not a valid time"));
    EXPECT_EQ(doc.Text(), before);
    Document d(codec);
    ASSERT_FALSE(d.Append("\xC0x:00:01,000 --> 00:00:02,000\n"));
    EXPECT_EQ(d.Shift(1), std::wstring(L"'\u00C0x:00:01' is not a valid time"));
}

TEST_F(DocumentTest, Utf16DocumentsTakeEightBitFilesAsTheirCharacters) {
    using srt::ByteOrder;
    const std::string u16 = srt::EncodeUtf16File(ByteOrder::BigEndian, "1\n00:00:01,000 --> 00:00:02,000\n\xE5\xAD\x97\n", "\x07");
    Open(u16);
    Open(kUtf8);
    Open("\xE9t\xE9\n");
    EXPECT_EQ(doc.Utf16Order(), ByteOrder::BigEndian);
    EXPECT_EQ(SaveOf(doc), srt::EncodeUtf16File(ByteOrder::BigEndian,
                                                "1\r\n00:00:01,000 --> 00:00:02,000\r\n\xE5\xAD\x97\r\n"
                                                "\xEF\xBB\xBF" "00:00:03,000 --> 00:00:04,000\r\n"
                                                "\xE5\xAD\x97\xE5\xB9\x95 \xE2\x9C\x93\r\n\xC3\xA9t\xC3\xA9\r\n",
                                                "\x07"));
    // Bytes that stand for no character cannot join: refused, nothing added.
    const std::wstring before = doc.Text();
    EXPECT_EQ(doc.Append(kNoCodePage), "This file holds bytes that are no characters in code page 28591, which a "
                                       "UTF-16 document cannot hold; it was not added to the document");
    EXPECT_EQ(doc.Text(), before);
    // Typed text in a UTF-16 document is saved as UTF-16.
    doc.Update(before + L"\U0001F4A9\r\n");
    std::string saved = SaveOf(doc);
    EXPECT_EQ(saved.substr(saved.size() - 9), std::string("\xD8\x3D\xDC\xA9\x00\r\x00\n\x07", 9));
}

TEST_F(DocumentTest, Utf16FilesJoinEightBitDocumentsInTheirEncoding) {
    using srt::ByteOrder;
    const std::string latin = srt::EncodeUtf16File(ByteOrder::LittleEndian, "caf\xC3\xA9\n");
    const std::string han = srt::EncodeUtf16File(ByteOrder::LittleEndian, "\xE5\xAD\x97\n");
    // No encoding decided yet: UTF-8, which then holds typed lines too.
    Document ascii(codec);
    ASSERT_FALSE(ascii.Append("a\n"));
    ASSERT_FALSE(ascii.Append(han));
    EXPECT_EQ(ascii.Encoding(), TextEncoding::Utf8);
    EXPECT_EQ(SaveOf(ascii), "a\r\n\xE5\xAD\x97\r\n");
    // A code-page document: characters it holds are converted, others refused.
    Open(kGbk);
    Open(latin);
    EXPECT_EQ(SaveOf(doc), Joined(ModelLines(kGbk)) + "caf\xE9\r\n");
    const std::wstring before = doc.Text();
    EXPECT_EQ(doc.Append(han),
              "This UTF-16 file holds characters that code page 28591 cannot hold; it was not added to the document");
    EXPECT_EQ(doc.Text(), before);
    // An unpaired surrogate is no UTF-8 character either.
    Document utf8(codec);
    ASSERT_FALSE(utf8.Append(kUtf8));
    EXPECT_TRUE(utf8.Append(std::string("\xFF\xFE\x00\xD8\n\x00", 6)));
    EXPECT_EQ(utf8.Lines().size(), 2u);
}

TEST_F(DocumentTest, AnEmptyMemoStartsAFreshDocument) {
    Open(srt::EncodeUtf16File(srt::ByteOrder::LittleEndian, "x\n"));
    doc.Update(L"");
    EXPECT_EQ(SaveOf(doc), "\xFF\xFE");  // still UTF-16 until a file is opened
    Open(kGbk);
    EXPECT_FALSE(doc.Utf16Order());
    EXPECT_EQ(SaveOf(doc), Joined(ModelLines(kGbk)));
}

// ---- re-timing under any map and range, undo states

// The command-line tool's streaming re-timer on a whole file: its output, or
// the line it refused (0 when none).
std::pair<std::string, std::uint64_t> StreamRetimed(const std::string& file, const srt::TimeMap& map,
                                                    const srt::TimeRange& range) {
    std::string out;
    try {
        srt::StreamRetimer retimer(map, range, [&](std::string_view block) { out += block; });
        retimer.Feed(file);
        retimer.Finish();
    } catch (const srt::LineError& e) {
        return {{}, e.line()};
    }
    return {out, 0};
}

// The time lines of a text whose lines end at LF or CR LF, to column 29 (the
// tool keeps what follows a re-timed line's times, the window's rule does not).
std::vector<std::string> TimeLinesOf(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find("-->") != std::string::npos) lines.push_back(line.substr(0, 29));
        at = end + 1;
    }
    return lines;
}

// The 8-bit corpus files, each under one of the kinds of map and range in
// turn: the document's time lines are those the tool writes, or it refuses
// at the line the tool names and keeps its bytes. (The tool keeps each
// line's end as read, the window writes CR LF; files with CRs that end no
// line are read differently by the two and left out.)
TEST_F(DocumentTest, ReTimingSavesWhatTheToolWritesOrRefusesTheSameLine) {
    const srt::TimeMap maps[] = {srt::TimeMap::Offset(-2500), srt::TimeMap::Sync(1000, 2000, 60000, 63000),
                                 srt::TimeMap::Scale(25025, 24000)};
    std::vector<srt::TimeRange> ranges(4);
    ranges[1].fromIndex = 3;
    ranges[2].fromIndex = 2;
    ranges[2].toIndex = 5;
    ranges[3].from = 10000;
    ranges[3].to = 60000;
    const auto files = EightBitCorpus();
    ASSERT_FALSE(files.empty());
    for (std::size_t k = 0; k < files.size(); ++k) {
        const auto& path = files[k];
        const std::string file = ReadBytes(path);
        {
            const srt::TimeMap& map = maps[k % 3];
            const srt::TimeRange& range = ranges[(k / 3 + k) % 4];
            {
                SCOPED_TRACE(path.filename().string());
                Document d(codec);
                if (std::regex_search(file, std::regex("\r[^\n]")) || d.Append(file)) continue;
                const std::string before = SaveOf(d);
                const auto [expected, refusedLine] = StreamRetimed(file, map, range);
                srt::RetimePlan plan = d.PlanRetime(map, range);
                EXPECT_EQ(plan.refusedLine, refusedLine);
                if (plan.refusedLine) {
                    EXPECT_FALSE(plan.refusal.empty());
                    EXPECT_TRUE(plan.changed.empty());
                    d.ApplyPlan(std::move(plan));
                    EXPECT_EQ(SaveOf(d), before);
                } else {
                    d.ApplyPlan(std::move(plan));
                    EXPECT_EQ(TimeLinesOf(SaveOf(d)), TimeLinesOf(expected));
                }
            }
        }
    }
}

TEST_F(DocumentTest, ARangeSelectsTimeLinesByNumberAndStart) {
    Open("1\n00:00:01,000 --> 00:00:02,000\nA\n\n2\n00:00:05,000 --> 00:00:06,000\nB\n\n"
         "3\n00:00:09,000 --> 00:00:10,000\nC\n");
    doc.Update(doc.Text() + L"00:00:20,000 --> 00:00:21,000\r\n");  // a typed time line counts too
    EXPECT_EQ(doc.CueCount(), 4u);
    srt::TimeRange range;
    range.from = 5000;
    range.to = 20000;
    range.toIndex = 3;
    const srt::RetimePlan plan = doc.PlanRetime(srt::TimeMap::Offset(100), range);
    ASSERT_EQ(plan.changed.size(), 2u);
    EXPECT_EQ(plan.selected, 2u);
    EXPECT_EQ(plan.changed[0].first, 5u);
    EXPECT_EQ(plan.changed[0].second.text, L"00:00:05,100 --> 00:00:06,100");
    EXPECT_EQ(plan.changed[1].first, 9u);
    const auto starts = doc.TimeLineStarts();
    ASSERT_EQ(starts.size(), 4u);
    EXPECT_EQ(starts[3].first, 11u);
    EXPECT_EQ(starts[3].second, 20000);
    EXPECT_EQ(doc.CueTimesIn(range).size(), 2u);
}

TEST_F(DocumentTest, ARestoredStateSavesTheBytesOfThatState) {
    Open(kGbk);
    Open(kUtf8);
    const std::string original = SaveOf(doc);
    const srt::DocumentState before = doc.State();
    ASSERT_FALSE(doc.Shift(1500));
    doc.ApplyPlan(doc.PlanRetime(srt::TimeMap::Scale(25, 24), {}));
    doc.Update(doc.Text() + L"typed\r\n");
    const std::string changed = SaveOf(doc);
    const srt::DocumentState after = doc.State();
    doc.Restore(before);
    EXPECT_EQ(SaveOf(doc), original);
    doc.Restore(after);
    EXPECT_EQ(SaveOf(doc), changed);
}

TEST_F(DocumentTest, LineEndsAreCountedAsRead) {
    Open("1\r\n00:00:01,000 --> 00:00:02,000\r\nA\n");
    EXPECT_EQ(doc.CrLfEnds(), 2u);
    EXPECT_EQ(doc.LfEnds(), 1u);
    Document fresh(codec);
    ASSERT_FALSE(fresh.Append("no end"));
    EXPECT_EQ(fresh.CrLfEnds() + fresh.LfEnds(), 0u);
}
