// Passing over records by their first field (CommaReader::skipPlainRecords): a record is passed
// over only when next() would read it the same way without a fault or a warning; anything else is
// left to next(), which then reads or refuses it exactly as it would have without the skipping,
// under the same record number. Checked against next() alone on many files of mixed forms, read
// through buffers small enough to put the end of the buffer anywhere in a record.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/CommaReader.h"
#include "core/InputError.h"
#include "core/Warnings.h"
#include "tests/support/TestFiles.h"

namespace orr {
namespace {

// What a reading saw: for each record read (not passed over) its number and two fields, then
// the end or the message of the fault, and the warnings.
struct Seen {
    std::vector<std::string> records;
    std::string end;
    std::vector<Warning> warnings;
    long passedOver = 0;
    bool operator==(const Seen& o) const {
        return records == o.records && end == o.end && warnings == o.warnings;
    }
};

// Reads the file record by record; with `skipPlot`, the records after one of that plot whose
// line is that plot and a plain number are passed over (only their count is kept), or, with
// `take`, taken with their numbers.
Seen readAll(const std::filesystem::path& file, std::size_t buffer, const std::string& skipPlot,
             bool take = false) {
    Seen seen;
    WarningCollector collector;
    try {
        CommaReader r(file, buffer);
        std::string lead;
        for (;;) {
            if (!lead.empty() && take) {
                std::vector<double> values;
                const long before = r.record();
                r.takePlainRecords(lead, values);
                for (std::size_t i = 0; i < values.size(); ++i)
                    seen.records.push_back(std::to_string(before + 1 + static_cast<long>(i)) + ":" +
                                           skipPlot + "=" + std::to_string(values[i]));
                EXPECT_EQ(r.record(), before + static_cast<long>(values.size()));
            } else if (!lead.empty()) {
                seen.passedOver += r.skipPlainRecords(lead);
            }
            if (!r.next(2)) break;
            const std::string plot(r.text(0));
            seen.records.push_back(std::to_string(r.record()) + ":" + plot + "=" +
                                   std::to_string(r.number(1, "height")));
            lead = plot == skipPlot ? plot + "," : "";
        }
        seen.end = "end at record " + std::to_string(r.record());
    } catch (const InputError& e) {
        seen.end = e.what();
    }
    seen.warnings = collector.take();
    return seen;
}

// The records `next()` alone reads that the skipping reading passed over: those of the plot.
std::vector<std::string> withoutPlot(const std::vector<std::string>& records,
                                     const std::string& plot) {
    std::vector<std::string> kept;
    bool previousOfPlot = false;
    for (const auto& r : records) {
        const std::string field = r.substr(r.find(':') + 1, r.find('=') - r.find(':') - 1);
        if (!(previousOfPlot && field == plot)) kept.push_back(r);
        previousOfPlot = field == plot;
    }
    return kept;
}

TEST(CommaReaderSkip, PassesOverPlainRecordsOfItsLeadOnlyAndCountsThem) {
    test::TempDir dir;
    const auto file = dir / "lidar.csv";
    // Plot 7's plain records are passed over; plot 70 starts with the same digits, and the
    // blank line, LF alone and a last line without a line end are all plain.
    test::writeFile(file, "7,12.5\r\n7,13\r\n\r\n7,-0.25\n70,14.5\r\n7,15\r\n8,16.5\r\n7,17");
    const Seen all = readAll(file, 1 << 20, "");
    ASSERT_EQ(all.records.size(), 7u);
    EXPECT_EQ(all.end, "end at record 7");
    const Seen skipping = readAll(file, 1 << 20, "7");
    // 7,13 and 7,-0.25 are passed over; 7,15 follows plot 70 and is read, the last line's end
    // is not in the buffer (the file ends there) and is left to next().
    EXPECT_EQ(skipping.passedOver, 2);
    EXPECT_EQ(skipping.records, withoutPlot(all.records, "7"));
    EXPECT_EQ(skipping.end, all.end);
}

TEST(CommaReaderSkip, LeavesEveryOtherFormToNextWhichReadsOrRefusesItAsBefore) {
    test::TempDir dir;
    // After a record of plot 5, each of these records is not passed over: next() reads it, or
    // refuses it under its own record number, as a reading without skipping does.
    const std::vector<std::string> others = {
        "5, 12.5",
        "5,12.5 ",
        "\"5\",12.5",
        "5,\"12.5\"",
        "5,1e3",
        "5,+12",
        "5,.5",
        "5,12.",
        "5,",
        "5,abc",
        "5,12,7",
        "5,12,",
        "5\r\n12.5",
        "5.0,12.5",
        "5,1234567890123456",
        "5,\"12",
        "5,12\"x\"",
        "5,--3",
        "5,12.5.5",
        "5,12\t",
        "5,-",
        "5,-.5",
        "5,1 2",
        "5,12a",
        "5,1\xC3\xA9"
        "2",
        "5,-12-3",
        "5,.",
        "5,0.0000000000000001",
    };
    for (const std::string& other : others) {
        SCOPED_TRACE(other);
        const auto file = dir / "lidar.csv";
        // Records of another plot after it, so that the record stands well inside the buffer.
        test::writeFile(file, "5,10.5\r\n5,11.5\r\n" + other +
                                  "\r\n5,13.5\r\n6,1.5\r\n6,2.5\r\n6,3.5\r\n6,4.5\r\n");
        const Seen all = readAll(file, 1 << 20, "");
        const Seen skipping = readAll(file, 1 << 20, "5");
        EXPECT_EQ(skipping.end, all.end);
        EXPECT_EQ(skipping.warnings, all.warnings);
        // 5,11.5 is passed over; the record itself is read (or refused) by next().
        ASSERT_GE(all.records.size(), 2u);
        EXPECT_GE(skipping.passedOver, 1);
        const auto third = [](const Seen& seen) {
            return std::count_if(seen.records.begin(), seen.records.end(),
                                 [](const std::string& r) { return r.rfind("3:", 0) == 0; });
        };
        EXPECT_EQ(third(skipping), third(all));
        EXPECT_EQ(skipping.records.size() + static_cast<std::size_t>(skipping.passedOver),
                  all.records.size());
    }
}

TEST(CommaReaderSkip, AnyBufferAndAnyFileGiveTheRecordsAndFaultsOfNextAlone) {
    test::TempDir dir;
    std::mt19937 g(11);
    // Plain numbers of up to 15 digits, and numbers next() reads that are not plain.
    const std::vector<std::string> fine = {
        "12.5", "30", "-0.5", "0", "99.99", "7.25", "123456789012.345", "-12345678901234"};
    const std::vector<std::string> odd = {
        " 12.5", "1e2", "\"4\"", "", "x", "3,4", "12.5 ", "-1234567890123456", "1.2.3"};
    const std::vector<std::string> ends = {"\r\n", "\n", "\r\n\r\n", "\r"};
    // Plot fields shorter and longer than a word of eight bytes with their comma.
    const std::vector<std::string> plots = {"0", "1", "123456789012"};
    for (int round = 0; round < 300; ++round) {
        std::string text = round % 2 == 0 ? "\xEF\xBB\xBF" : "";
        const int records = 1 + static_cast<int>(g() % 40);
        for (int i = 0; i < records; ++i) {
            const std::string& plot = plots[g() % plots.size()];
            const bool plain = g() % 12 != 0;
            text += plot + "," + (plain ? fine[g() % fine.size()] : odd[g() % odd.size()]);
            if (i + 1 < records || g() % 2 == 0) text += ends[g() % ends.size()];
        }
        const auto file = dir / "lidar.csv";
        test::writeFile(file, text);
        const std::size_t buffer = 16 + g() % 48;
        SCOPED_TRACE(testing::Message() << "round " << round << ", buffer " << buffer);
        const Seen all = readAll(file, buffer, "");
        for (const std::string& plot : plots) {
            const Seen skipping = readAll(file, buffer, plot);
            EXPECT_EQ(skipping.end, all.end);
            EXPECT_EQ(skipping.warnings, all.warnings);
            // The records not passed over are those of next() alone, under the same numbers.
            for (const auto& r : skipping.records)
                EXPECT_NE(std::find(all.records.begin(), all.records.end(), r), all.records.end())
                    << r;
            EXPECT_EQ(skipping.records.size() + static_cast<std::size_t>(skipping.passedOver),
                      all.records.size());
            // Taken, they are the records of next() alone with the same numbers.
            const Seen taking = readAll(file, buffer, plot, true);
            EXPECT_EQ(taking.records, all.records);
            EXPECT_EQ(taking.end, all.end);
            EXPECT_EQ(taking.warnings, all.warnings);
        }
    }
}

}  // namespace
}  // namespace orr
