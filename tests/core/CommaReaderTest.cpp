// The comma reader: records across lines, the refusals with their messages naming file, record
// and field, and reading through a buffer whose end falls anywhere in a record.
#include <gtest/gtest.h>

#include <charconv>
#include <optional>
#include <random>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "core/CommaReader.h"
#include "core/InputError.h"
#include "core/NumberText.h"
#include "tests/support/TestFiles.h"

namespace orr {
namespace {

std::string messageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const InputError& e) {
        return e.what();
    }
    return "";
}

TEST(CommaReader, RecordsSpanLinesAndQuotesBlanksAndAByteOrderMarkAreStripped) {
    // CR LF, LF and CR alone, blank lines, quotes (blanks after the closing one), blanks, a record
    // over two lines, the empty field after a trailing comma.
    CommaReader r("\xEF\xBB\xBF 1 , \"4.5\" ,abc\r\n\r\n2\n 3,x\r7,8,\r\n", "t.csv");
    ASSERT_TRUE(r.next(3));
    EXPECT_EQ(r.text(0), "1");
    EXPECT_EQ(r.number(1, "min"), 4.5);
    EXPECT_EQ(r.text(2), "abc");
    ASSERT_TRUE(r.next(3));
    EXPECT_EQ(r.record(), 2);
    EXPECT_EQ(r.number(0, ""), 2);
    EXPECT_EQ(r.number(1, ""), 3);
    EXPECT_EQ(r.text(2), "x");
    ASSERT_TRUE(r.next(3));
    EXPECT_EQ(r.text(2), "");
    EXPECT_FALSE(r.next(3));
    // A number ends at its separator, not at the first character that is not a digit.
    CommaReader blanks("5 ,1e3 , 2.5 x\r\n", "t.csv");
    ASSERT_TRUE(blanks.next(3));
    EXPECT_EQ(blanks.number(0, ""), 5);
    EXPECT_EQ(blanks.number(1, ""), 1000);
    EXPECT_THROW(blanks.number(2, ""), InputError);
}

TEST(CommaReader, ErrorsNameFileRecordFieldAndText) {
    CommaReader r("1,2\r\n3,abc\r\n5", "/data/ABC_trees.csv");
    ASSERT_TRUE(r.next(2));
    ASSERT_TRUE(r.next(2));
    EXPECT_EQ(messageOf([&] { r.number(1, "height"); }),
              "File /data/ABC_trees.csv, record 2, field 2 (height): \"abc\" is not a number.");
    EXPECT_EQ(messageOf([&] { r.next(2); }),
              "File /data/ABC_trees.csv, record 3, field 2: \"end of file\" was found where the "
              "record goes on: the record is cut short.");

    CommaReader s("40000,1.5,7\r\n", "s.csv");
    ASSERT_TRUE(s.next(3));
    EXPECT_EQ(messageOf([&] { s.int16(0, "plot"); }),
              "File s.csv, record 1, field 1 (plot): \"40000\" is outside the whole numbers "
              "-32768 to 32767.");
    EXPECT_EQ(s.intInRange(1, "species", 1, 3), 2);  // 1.5 rounds half to even
    EXPECT_EQ(
        messageOf([&] { s.intInRange(2, "species", 1, 3); }),
        "File s.csv, record 1, field 3 (species): \"7\" is outside the allowed range 1 to 3.");

    test::TempDir dir;
    EXPECT_EQ(messageOf([&] { CommaReader m(dir / "missing.csv"); }),
              "File " + (dir / "missing.csv").string() +
                  ": cannot be opened: No such file or directory.");
    EXPECT_EQ(messageOf([&] { CommaReader d(dir.path()); }),
              "File " + dir.path().string() + ": is a directory, not a file.");
}

// A record ends its line: a field after its last one is refused, not read as the first field of
// the next record (which would shift every later field), and a quote closes on its line. Text
// from a file reaches a message escaped and cut: no byte acts on the terminal, a NUL byte does
// not end the message early, a huge field does not make a huge message.
TEST(CommaReader, AFurtherFieldOnARecordsLineOrTextAfterAQuoteIsRefused) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"1,2,3,4,9\r\n5,6,7,8\r\n",
         "record 1, field 5: \"9\" stands after the last of the record's 4 fields, on the same "
         "line; a record ends its line."},
        {"1,2,\"8.9\"abc,4\r\n",
         "record 1, field 3: \"8.9\" is followed by \"abc\" after its closing quote."},
        {"1,2,\"8.9,4\r\n\"5\",6,7,8\r\n",
         "record 1, field 3: \"8.9,4\" starts with a quote that is not closed on its line."},
        {std::string("1,\x1B[31mred\x07\0x,3,4\r\n", 19),
         "record 1, field 2: \"\\x1B[31mred\\x07\\x00x\" is not a number."},
        {"1," + std::string(100000, '7') + "x,3,4\r\n",
         "record 1, field 2: \"" + std::string(40, '7') + "...\" is not a number."},
        {"1,h\xC3\xB6he\xFF,3,4\r\n",  // UTF-8 kept, a stray byte escaped
         "record 1, field 2: \"h\xC3\xB6he\\xFF\" is not a number."},
    };
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(text.substr(0, 30));
        CommaReader r(text, "c.csv");
        const std::string got = messageOf([&] {
            while (r.next(4))
                for (int i = 0; i < 4; ++i) r.number(i, "");
        });
        EXPECT_EQ(got.rfind("File c.csv, " + message, 0), 0u) << got;
    }
}

// Everything a reader makes of a text: each record's fields and numbers, the record number and
// the bytes read, up to the end or the message that stopped it.
std::string readThrough(CommaReader& r, int fields) {
    std::string seen;
    try {
        while (r.next(fields)) {
            seen += std::to_string(r.record()) + "@" + std::to_string(r.bytesRead()) + ":";
            for (int i = 0; i < fields; ++i) {
                seen += " [" + std::string(r.text(i)) + "]";
                try {
                    seen += shortest(r.number(i, "f"));
                } catch (const InputError&) {
                    seen += "?";
                }
            }
            seen += "\n";
        }
        seen += "end";
    } catch (const InputError& e) {
        seen += e.what();
    }
    return seen;
}

// A file is read through a buffer used again and again: records that run over the buffer's end
// (a CR LF, a quote, a number or a record longer than the whole buffer cut in two) read exactly
// as from the whole text at once, and so do the faults.
TEST(CommaReader, ABufferEndInsideARecordChangesNothing) {
    const std::string long7(70, '7');
    const std::vector<std::pair<std::string, int>> texts = {
        {"\xEF\xBB\xBF"
         "12,34.5\r\n7,-0.25\r\n\r\n  8 , 1e2\r\n9,\r\n" +
             long7 + ",3.\r\n",
         2},
        {"1,\"ab c\",2.5\r\n3\n4,5\r\n\"x\",+6,.5\r\n7,8,9", 3},
        {"123456789012345,1234567890123456,0.000000000000001\r\n", 3},
        {"1,2\r\n3,\"4\r\n", 2},
        {"1,2\r\n3,4,5\r\n", 2},
        {"1,2\r\n3,\"4\"x\r\n", 2},
        {"1,2\r\n3", 2},
    };
    test::TempDir dir;
    for (const auto& [text, fields] : texts) {
        CommaReader whole(text, "c.csv");
        const std::string expected = readThrough(whole, fields);
        test::writeFile(dir / "c.csv", text);
        for (std::size_t buffer : {16, 17, 19, 23, 64}) {
            SCOPED_TRACE(text + " / buffer " + std::to_string(buffer));
            CommaReader streamed(dir / "c.csv", buffer);
            EXPECT_EQ(
                readThrough(streamed, fields),
                std::regex_replace(expected, std::regex("c\\.csv"), (dir / "c.csv").string()));
        }
    }
}

// The numbers of the files are read as their decimal text says, whatever their length and
// wherever the buffer ends: a plain decimal of up to nine digits before and after its point has
// the value std::from_chars gives it, any other form what parseNumber makes of it; ended by a
// comma or by a line end, with blanks around it or not.
TEST(CommaReader, DecimalsOfEveryLengthReadAsTheirText) {
    std::mt19937 g(3);
    const auto digits = [&](int count) {
        std::string text;
        for (int i = 0; i < count; ++i) text += static_cast<char>('0' + g() % 10);
        return text;
    };
    std::vector<std::string> numbers;
    for (int whole = 0; whole <= 9; ++whole) {
        for (int after = -1; after <= 9; ++after) {  // -1: no point
            for (int i = 0; i < 12; ++i) {
                std::string n = (i % 5 == 4 ? "-" : "") + digits(whole);
                if (after >= 0) n += "." + digits(after);
                numbers.push_back(n);
            }
        }
    }
    // Each number first or second on its line, so that a comma or a line end follows it, with
    // blanks before or after it or none.
    std::string text;
    std::vector<bool> first;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        first.push_back(g() % 2 == 0);
        const std::string other = std::to_string(i);
        const char* blanks[] = {"", "", " ", "\t ", "  "};
        const std::string n = blanks[g() % 5] + numbers[i] + blanks[g() % 5];
        text += (first.back() ? n + "," + other : other + "," + n) + (g() % 2 == 0 ? "\r\n" : "\n");
    }
    test::TempDir dir;
    test::writeFile(dir / "n.csv", text);
    const std::regex plain("-?[0-9]+(\\.[0-9]+)?");
    for (std::size_t buffer : {16, 23, 64, 1 << 20}) {
        SCOPED_TRACE("buffer " + std::to_string(buffer));
        CommaReader r(dir / "n.csv", buffer);
        std::size_t i = 0;
        for (; r.next(2); ++i) {
            ASSERT_LT(i, numbers.size());
            const int at = first[i] ? 0 : 1;
            const std::string& n = numbers[i];
            ASSERT_EQ(r.text(at), n);
            EXPECT_EQ(r.text(1 - at), std::to_string(i));
            if (n.empty()) {
                EXPECT_EQ(r.number(at, "n"), 0);  // an empty field reads as 0
            } else if (std::regex_match(n, plain)) {
                double expected = 0;
                std::from_chars(n.data(), n.data() + n.size(), expected);
                EXPECT_EQ(r.number(at, "n"), expected + 0.0) << n;
            } else if (const std::optional<double> parsed = parseNumber(n)) {
                EXPECT_EQ(r.number(at, "n"), *parsed) << n;
            } else {
                EXPECT_THROW(r.number(at, "n"), InputError) << n;
            }
        }
        EXPECT_EQ(i, numbers.size());
    }
}

}  // namespace
}  // namespace orr
