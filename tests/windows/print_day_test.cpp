// File, Print for the displayed day: the curve page with its scales and text, the table of
// heights every 10 minutes, the question before each, and a printer that is missing or fails.
#include <cmath>
#include <regex>

#include "engine/numtext.h"
#include "engine/records.h"
#include "engine/timetext.h"
#include "output/daypages.h"
#include "output/notes.h"
#include "platform/printerpage.h"
#include "print_support.h"

using namespace engine;
using namespace platform;

using testing_support::Page;
using testing_support::textsOf;

namespace {

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            line += text[i];
            continue;
        }
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        lines.push_back(line);
        line.clear();
    }
    lines.push_back(line);
    return lines;
}

// The curve page's box, from the origin the page moved to: (0, 0) lies PW / 20 in and PH / 15
// down.
struct Box {
    double w = 0, h = 0;
};
Box boxOf(const Page& page) {
    for (const DrawCommand& c : page)
        if (!c.defaultScale) return {0.9 * -20 * c.scaleLeft, -15 * c.scaleTop / 2};
    return {};
}

bool near(double a, double b) { return std::abs(a - b) < 1e-6; }

bool sameCommands(const Page& a, const Page& b) {
    if (a.size() != b.size()) return false;
    for (size_t k = 0; k < a.size(); ++k) {
        const DrawCommand &x = a[k], &y = b[k];
        if (x.kind != y.kind || x.text != y.text || !near(x.x1, y.x1) || !near(x.y1, y.y1) ||
            !near(x.x2, y.x2) || !near(x.y2, y.y2) || x.width != y.width || x.fontSize != y.fontSize ||
            x.fontBold != y.fontBold || x.defaultScale != y.defaultScale || !near(x.scaleLeft, y.scaleLeft) ||
            !near(x.scaleTop, y.scaleTop))
            return false;
    }
    return true;
}
}  // namespace

class PrintDay : public testing_support::PrintTest {
protected:
    // A made-up day between `low` and `high`, a cosine from its highest at midnight.
    static void setDay(double low, double high) {
        SharedState& s = State();
        for (int r = 1; r <= s.CurvePoints; ++r) {
            const double t = (r - 1) / 6.0;
            s.DayCurve(1, r) = t;
            s.DayCurve(2, r) = (high + low) / 2 + (high - low) / 2 * std::cos(2 * M_PI * t / 12.42);
        }
    }
    void setDepth(frmtidewyn& w, float depth) {
        SharedState& s = State();
        DepthRecord r;
        r.PortName = s.PortName;
        r.PortIndex = s.CurrentPort;
        r.ChartedDepth = depth;
        ASSERT_TRUE(
            WriteRecord(s.DepthFilePath, DepthRecord::kSize, s.CurrentPort, EncodeDepthRecord(r)).ok());
        w.RecomputeDay();
    }
};

TEST_F(PrintDay, TheCurvePagesScaleShowsTrueHeightsAndKeepsTheDotsInTheBox) {
    struct Case {
        double low, high;
        float option;
        std::vector<std::string> labels;  // top to base
    };
    const Case cases[] = {
        {0.2, 4.3, 3.0f, {" 5 Metres", " 4 ", " 3 ", " 2 ", " 1 ", "0"}},
        {-0.4, 4.3, 1.0f, {" 5 Metres", " 4 ", " 3 ", " 2 ", " 1 ", " 0 ", "-1"}},
        {-1.6, 3.2, 3.0f, {" 4 Metres", " 3 ", " 2 ", " 1 ", " 0 ", "-1 ", "-2"}},
        {0.5, 3.9, 2.0f, {" 4 Metres", " 3 ", " 2 ", " 1 ", "0"}},
    };
    storeSettings([](SettingsRecord&) {});
    frmtidewyn& w = open();
    SharedState& s = State();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.labels.front());
        recorder.documents.clear();
        s.OutputOption = c.option;
        setDay(c.low, c.high);
        w.mnudayprint.Click();
        const Page& page = onlyPage(0);
        const Box box = boxOf(page);
        const int shift = c.low < 0 ? static_cast<int>(std::ceil(-c.low)) : 0;
        const int top = static_cast<int>(c.labels.size()) - 1;
        const double perMetre = box.h / top;

        // Labels at the box's left, top to base, each a little above its line.
        std::vector<const DrawCommand*> labels;
        for (const DrawCommand* t : textsOf(page))
            if (!t->text.empty() && t->x1 < box.w / 99 && t->y1 < box.h) labels.push_back(t);
        ASSERT_EQ(labels.size(), c.labels.size());
        std::sort(labels.begin(), labels.end(), [](auto* a, auto* b) { return a->y1 < b->y1; });
        EXPECT_NEAR(labels[0]->y1, 50, 1e-9);
        for (size_t k = 0; k < labels.size(); ++k) {
            EXPECT_EQ(labels[k]->text, c.labels[k]);
            if (k > 0) {
                EXPECT_NEAR(labels[k]->y1, static_cast<double>(k) * perMetre - 200, 1e-6) << k;
            }
        }
        // A line across the box every metre and the frame; tenths on both sides.
        int across = 0, tenths = 0;
        for (const DrawCommand& d : page) {
            if (d.kind != DrawKind::Line || d.y1 != d.y2) continue;
            if (d.x1 == 0 && near(d.x2, box.w)) ++across;
            if ((d.x1 == 0 && near(d.x2, box.w / 256)) ||
                (near(d.x1, box.w - box.w / 256) && near(d.x2, box.w)))
                ++tenths;
        }
        EXPECT_EQ(across, top + 2);
        EXPECT_EQ(tenths, 20 * top);
        // Dots under option 3 only, one per 10 minutes that lies on or above the base line.
        int dots = 0, expected = 0;
        for (const DrawCommand& d : page) {
            if (d.kind != DrawKind::Point) continue;
            ++dots;
            EXPECT_LE(d.y1, box.h);
            EXPECT_EQ(d.width, 5);
        }
        for (int r = 1; r <= 145; ++r)
            if (box.h - 2 - perMetre * (s.DayCurve(2, r) - 1.0 + shift) <= box.h) ++expected;
        EXPECT_EQ(dots, c.option == 3.0f ? expected : 0);
        if (c.option == 3.0f) {
            EXPECT_LT(dots, 145);
        }
        // The curve from 00:00 to 24:00, inside the box; a line every three hours and a tick
        // every hour at the top and the base; the hours under the box.
        std::vector<const DrawCommand*> curve;
        int grid = 0, ticks = 0;
        for (const DrawCommand& d : page) {
            if (d.kind != DrawKind::Line || d.y1 == d.y2) continue;
            if (d.x1 != d.x2) {
                curve.push_back(&d);
                EXPECT_GE(std::min(d.y1, d.y2), 0);
                EXPECT_LE(std::max(d.y1, d.y2), box.h);
                continue;
            }
            const double k = d.x1 / (box.w / 24);
            EXPECT_NEAR(k, std::round(k), 1e-9);
            if (d.y1 == 0 && near(d.y2, box.h) && std::fmod(std::round(k), 3) == 0) ++grid;
            if ((near(d.y1, box.h) && near(d.y2, box.h - box.h / 128)) ||
                (d.y1 == 0 && near(d.y2, box.h / 128)))
                ++ticks;
        }
        ASSERT_EQ(curve.size(), 144u);
        EXPECT_EQ(curve.front()->x1, 0);
        EXPECT_NEAR(curve.back()->x2, box.w, 1e-6);
        EXPECT_EQ(grid, 7 + 2);  // and the frame's sides
        EXPECT_EQ(ticks, 48);
        std::vector<std::string> hours;
        for (const DrawCommand* t : textsOf(page)) {
            if (!near(t->y1, box.h + 50)) continue;
            hours.push_back(t->text);
            EXPECT_NEAR(t->x1, static_cast<double>(hours.size()) * box.w / 8 - 220, 1e-6);
        }
        EXPECT_EQ(hours,
                  (std::vector<std::string>{"03:00", "06:00", "09:00", "12:00", "15:00", "18:00", "21:00"}));
    }
    EXPECT_EQ(w.CurrentPointer(), MousePointer::Default);
    EXPECT_EQ(w.Picture1->cursor().shape(), Qt::CrossCursor);
}

TEST_F(PrintDay, TallDaysThinTheScaleWithoutOverlappingLabels) {
    struct Case {
        double low, high;
        std::string topLabel, baseLabel;
        int shift, top, step;
    };
    const Case cases[] = {
        {1000.3, 1006.2, " 1007 Metres", "0", 0, 1007, 50},  // a charted depth of 1000 m
        {-0.5, 70.2, " 71 Metres", "-1", 1, 72, 5},          // below datum as well
    };
    frmtidewyn& w = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.topLabel);
        recorder.documents.clear();
        setDay(c.low, c.high);
        w.mnudayprint.Click();
        const Page& page = onlyPage(0);
        const Box box = boxOf(page);
        std::vector<const DrawCommand*> labels;
        double lineHeight = 0;
        for (const DrawCommand* t : textsOf(page)) {
            if (!t->text.empty() && t->x1 < box.w / 99 && t->y1 < box.h) labels.push_back(t);
            if (t->text.rfind("Port ", 0) == 0) lineHeight = -t->y1;
            if (t->text.rfind("Date ", 0) == 0) lineHeight += t->y1;
        }
        ASSERT_GT(lineHeight, 0);
        ASSERT_GE(labels.size(), 5u);
        std::sort(labels.begin(), labels.end(), [](auto* a, auto* b) { return a->y1 < b->y1; });
        EXPECT_EQ(labels.front()->text, c.topLabel);
        EXPECT_EQ(labels.back()->text, c.baseLabel);
        for (size_t k = 1; k < labels.size(); ++k)
            EXPECT_GE(labels[k]->y1 - labels[k - 1]->y1, lineHeight) << labels[k]->text;
        // Every other label is a true height on its line, a step apart.
        for (size_t k = 1; k + 1 < labels.size(); ++k) {
            const double v = Val(labels[k]->text);
            EXPECT_EQ(std::fmod(v, c.step), 0) << labels[k]->text;
            EXPECT_NEAR(labels[k]->y1, box.h - (v + c.shift) * box.h / c.top - 200, 1e-6);
            if (k > 1) {
                EXPECT_EQ(Val(labels[k - 1]->text) - v, c.step);
            }
        }
        // A line across the box under each of those labels; a few dozen lines, no tenth ticks.
        std::vector<double> across;
        int ticks = 0;
        for (const DrawCommand& d : page) {
            if (d.kind != DrawKind::Line || d.y1 != d.y2) continue;
            if (d.x1 == 0 && near(d.x2, box.w)) across.push_back(d.y1);
            if (d.x1 == 0 && near(d.x2, box.w / 256)) ++ticks;
        }
        for (size_t k = 1; k < labels.size(); ++k)
            EXPECT_TRUE(std::any_of(across.begin(), across.end(), [&](double y) {
                return near(y, labels[k]->y1 + 200);
            })) << labels[k]->text;
        EXPECT_LE(across.size(), 30u);
        EXPECT_EQ(ticks, 0);
    }
}

TEST(CurvePageScale, ShiftsLowDaysAndThinsTallOnes) {
    // A box of 8000 twips, labels 210 twips tall, tenths at least 28 twips apart.
    struct Case {
        double highest, lowest;
        int shift, top, step;
        bool tenths;
    };
    const Case cases[] = {
        {4.3, 0, 0, 5, 1, true},    {4.3, -0.4, 1, 6, 1, true},      {3.2, -1.6, 2, 6, 1, true},
        {4.0, -1.0, 1, 6, 1, true}, {27.5, 0, 0, 28, 1, true},       {29.5, 0, 0, 30, 1, false},
        {31.5, 0, 0, 32, 2, false}, {1006.2, 0, 0, 1007, 50, false}, {60.5, -2.5, 3, 64, 5, false},
    };
    for (const Case& c : cases) {
        output::CurvePageScale scale = output::CurvePageScaleFor(c.highest, c.lowest, 8000, 210, 28.35);
        EXPECT_EQ(scale.shift, c.shift) << c.highest;
        EXPECT_EQ(scale.top, c.top) << c.highest;
        EXPECT_EQ(scale.step, c.step) << c.highest;
        EXPECT_EQ(scale.tenths, c.tenths) << c.highest;
    }
    // No room on the page: the scale stands, nothing loops.
    EXPECT_EQ(output::CurvePageScaleFor(5, 0, 0, 210, 28.35).step, 1);
}

TEST_F(PrintDay, TheCurvePagesTextBlockFollowsTheOptionAndTheDaysTimeBasis) {
    struct Case {
        int year, month, day;
        bool summer;
        float option;
        std::vector<std::string> depth;
        std::string times;
    };
    const Case cases[] = {
        {2024,
         3,
         5,
         false,
         1.0f,
         {"Heights shown in Metres to Chart Datum"},
         "Times from midnight local time - WITHOUT SUMMER TIME CORRECTION"},
        {2024,
         7,
         16,
         true,
         3.0f,
         {"Heights shown in Metres and include:",
          "User charted depth = 0   Draught = 0.5   Under keel = 0.5 (Metres)"},
         "Times are from midnight local time - ADJUSTED FOR SUMMER TIME"},
        {2024,
         10,
         29,
         true,
         2.0f,
         {"Heights shown in Metres and include:", "User charted depth = 0 (Metres)"},
         "Times are from midnight local time - WITHOUT SUMMER TIME CORRECTION"},
        {2024,
         3,
         5,
         false,
         4.0f,  // damaged: printed as the default option 3, which the program uses
         {"Heights shown in Metres and include:",
          "User charted depth = 0   Draught = 0.5   Under keel = 0.5 (Metres)"},
         "Times from midnight local time - WITHOUT SUMMER TIME CORRECTION"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.times + " " + std::to_string(c.option));
        restart();
        recorder.documents.clear();
        now = DateSerial(c.year, c.month, c.day) + TimeSerial(12, 0, 0);
        storeSettings([&](SettingsRecord& r) {
            r.SummerTime = c.summer ? -1 : 0;
            r.OutputOption = c.option;
        });
        frmtidewyn& w = open();
        w.mnudayprint.Click();
        const Page& page = onlyPage(0);
        std::vector<std::string> expected = {"Port   : Dover", w.tidedatebox->Caption()};
        expected.insert(expected.end(), c.depth.begin(), c.depth.end());
        expected.push_back("");
        for (const std::string& line : splitLines(w.daystide1->Caption())) expected.push_back(line);
        const size_t small = expected.size();
        expected.insert(expected.end(), {output::kDerivedNote, c.times, ""});
        expected.insert(expected.end(), output::kAttribution.begin(), output::kAttribution.end());
        expected.push_back("");
        expected.insert(expected.end(), output::kReproduction.begin(), output::kReproduction.end());
        expected.push_back("");
        for (const std::string& piece : {std::string("Tidewyn Vizoz   (v9.5.0)"),
                                         std::string("Copies of this page must keep the attribution of the "
                                                     "tidal constants above.")})
            expected.push_back(piece);

        const auto texts = textsOf(page);
        auto first =
            std::find_if(texts.begin(), texts.end(), [](auto* t) { return t->text.rfind("Port", 0) == 0; });
        ASSERT_NE(first, texts.end());
        std::vector<std::string> block;
        for (auto it = first; it != texts.end(); ++it) {
            block.push_back((*it)->text);
            EXPECT_EQ((*it)->fontSize, block.size() <= small ? 9 : 7) << (*it)->text;
            EXPECT_FALSE((*it)->fontBold);
        }
        EXPECT_EQ(block, expected);
        // From the printable area's left edge, below the hour labels.
        EXPECT_NEAR((*first)->x1, (*first)->scaleLeft, 1e-9);
        EXPECT_NEAR((*first)->y1, boxOf(page).h + 400, 1e-6);
    }
}

TEST_F(PrintDay, TheHourlyTableHasFourColumnsOfSixHoursUnderItsHeading) {
    frmtidewyn& w = open();
    w.mnuhrprint.Click();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].prompt, "Print rise at 10 minute intervals?");
    EXPECT_EQ(dialogs->messages[0].style, kYesNo);
    EXPECT_EQ(dialogs->messages[0].title, "Tidewyn Vizoz");
    EXPECT_EQ(recorder.documents.at(0).title, "Tidewyn Vizoz hourly details");
    const Page& page = onlyPage(0);
    const auto texts = textsOf(page);
    const SharedState& s = State();

    // Heading in bold: two line breaks, the port and date captions, an empty line.
    ASSERT_GE(texts.size(), 5u);
    const double tableLeft = texts[2]->x1;
    EXPECT_NEAR(tableLeft, std::floor(210 / 25.4 * 1440) / 7, 2);  // a seventh of the A4 sheet
    const double line = texts[1]->y1 - texts[0]->y1;
    std::vector<std::string> heading;
    for (size_t k = 0; k < 5; ++k) {
        heading.push_back(texts[k]->text);
        EXPECT_TRUE(texts[k]->fontBold || k == 4) << k;
    }
    EXPECT_EQ(heading, (std::vector<std::string>{"", "", "Port    : Dover", w.tidedatebox->Caption(), ""}));

    std::map<std::string, const DrawCommand*> byText;
    std::vector<const DrawCommand*> rows, heads;
    for (const DrawCommand* t : texts) {
        if (std::regex_match(t->text, std::regex(R"(\d\d:\d\d    -?\d+\.\d)"))) rows.push_back(t);
        if (t->text == "Time Height" || t->text == "Time  Height") heads.push_back(t);
    }
    ASSERT_EQ(rows.size(), 144u);
    ASSERT_EQ(heads.size(), 4u);
    EXPECT_EQ(heads[0]->text, "Time Height");
    EXPECT_NEAR(heads[0]->y1, tableLeft / 1.5 + line, 1e-6);
    for (int c = 0; c < 4; ++c) {
        EXPECT_NEAR(heads[c]->x1, tableLeft + c * tableLeft * 7 / 5, 1e-6) << c;
        EXPECT_TRUE(heads[c]->fontBold);
        if (c > 0) {
            EXPECT_EQ(heads[c]->text, "Time  Height");
            EXPECT_NEAR(heads[c]->y1, tableLeft / 2 + 2 * line, 1e-6) << c;
        }
    }
    for (int i = 1; i <= 144; ++i) {
        const DrawCommand& r = *rows[i - 1];
        EXPECT_EQ(r.text,
                  LTrim(HoursToHHMM(s.DayCurve(1, i))) + "    " + Format(s.DayCurve(2, i), "#,#0.0;;;"));
        EXPECT_NEAR(r.x1, tableLeft + (i - 1) / 36 * tableLeft * 7 / 5, 1e-6) << i;
        EXPECT_FALSE(r.fontBold);
        const int inColumn = (i - 1) % 36;
        if (inColumn == 0) EXPECT_NEAR(r.y1, heads[(i - 1) / 36]->y1 + 2 * line, 1e-6) << i;
        else EXPECT_NEAR(r.y1 - rows[i - 2]->y1, inColumn % 6 == 0 ? 2 * line : line, 1e-6) << i;
    }
    EXPECT_EQ(rows[0]->text.substr(0, 5), "00:00");
    EXPECT_EQ(rows[143]->text.substr(0, 5), "23:50");
    // The notes from where the first column ends, two lines down, in 7 points.
    auto depth =
        std::find_if(texts.begin(), texts.end(), [](auto* t) { return t->text.rfind("Heights", 0) == 0; });
    ASSERT_NE(depth, texts.end());
    EXPECT_NEAR((*depth)->y1, rows[35]->y1 + 4 * line, 1e-6);
    EXPECT_NEAR((*depth)->x1, tableLeft, 1e-6);
    EXPECT_EQ((*depth)->fontSize, 7);
    std::vector<std::string> notes;
    for (auto it = depth; it != texts.end(); ++it) notes.push_back((*it)->text);
    std::vector<std::string> expected = {"Heights shown in Metres to Chart Datum.", "", output::kDerivedNote,
                                         "Times from midnight local time - WITHOUT SUMMER TIME CORRECTION",
                                         ""};
    expected.insert(expected.end(), output::kAttribution.begin(), output::kAttribution.end());
    expected.insert(expected.end(), {"", ""});
    expected.insert(expected.end(), output::kReproduction.begin(), output::kReproduction.end());
    expected.insert(expected.end(),
                    {"Tidewyn Vizoz   (v9.5.0)",
                     "Copies of this page must keep the attribution of the tidal constants above."});
    EXPECT_EQ(notes, expected);
}

TEST_F(PrintDay, TheHourlyTablesDepthLineAndHeightsFollowTheDayShown) {
    struct Case {
        std::string locale;
        float option, depth;
        std::string line;
        char point;  // of the heights
    };
    const Case cases[] = {
        {"en_GB", 1.0f, 2.5f, "Heights shown in Metres to Chart Datum", '.'},
        {"en_GB", 2.0f, 2.5f, "Heights shown in Metres and include : User entered depth = 2.5 (Metres)", '.'},
        {"de_DE", 2.0f, 2.5f, "Heights shown in Metres and include : User entered depth = 2,5 (Metres)", ','},
        {"en_GB", 3.0f, 0.0f, "Heights shown in Metres to Chart Datum.", '.'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        restart();
        UseLocale(c.locale);
        recorder.documents.clear();
        storeSettings([&](SettingsRecord& r) { r.OutputOption = c.option; });
        frmtidewyn& w = open();
        setDepth(w, c.depth);
        w.mnuhrprint.Click();
        const auto texts = textsOf(onlyPage(0));
        EXPECT_EQ(std::count_if(texts.begin(), texts.end(), [&](auto* t) { return t->text == c.line; }), 1);
        const std::string row = std::string(R"(\d\d:\d\d    \d+)") + (c.point == '.' ? "\\." : ",") + R"(\d)";
        EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                                [&](auto* t) { return std::regex_match(t->text, std::regex(row)); }),
                  144);
    }
    UseLocale("en_GB");

    // A negative height, and a day stepped in the layers view, whose drawing leaves the table
    // of the day before.
    restart();
    recorder.documents.clear();
    frmtidewyn& w = open();
    w.mnuLayersShow_Click();
    w.Nextday_Click();
    SharedState& s = State();
    s.DayCurve(2, 10) = -0.34;
    EXPECT_NE(s.OutputCurve(2, 20), s.DayCurve(2, 20));
    w.mnuhrprint.Click();
    std::vector<std::string> rows;
    for (const DrawCommand* t : textsOf(onlyPage(0)))
        if (std::regex_match(t->text, std::regex(R"(\d\d:\d\d    .*)"))) rows.push_back(t->text);
    ASSERT_EQ(rows.size(), 144u);
    EXPECT_EQ(rows[9], "01:30    -0.3");
    for (int i = 1; i <= 144; ++i)
        EXPECT_EQ(rows[i - 1],
                  LTrim(HoursToHHMM(s.DayCurve(1, i))) + "    " + Format(s.DayCurve(2, i), "#,#0.0;;;"));
}

TEST_F(PrintDay, NoPrintsNothingAndEachPageIsAsIfPrintedAlone) {
    frmtidewyn& w = open();
    dialogs->messageAnswers = {kNo, kNo};
    w.mnudayprint.Click();
    w.mnuhrprint.Click();
    EXPECT_TRUE(recorder.documents.empty());
    ASSERT_EQ(dialogs->messages.size(), 2u);
    EXPECT_EQ(dialogs->messages[0].prompt, "              Print curve?");
    EXPECT_EQ(dialogs->messages[0].style, kYesNo);
    EXPECT_EQ(w.CurrentPointer(), MousePointer::Default);
    EXPECT_EQ(w.Picture1->cursor().shape(), Qt::CrossCursor);

    w.mnuhrprint.Click();
    w.mnudayprint.Click();
    w.mnuhrprint.Click();
    ASSERT_EQ(recorder.documents.size(), 3u);
    EXPECT_EQ(recorder.documents[1].title, "Tidewyn Vizoz curve");
    EXPECT_TRUE(sameCommands(onlyPage(0), onlyPage(2)));
    EXPECT_EQ(dialogs->messages.size(), 5u);  // the three questions, nothing more
}

TEST_F(PrintDay, AMissingOrFailingPrinterIsToldAndNothingPrints) {
    testing_support::TempDir folder;
    SystemPrinterBackend none([] { return QStringList(); });
    PdfFileBackend unwritable(folder.file("no such folder/curve.pdf"));
    struct Case {
        PrintBackend* backend;
        std::string endFailure, message;
    };
    const Case cases[] = {
        {&none, "", "No printer is installed on this computer."},
        {&unwritable, "",
         "The document could not be printed:\r\nThe file " + unwritable.Path() + " could not be written."},
        {&recorder, "The printer reported an error.",
         "The document could not be printed:\r\nThe printer reported an error."},
    };
    frmtidewyn& w = open();
    testing_support::FillSunTable(2024, 3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        SetPrintBackend(c.backend);
        recorder.endFailure = c.endFailure;
        for (MenuItem* entry : {&w.mnudayprint, &w.mnuhrprint, &w.mnumonthprint, &w.mnusunprint}) {
            dialogs->messages.clear();
            w.Picture1->Cls();
            entry->Click();
            ASSERT_EQ(dialogs->messages.size(), 2u);
            EXPECT_EQ(dialogs->messages[1].prompt, c.message);
            EXPECT_EQ(dialogs->messages[1].style, kOkOnly | kExclamation);
            EXPECT_EQ(w.CurrentPointer(), MousePointer::Default);
            EXPECT_EQ(w.Picture1->cursor().shape(), Qt::CrossCursor);
            // The curve is drawn again, with its grid.
            EXPECT_GT(w.Picture1->PersistentCommands().size(), 100u);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(unwritable.Path()));
    for (const auto& d : recorder.documents) EXPECT_FALSE(d.ended);
}
