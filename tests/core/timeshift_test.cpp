#include "core/timeshift.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace srt {
namespace {

std::string ErrorOf(std::string_view line, std::int32_t offset) {
    try {
        ShiftTimeLine(line, offset);
    } catch (const EConvertError& e) {
        return e.what();
    }
    return "(no error)";
}

struct Example {
    const char* line;
    std::int32_t offset;
    const char* result;
};

TEST(ShiftTimeLine, WorkedExamples) {
    const Example examples[] = {
        {"00:01:02,345 --> 00:01:04,567", 1500, "00:01:03,845 --> 00:01:06,067"},
        {"00:59:59,800 --> 01:00:02,000", 250, "01:00:00,050 --> 01:00:02,250"},
        {"00:00:05,100 --> 00:00:07,900", -300, "00:00:04,800 --> 00:00:07,600"},
        {"00:00:05,100 --> 00:00:07,900", -1300, "00:00:03,800 --> 00:00:06,600"},
        {"00:00:10,000 --> 00:00:12,000", 90000, "00:01:40,000 --> 00:01:42,000"},
        {"10:00:00,000 --> 10:00:01,000", 1000, "10:00:01,000 --> 10:00:02,000"},
        {"00:00:01,000 --> 00:00:02,000 X1:40 X2:600", 0, "00:00:01,000 --> 00:00:02,000"},
        {"00:00:01.000 --> 00:00:02.000", 0, "00:00:01,000 --> 00:00:02,000"},
        {"00:00:01,000 --> 00:00:02,00", 0, "00:00:01,000 --> 00:00:02,000"},
    };
    for (const auto& e : examples) {
        EXPECT_EQ(ShiftTimeLine(e.line, e.offset), e.result) << e.line << " by " << e.offset;
    }
}

TEST(ShiftTimeLine, OtherLinesPassThroughUnchanged) {
    for (std::int32_t offset : {0, 1500, -1500, INT_MAX, INT_MIN}) {
        EXPECT_EQ(ShiftTimeLine("12", offset), "12");
        EXPECT_EQ(ShiftTimeLine("", offset), "");
        EXPECT_EQ(ShiftTimeLine("Hello -> world", offset), "Hello -> world");
        EXPECT_EQ(ShiftTimeLine("\xd6\xd0\xce\xc4 <i>text</i>", offset), "\xd6\xd0\xce\xc4 <i>text</i>");
        EXPECT_EQ(ShiftTimeLine("00:00:01,000 -- > 00:00:02,000", offset),
                  "00:00:01,000 -- > 00:00:02,000");
    }
}

TEST(ShiftTimeLine, MillisecondsArePaddedToThreeDigits) {
    EXPECT_EQ(ShiftTimeLine("00:00:01,000 --> 00:00:01,000", 5), "00:00:01,005 --> 00:00:01,005");
    EXPECT_EQ(ShiftTimeLine("00:00:01,000 --> 00:00:01,000", 50), "00:00:01,050 --> 00:00:01,050");
    EXPECT_EQ(ShiftTimeLine("00:00:01,000 --> 00:00:01,000", -1), "00:00:00,999 --> 00:00:00,999");
}

TEST(ShiftTimeLine, StartAndEndShiftIndependently) {
    // Nothing checks that the end still follows the start.
    EXPECT_EQ(ShiftTimeLine("00:00:09,000 --> 00:00:01,000", 1), "00:00:09,001 --> 00:00:01,001");
    // Columns 9, 13-17 and 26 are never looked at.
    EXPECT_EQ(ShiftTimeLine("00:00:01x000yyyyy00:00:02#000-->", 0), "00:00:01,000 --> 00:00:02,000");
}

TEST(ShiftTimeLine, IntegerSyntaxInMillisecondFields) {
    EXPECT_EQ(ShiftTimeLine("00:00:01, 12 --> 00:00:02,  7", 0), "00:00:01,012 --> 00:00:02,007");
    EXPECT_EQ(ShiftTimeLine("00:00:01,$FF --> 00:00:02,x0a", 0), "00:00:01,255 --> 00:00:02,010");
    EXPECT_EQ(ShiftTimeLine("00:00:01,-50 --> 00:00:02,+50", 0), "00:00:00,950 --> 00:00:02,050");
    EXPECT_EQ(ShiftTimeLine("00:00:01,0x9 --> 00:00:02,9", 0), "00:00:01,009 --> 00:00:02,009");
}

TEST(ShiftTimeLine, TimeOfDayForms) {
    const char* end = " --> 00:00:02,000";
    auto start = [&](const char* field) { return ShiftTimeLine(std::string(field) + ",000" + end, 0).substr(0, 12); };
    EXPECT_EQ(start("01:02:03"), "01:02:03,000");
    EXPECT_EQ(start(" 1: 2: 3"), "01:02:03,000");
    EXPECT_EQ(start("01:02   "), "01:02:00,000");
    EXPECT_EQ(start("1:2:3 PM"), "13:02:03,000");
    EXPECT_EQ(start("1:2:3 am"), "01:02:03,000");
    EXPECT_EQ(start("12:00 AM"), "00:00:00,000");
    EXPECT_EQ(start("12:00 pM"), "12:00:00,000");
    EXPECT_EQ(start("PM 11:05"), "23:05:00,000");
    EXPECT_EQ(start("7       "), "07:00:00,000");
    EXPECT_EQ(start("1:2:3.45"), "01:02:03,000");  // milliseconds read and ignored
    EXPECT_EQ(start("23:59:59"), "23:59:59,000");
}

TEST(ShiftTimeLine, InvalidTimesOfDay) {
    const char* fields[] = {
        "24:00:00", "01:60:00", "01:00:60", "0:00 PM ", "13:00 PM",
        "AM 1 PM ", "1:2:3.   ", "1::2    ", ":1:2    ", "1:2:3:4 ", "-0:00:04",
        "01.02.03", "1 2     ", "1:2.5   ", "        ",
    };
    for (const char* field : fields) {
        std::string f(field);
        f.resize(8, ' ');
        const std::string line = f + ",000 --> 00:00:02,000";
        EXPECT_EQ(ErrorOf(line, 0), "'" + f + "' is not a valid time") << line;
    }
    EXPECT_FALSE(TryStrToTimeSeconds("01:02:03,"));
    EXPECT_FALSE(TryStrToTimeSeconds("1:2:3.1000"));
    EXPECT_EQ(TryStrToTimeSeconds("1:2:3.999"), 3723);
}

TEST(ShiftTimeLine, FirstBadFieldInReadingOrderIsReported) {
    // Order: start millis, end millis, start time, end time.
    EXPECT_EQ(ErrorOf("xx:00:01,abc --> yy:00:02,def", 0), "'abc' is not a valid integer value");
    EXPECT_EQ(ErrorOf("xx:00:01,000 --> yy:00:02,def", 0), "'def' is not a valid integer value");
    EXPECT_EQ(ErrorOf("xx:00:01,000 --> yy:00:02,000", 0), "'xx:00:01' is not a valid time");
    EXPECT_EQ(ErrorOf("00:00:01,000 --> yy:00:02,000", 0), "'yy:00:02' is not a valid time");
    EXPECT_EQ(ErrorOf("24:00:00,000 --> 00:00:02,000", 0), "'24:00:00' is not a valid time");
}

TEST(ShiftTimeLine, ShortAndOddLinesWithArrowFail) {
    EXPECT_EQ(ErrorOf("-->", 0), "'' is not a valid integer value");
    EXPECT_EQ(ErrorOf("Then he said --> go", 0), "'aid' is not a valid integer value");
    EXPECT_EQ(ErrorOf("00:00:01 --> 00:00:10", 0), "'-->' is not a valid integer value");
    EXPECT_EQ(ErrorOf("00:00:01,000 -->", 0), "'' is not a valid integer value");
    EXPECT_EQ(ErrorOf("00:00:01,000 --> 00:00:02,", 0), "'' is not a valid integer value");
}

TEST(ShiftTimeLine, FourthMillisecondDigitIsDropped) {
    EXPECT_EQ(ShiftTimeLine("00:00:02,345 --> 00:00:03,4560", 0), "00:00:02,345 --> 00:00:03,456");
}

TEST(ShiftTimeLine, WholeDayOffsetsAreExact) {
    EXPECT_EQ(ShiftTimeLine("00:00:00,000 --> 00:00:00,000", 86399999), "23:59:59,999 --> 23:59:59,999");
    EXPECT_EQ(ShiftTimeLine("23:59:59,999 --> 12:00:00,000", -43200000), "11:59:59,999 --> 00:00:00,000");
    EXPECT_EQ(ShiftTimeLine("01:00:00,000 --> 02:00:00,000", -3599999), "00:00:00,001 --> 01:00:00,001");
}

TEST(ShiftTimeLine, ShiftOutsideTheDayIsRefused) {
    EXPECT_EQ(ErrorOf("00:00:01,000 --> 00:00:03,000", -1001),
              "'00:00:01,000' shifted by -1001 ms is outside 00:00:00,000 to 23:59:59,999");
    EXPECT_EQ(ErrorOf("23:59:58,000 --> 23:59:59,500", 500),
              "'23:59:59,500' shifted by +500 ms is outside 00:00:00,000 to 23:59:59,999");
    EXPECT_EQ(ErrorOf("00:00:00,000 --> 00:00:00,000", INT_MIN),
              "'00:00:00,000' shifted by -2147483648 ms is outside 00:00:00,000 to 23:59:59,999");
    EXPECT_EQ(ErrorOf("23:59:59,999 --> 23:59:59,999", INT_MAX),
              "'23:59:59,999' shifted by +2147483647 ms is outside 00:00:00,000 to 23:59:59,999");
    // The boundaries themselves.
    EXPECT_EQ(ShiftTimeLine("00:00:01,000 --> 23:59:58,999", -1000), "00:00:00,000 --> 23:59:57,999");
    EXPECT_EQ(ShiftTimeLine("00:00:01,000 --> 23:59:58,999", 1000), "00:00:02,000 --> 23:59:59,999");
    // A negative millisecond field borrows from the time of day.
    EXPECT_EQ(ErrorOf("00:00:00,-01 --> 00:00:01,000", 0),
              "'00:00:00,-01' shifted by +0 ms is outside 00:00:00,000 to 23:59:59,999");
}

TEST(ShiftTimeLine, AppendLeavesBufferAloneOnFailure) {
    std::string out = "kept";
    EXPECT_THROW(AppendShiftedLine(out, "24:00:00,000 --> 00:00:02,000", 0), EConvertError);
    EXPECT_EQ(out, "kept");
    AppendShiftedLine(out, "00:00:01,000 --> 00:00:02,000", 1);
    EXPECT_EQ(out, "kept00:00:01,001 --> 00:00:02,001");
}

TEST(StrToInt, AcceptedForms) {
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("1500"), 1500);
    EXPECT_EQ(StrToInt("  -300"), -300);
    EXPECT_EQ(StrToInt("+42"), 42);
    EXPECT_EQ(StrToInt("007"), 7);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToInt("x1f"), 31);
    EXPECT_EQ(StrToInt("X10"), 16);
    EXPECT_EQ(StrToInt("0x10"), 16);
    EXPECT_EQ(StrToInt("-0X10"), -16);
    EXPECT_EQ(StrToInt("2147483647"), INT_MAX);
    EXPECT_EQ(StrToInt("-2147483648"), INT_MIN);
    EXPECT_EQ(StrToInt("$7FFFFFFF"), INT_MAX);
    EXPECT_EQ(StrToInt("-$80000000"), INT_MIN);
    EXPECT_EQ(StrToInt("00000000000000000000001"), 1);
}

TEST(StrToInt, RefusedFormsNameTheText) {
    const char* texts[] = {
        "", " ", "+", "-", "$", "0x", "x", "1500 ", "15 00", "- 5", "+-5", "1.5", "1e3",
        "abc", "2147483648", "-2147483649", "$80000000", "$FFFFFFFF", "99999999999999999999",
        "\t5", "0x-1", "$$1", "１",
    };
    for (const char* text : texts) {
        EXPECT_FALSE(TryStrToInt(text)) << "'" << text << "'";
        try {
            StrToInt(text);
            ADD_FAILURE() << "'" << text << "' accepted";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.what(), "'" + std::string(text) + "' is not a valid integer value");
        }
    }
}

}  // namespace
}  // namespace srt
