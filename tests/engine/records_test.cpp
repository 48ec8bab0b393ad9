#include "engine/records.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <vector>

#include "engine/adjustment.h"
#include "engine/astro.h"
#include "engine/calendar.h"
#include "engine/cp1252.h"
#include "engine/curve.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "test_support.h"

using namespace engine;
using testing_support::EngineTest;
using testing_support::TempDir;

namespace {

void putFloat(Bytes& b, size_t at, float v) { std::memcpy(b.data() + at, &v, 4); }
void putText(Bytes& b, size_t at, const char* text, size_t width) {
    std::memset(b.data() + at, ' ', width);
    std::memcpy(b.data() + at, text, std::strlen(text));
}

// A port record written byte by byte at the offsets of the area-file layout.
Bytes handMadePortRecord() {
    Bytes b(197, 0);
    putText(b, 0, "UK77", 5);
    putText(b, 5, "Dover", 35);
    putFloat(b, 40, 51.1167f);
    putFloat(b, 44, 1.3167f);
    b[48] = 'L';
    // Constants of heights a sea can have, each its own.
    for (int i = 0; i < 13; ++i) putFloat(b, 49 + 4 * i, 0.01f * static_cast<float>(i + 1));
    for (int m = 0; m < 12; ++m) putFloat(b, 101 + 4 * m, 0.01f * static_cast<float>(m + 1));
    for (int m = 0; m < 12; ++m) putFloat(b, 149 + 4 * m, 2.0f + 0.1f * static_cast<float>(m));
    return b;
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

class Records : public EngineTest {};

TEST_F(Records, PortRecordFieldsSitAtTheirOffsets) {
    Bytes bytes = handMadePortRecord();
    PortRecord r = DecodePortRecord(bytes);
    EXPECT_EQ(r.PortNo, "UK77 ");
    EXPECT_EQ(Trim(r.PortName), "Dover");
    EXPECT_EQ(r.PortName.size(), 35u);
    EXPECT_FLOAT_EQ(r.Latitude, 51.1167f);
    EXPECT_FLOAT_EQ(r.Longitude, 1.3167f);
    EXPECT_EQ(r.ZoneLetter, "L");
    const float* fields[] = {&r.Z0,  &r.M2g,  &r.M2Hm, &r.S2g, &r.S2Hm, &r.K1g, &r.K1Hm,
                             &r.O1g, &r.O1Hm, &r.sf4,  &r.LF4, &r.sf6,  &r.LF6};
    for (int i = 0; i < 13; ++i) EXPECT_FLOAT_EQ(*fields[i], 0.01f * static_cast<float>(i + 1)) << i;
    EXPECT_FLOAT_EQ(r.MonthDZ0[0], 0.01f);
    EXPECT_FLOAT_EQ(r.MonthDZ0[11], 0.12f);
    EXPECT_FLOAT_EQ(r.MonthM2Hm[11], 3.1f);
    EXPECT_EQ(EncodePortRecord(r), bytes);
}

TEST_F(Records, TextFieldsAreCutPaddedAndWindows1252) {
    PortRecord r;
    r.PortName = "Saint-Valéry-sur-Somme and a much longer tail";
    Bytes b = EncodePortRecord(r);
    EXPECT_EQ(static_cast<unsigned char>(b[5 + 9]), 0xE9);  // é as one byte
    PortRecord back = DecodePortRecord(b);
    EXPECT_EQ(back.PortName, "Saint-Valéry-sur-Somme and a much l");
    r.PortName = "Rye";
    b = EncodePortRecord(r);
    EXPECT_EQ(std::string(b.begin() + 5, b.begin() + 40), "Rye" + std::string(32, ' '));
    EXPECT_FALSE(FitsCp1252("Łeba"));
    EXPECT_TRUE(FitsCp1252("Côte €"));
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "€");
    EXPECT_EQ(Cp1252ToUtf8(LowerCp1252(Utf8ToCp1252("SAINT-VALÉRY Š Ÿ ×"))), "saint-valéry š ÿ ×");
    // Every byte reads back to itself, the five that name no character too.
    std::string every;
    for (int code = 1; code < 256; ++code) every.push_back(static_cast<char>(code));
    bool lossless = false;
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(every), &lossless), every);
    EXPECT_TRUE(lossless);
}

TEST_F(Records, SettingsAndDepthLayouts) {
    SettingsRecord s;
    s.AreaPath = "/opt/tides/UK.hc";
    s.PortIndex = 77;
    s.OutputOption = 3;
    s.Draught = 0.5f;
    s.KeelClearance = 0.5f;
    s.SpareValue = 1;
    s.SummerTime = 0;
    s.SortByName = -1;
    Bytes b = EncodeSettingsRecord(s);
    ASSERT_EQ(b.size(), 1307u);
    float port = 0;
    std::memcpy(&port, b.data() + 1275, 4);
    EXPECT_EQ(port, 77.0f);
    EXPECT_EQ(b[1297], 0xFF);
    EXPECT_EQ(b[1298], 0xFF);
    EXPECT_EQ(b[254], ' ');
    EXPECT_EQ(DecodeSettingsRecord(b).SortByName, -1);

    DepthRecord d;
    d.PortName = "Dover";
    d.PortIndex = 17;
    d.ChartedDepth = 2.5f;
    d.Notes = "Position 51.07N   1.19E";
    b = EncodeDepthRecord(d);
    ASSERT_EQ(b.size(), 305u);
    EXPECT_EQ(b[35], 17);
    float depth = 0;
    std::memcpy(&depth, b.data() + 37, 4);
    EXPECT_EQ(depth, 2.5f);
    EXPECT_EQ(std::string(b.begin() + 49, b.begin() + 57), "Position");
    EXPECT_EQ(b[304], ' ');
}

TEST_F(Records, ZoneLetterRule) {
    struct Case {
        const char* letter;
        int hours;
    } cases[] = {
        {"L", 0}, {"W", -11}, {"A", 11}, {"M", -1}, {"K", 1}, {"m", -1}, {"a", 11}, {"w", -11},
        {"", 0},  {" ", 0},   {"X", 0},  {"Z", 0},  {"1", 0}, {"@", 0},  {"x", 0},
    };
    for (auto c : cases) EXPECT_EQ(ZoneHours(c.letter), c.hours) << "'" << c.letter << "'";
    EXPECT_EQ(ZoneHours(std::string(1, '\0')), 0);

    // The letter written for hours typed as a number.
    const struct {
        double hours;
        const char* letter;
    } written[] = {{2, "J"},  {-7, "S"},  {-11, "W"},
                   {11, "A"}, {0, "L"},   {5.5, "L"},
                   {12, "L"}, {-12, "L"}, {std::numeric_limits<double>::quiet_NaN(), "L"}};
    for (const auto& c : written) EXPECT_EQ(ZoneLetterForHours(c.hours), c.letter) << c.hours;
}

TEST_F(Records, AreaFileReading) {
    TempDir dir;
    std::string path = dir.file("two.hc");
    Bytes file = handMadePortRecord();
    Bytes second = handMadePortRecord();
    putText(second, 5, "Folkestone", 35);
    file.insert(file.end(), second.begin(), second.end());
    file.insert(file.end(), 100, 7);  // a trailing partial record is not a port
    writeFile(path, file);

    EXPECT_EQ(PortCount(path), 2);
    PortRecord r;
    ASSERT_TRUE(ReadPortRecord(path, 2, r).ok());
    EXPECT_EQ(Trim(r.PortName), "Folkestone");
    FileResult past = ReadPortRecord(path, 3, r);
    EXPECT_EQ(past.status, FileStatus::PastEnd);
    EXPECT_EQ(r.Z0, 0.0f);
    EXPECT_EQ(r.PortName, std::string(35, '\0'));

    std::string missing = dir.file("none.hc");
    EXPECT_EQ(PortCount(missing), 0);
    EXPECT_EQ(ReadPortRecord(missing, 1, r).status, FileStatus::Missing);
    EXPECT_FALSE(std::filesystem::exists(missing));  // readers never create files
}

TEST_F(Records, WriteRecordInPlaceAndReplaceFile) {
    TempDir dir;
    std::string path = dir.file("depths.DEP");
    DepthRecord d;
    d.PortName = "A";
    ASSERT_TRUE(WriteRecord(path, DepthRecord::kSize, 3, EncodeDepthRecord(d)).ok());
    EXPECT_EQ(FileLength(path), 3 * 305);  // zero-filled up to record 3
    d.PortName = "B";
    ASSERT_TRUE(WriteRecord(path, DepthRecord::kSize, 1, EncodeDepthRecord(d)).ok());
    DepthRecord back;
    ASSERT_TRUE(ReadDepthRecord(path, 3, back).ok());
    EXPECT_EQ(Trim(back.PortName), "A");
    ASSERT_TRUE(ReadDepthRecord(path, 1, back).ok());
    EXPECT_EQ(Trim(back.PortName), "B");

    ASSERT_TRUE(ReplaceFile(path, "xyz").ok());
    EXPECT_EQ(FileLength(path), 3);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp~"));
    FileResult bad = ReplaceFile(dir.file("no/such/folder/file"), "x");
    EXPECT_EQ(bad.status, FileStatus::WriteFailed);
    EXPECT_NE(bad.message.find("no/such/folder"), std::string::npos);
}

// Each field group with the values a damaged file holds: the reader names the file, the record
// and the field, and still gives the record as read (its name names the port).
TEST_F(Records, DamagedValuesAreFoundAndNamed) {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    struct Field {
        const char* name;
        float& (*of)(PortRecord&);
    };
    const Field fields[] = {
        {"Latitude", [](PortRecord& r) -> float& { return r.Latitude; }},
        {"Longitude", [](PortRecord& r) -> float& { return r.Longitude; }},
        {"Z0", [](PortRecord& r) -> float& { return r.Z0; }},
        {"O1Hm", [](PortRecord& r) -> float& { return r.O1Hm; }},
        {"sf4", [](PortRecord& r) -> float& { return r.sf4; }},
        {"LF6", [](PortRecord& r) -> float& { return r.LF6; }},
        {"MonthM2Hm of month 12", [](PortRecord& r) -> float& { return r.MonthM2Hm[11]; }},
    };
    TempDir dir;
    const std::string path = dir.file("Area.hc");
    for (const Field& f : fields) {
        for (float v : {kNaN, kInf, -kInf, 1e30f, 3.4e38f}) {
            PortRecord r = DecodePortRecord(handMadePortRecord());
            f.of(r) = v;
            const Bytes bytes = EncodePortRecord(r);
            ASSERT_TRUE(ReplaceFile(path, std::string(bytes.begin(), bytes.end())).ok());
            PortRecord back;
            const FileResult read = ReadPortRecord(path, 1, back);
            EXPECT_EQ(read.status, FileStatus::Damaged) << f.name << " " << v;
            EXPECT_EQ(
                read.message.rfind("Record 1 of Area.hc is damaged: " + std::string(f.name) + " is ", 0), 0u)
                << read.message;
            EXPECT_EQ(Trim(back.PortName), "Dover");
        }
    }
    // The words of the message, and the ends of the ranges, which still pass.
    PortRecord r = DecodePortRecord(handMadePortRecord());
    r.Latitude = 91;
    EXPECT_EQ(PortRecordFault(r), "Latitude is 91, outside -90 to 90");
    r.Latitude = -90;
    r.Longitude = 180;
    r.M2g = 3600;
    EXPECT_EQ(PortRecordFault(r), std::nullopt);
    // Z0 and LF4 at their ends are no field's fault, but give heights no sea has.
    r.Z0 = -100;
    r.LF4 = 100;
    EXPECT_EQ(PortRecordFault(r).value_or("").rfind("the constants can give heights of ", 0), 0u);
    r.Z0 = kNaN;
    EXPECT_EQ(PortRecordFault(r), "Z0 is not a number");
    r.Z0 = -kInf;
    EXPECT_EQ(PortRecordFault(r), "Z0 is minus infinite, outside -100 to 100");
    DepthRecord d;
    d.ChartedDepth = 1e8f;
    EXPECT_EQ(DepthRecordFault(d), "ChartedDepth is 1E+08, outside -100 to 1000");
    d.ChartedDepth = -100;
    EXPECT_EQ(DepthRecordFault(d), std::nullopt);
}

TEST_F(Records, RecordNumbersOutsideTheirRangeAreRefused) {
    TempDir dir;
    const std::string path = dir.file("depths.DEP");
    const Bytes record = EncodeDepthRecord(DepthRecord{});
    ASSERT_TRUE(WriteRecord(path, DepthRecord::kSize, 1, record).ok());
    const std::string before = testing_support::ReadAll(path);
    for (long n : {0L, -1L, kMaxRecordNumber + 1, std::numeric_limits<long>::max()}) {
        EXPECT_EQ(WriteRecord(path, DepthRecord::kSize, n, record).status, FileStatus::Refused) << n;
        DepthRecord back;
        EXPECT_EQ(ReadDepthRecord(path, n, back).status, FileStatus::PastEnd) << n;
    }
    EXPECT_EQ(testing_support::ReadAll(path), before);
    // The last record number is read past the end, without an overflowing offset.
    DepthRecord back;
    EXPECT_EQ(ReadDepthRecord(path, kMaxRecordNumber, back).status, FileStatus::PastEnd);
}

// A full disk (through the write seam): the old file stays whole, no temporary is left.
TEST_F(Records, FailedWritesLeaveTheOldBytes) {
    TempDir dir;
    const std::string path = dir.file("file.DEP");
    ASSERT_TRUE(ReplaceFile(path, "old bytes").ok());
    SetWriteFault([](const std::string&) { return ENOSPC; });
    const FileResult replaced = ReplaceFile(path, "new");
    const FileResult written = WriteRecord(path, 3, 1, Bytes{1, 2, 3});
    SetWriteFault({});
    EXPECT_EQ(replaced.status, FileStatus::WriteFailed);
    EXPECT_NE(replaced.message.find(std::strerror(ENOSPC)), std::string::npos) << replaced.message;
    EXPECT_EQ(written.status, FileStatus::WriteFailed);
    EXPECT_EQ(testing_support::ReadAll(path), "old bytes");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp~"));
}

TEST_F(Records, ShippedAreaFiles) {
    std::string uk = testing_support::SourceDir() + "/data/UK.hc";
    ASSERT_GE(PortCount(uk), 78);
    EXPECT_EQ(FileLength(uk) % 197, 0);
    PortRecord dover;
    ASSERT_TRUE(ReadPortRecord(uk, 77, dover).ok());
    EXPECT_EQ(Trim(dover.PortName), "Dover");
    EXPECT_EQ(ZoneHours(dover.ZoneLetter), 0);
    EXPECT_NEAR(dover.M2Hm, 2.25, 0.2);

    std::string france = testing_support::SourceDir() + "/data/France.hc";
    ASSERT_GT(PortCount(france), 10);
    PortRecord brest;
    for (long n = 1; n <= PortCount(france); ++n) {
        ASSERT_TRUE(ReadPortRecord(france, n, brest).ok());
        EXPECT_EQ(ZoneHours(brest.ZoneLetter), -1) << n;  // UTC + 1
    }
    // Every shipped record passes the reader's checks.
    for (long n = 1; n <= PortCount(uk); ++n) {
        PortRecord r;
        EXPECT_TRUE(ReadPortRecord(uk, n, r).ok()) << n;
    }
}

namespace {
// The shipped port whose constants can give the largest height, and that height.
struct Largest {
    std::string port;
    double height = 0;
    PortRecord record;
};
Largest largestShippedPort() {
    Largest largest;
    for (const char* area : {"UK.hc", "France.hc"}) {
        std::vector<PortRecord> ports;
        EXPECT_TRUE(ReadAllPortRecords(testing_support::SourceDir() + "/data/" + area, ports).ok());
        for (const PortRecord& p : ports)
            if (LargestHeight(p, true) > largest.height)
                largest = {std::string(area) + " " + Trim(p.PortName), LargestHeight(p, true), p};
    }
    return largest;
}
}  // namespace

// Constants each within its range that together give heights no sea has: the record is damaged,
// after every field's own check, with the largest height they can give, rounded up.
TEST_F(Records, ConstantsBeyondAnySeasTideAreDamaged) {
    const Largest shipped = largestShippedPort();
    PortRecord dover;
    ASSERT_TRUE(ReadPortRecord(testing_support::SourceDir() + "/data/UK.hc", 77, dover).ok());
    PortRecord atLimits;
    for (const PortConstant& c : kPortConstants) atLimits.*c.field = static_cast<float>(c.range.hi);
    atLimits.MonthDZ0.fill(100);
    atLimits.MonthM2Hm.fill(100);
    auto with = [](PortRecord r, const std::function<void(PortRecord&)>& change) {
        change(r);
        return r;
    };
    // Z0 and May's correction of it, nothing else.
    auto levels = [](float z0, float may) {
        PortRecord r;
        r.Z0 = z0;
        r.MonthDZ0[4] = may;
        return r;
    };
    const std::string tail = " m, more than any sea's tide (25 m)";
    struct Case {
        const char* what;
        PortRecord record;
        std::string fault;  // the whole text, or its start when it does not end in the tail
    } cases[] = {
        {"S2Hm 90 alone", with({}, [](PortRecord& r) { r.S2Hm = 90; }),
         "the constants can give heights of 130" + tail},
        {"Dover with S2Hm 90", with(dover, [](PortRecord& r) { r.S2Hm = 90; }),
         "the constants can give heights of "},
        {"every field at its limit", atLimits, "the constants can give heights of 2,498,236,0"},
        {"Z0 20 and 6 more in May", levels(20, 6), "the constants can give heights of 26" + tail},
        {"Z0 -20 and 6 less in May", levels(-20, -6), "the constants can give heights of 26" + tail},
        {"Z0 25 exactly", with({}, [](PortRecord& r) { r.Z0 = 25; }), ""},
        {shipped.port.c_str(), shipped.record, ""},
        {"the same 0.5 m above 25 m",
         with(shipped.record, [&](PortRecord& r) { r.Z0 += static_cast<float>(25.5 - shipped.height); }),
         "the constants can give heights of 26" + tail},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<std::string> fault = PortRecordFault(c.record);
        if (c.fault.empty()) {
            EXPECT_EQ(fault, std::nullopt);
        } else if (!c.fault.ends_with(tail)) {
            ASSERT_TRUE(fault.has_value());
            EXPECT_EQ(fault->rfind(c.fault, 0), 0u) << *fault;
            EXPECT_TRUE(fault->ends_with(tail)) << *fault;
        } else {
            EXPECT_EQ(fault, c.fault);
        }
    }
    // The heights the engine computes lie within the bound, and not far inside it.
    for (const PortRecord& r : {cases[1].record, atLimits, shipped.record}) {
        double reached = 0;
        for (int day = 1; day <= 365; day += 7) {
            TimeHeightSeries series;
            ASSERT_TRUE(DayTideMinutes(r, JulianDay(1, 1, 2024, 0, 0, 0) + day, series).ok());
            for (const auto& p : series) reached = std::max(reached, std::fabs(p.Height));
        }
        EXPECT_LE(reached, LargestHeight(r, true));
        EXPECT_GT(reached, 0.6 * LargestHeight(r, true));
    }
    EXPECT_NEAR(LargestHeight(atLimits, true), 2498236019.0, 1.0);
    // A month's Z0 counts only where the month values do; a field's own fault comes first.
    EXPECT_EQ(PortConstantsFault(levels(20, 6)), std::nullopt);
    EXPECT_EQ(PortConstantsFault(cases[0].record), cases[0].fault);
    PortRecord both = cases[0].record;
    both.MonthM2Hm[0] = 101;
    EXPECT_EQ(PortRecordFault(both), "MonthM2Hm of month 1 is 101, outside -100 to 100");

    // Through the reader: the file and the record are named.
    TempDir dir;
    const std::string path = dir.file("UK.hc");
    const Bytes bytes = EncodePortRecord(cases[0].record);
    ASSERT_TRUE(ReplaceFile(path, std::string(bytes.begin(), bytes.end())).ok());
    PortRecord back;
    const FileResult read = ReadPortRecord(path, 1, back);
    EXPECT_EQ(read.status, FileStatus::Damaged);
    EXPECT_EQ(read.message, "Record 1 of UK.hc is damaged: " + cases[0].fault);
}

// Every shipped port and the adjustment window's sample location, between Saint Nazaire and
// Donges, give heights a sea has.
TEST_F(Records, ShippedPortsGiveASeasHeights) {
    const Largest shipped = largestShippedPort();
    EXPECT_LE(shipped.height, kLargestTide) << shipped.port << " can give " << shipped.height << " m";
    EXPECT_GT(shipped.height, 10.0) << shipped.port;  // the Bristol Channel's tides are large
    std::vector<PortRecord> france;
    ASSERT_TRUE(ReadAllPortRecords(testing_support::SourceDir() + "/data/France.hc", france).ok());
    auto named = [&](const std::string& name) {
        auto p = std::find_if(france.begin(), france.end(),
                              [&](const PortRecord& r) { return Trim(r.PortName) == name; });
        EXPECT_NE(p, france.end()) << name;
        return p == france.end() ? PortRecord{} : *p;
    };
    const PortRecord between =
        LocationRecord("Montoir", MeanConstants(named("Saint Nazaire"), named("Donges")), "K");
    EXPECT_EQ(PortConstantsFault(between), std::nullopt);
    EXPECT_EQ(PortRecordFault(between), std::nullopt);
}

// The largest nodal factors of the bound hold on every day the engine computes them for, over
// the 50 hours of a computation in which each factor changes in a straight line.
TEST_F(Records, LargestHeightHoldsTheNodalFactorsOfEveryDay) {
    // The bound of an amplitude of 1 m alone is its largest factor.
    auto factorOf = [](float PortRecord::*amplitude) {
        PortRecord r;
        r.*amplitude = 1;
        return LargestHeight(r, false);
    };
    const double largest[4] = {factorOf(&PortRecord::M2Hm), factorOf(&PortRecord::S2Hm),
                               factorOf(&PortRecord::K1Hm), factorOf(&PortRecord::O1Hm)};
    double reached[4] = {};
    auto visit = [&](int year, int day) {
        const AnglesAndFactors a = CalcAnglesAndFactors(year, day), b = CalcAnglesAndFactors(year, day + 1);
        const double f0[4] = {a.M2Factor, a.S2Factor, a.K1Factor, a.O1Factor};
        const double f1[4] = {b.M2Factor, b.S2Factor, b.K1Factor, b.O1Factor};
        for (int i = 0; i < 4; ++i)
            reached[i] =
                std::max({reached[i], std::fabs(f0[i]), std::fabs(f0[i] + (f1[i] - f0[i]) * 50 / 24)});
    };
    // Two turns of the node (18.6 years) and of the perigee (8.85 years), and the ends.
    for (int year = 1990; year <= 2030; ++year)
        for (int day = 0; day <= 366; ++day) visit(year, day);
    for (int year : {kFirstComputedYear, kLastComputedYear})
        for (int day = 0; day <= 366; day += 5) visit(year, day);
    for (int i = 0; i < 4; ++i) {
        EXPECT_LE(reached[i], largest[i]) << i;
        EXPECT_GT(reached[i], largest[i] - 0.2) << i;  // near enough to let the sea's ports pass
    }
}
