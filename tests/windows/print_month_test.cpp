// File, Print for the month: the month tide table as a calendar of weeks or as a listing, every
// line of it on as many sheets as it needs, and the month sun table with the moon phases of its
// own month; the time basis of a month whose clock changes; the refusals.
#include <map>

#include "engine/currentport.h"
#include "engine/folders.h"
#include "engine/recordfile.h"
#include "output/monthpages.h"
#include "output/notes.h"
#include "print_support.h"

using namespace engine;
using namespace platform;
using testing_support::Page;
using testing_support::textsOf;

namespace {

// A made-up month view's lines: each day an empty line, its day line and `events[d]` events.
std::vector<std::string> monthLines(const std::vector<int>& events) {
    std::vector<std::string> lines;
    for (size_t d = 0; d < events.size(); ++d) {
        lines.push_back("  ");
        lines.push_back(std::to_string(d + 1) + " Mar (x)");
        for (int e = 0; e < events[d]; ++e) lines.push_back("0" + std::to_string(e) + ":00   1.00");
    }
    return lines;
}

// The standing notes under a month page, after its time basis lines.
std::vector<std::string> notesWith(const std::vector<std::string>& times) {
    std::vector<std::string> notes = {output::kDerivedNote};
    notes.insert(notes.end(), times.begin(), times.end());
    notes.push_back("");
    notes.insert(notes.end(), output::kAttribution.begin(), output::kAttribution.end());
    notes.insert(notes.end(), {"", ""});
    notes.insert(notes.end(), output::kReproduction.begin(), output::kReproduction.end());
    notes.insert(notes.end(),
                 {"Tidewyn Vizoz   (v9.5.0)",
                  "Copies of this page must keep the attribution of the tidal constants above."});
    return notes;
}

// A printed month page: its six heading lines, its columns by left edge, its notes.
struct MonthPage {
    std::vector<const DrawCommand*> heading;
    std::map<double, std::vector<const DrawCommand*>> columns;
    std::vector<const DrawCommand*> notes;
};
MonthPage readMonthPage(const Page& page) {
    MonthPage m;
    for (const DrawCommand* t : textsOf(page)) {
        if (m.heading.size() < 6) m.heading.push_back(t);
        else if (t->fontSize == 9) m.columns[t->x1].push_back(t);
        else m.notes.push_back(t);
    }
    return m;
}
std::vector<std::string> textOf(const std::vector<const DrawCommand*>& commands) {
    std::vector<std::string> texts;
    for (const DrawCommand* c : commands) texts.push_back(c->text);
    return texts;
}

// The month view's lines after its five headings.
std::vector<std::string> listLines(const ListBox& list) {
    std::vector<std::string> lines;
    for (int i = 5; i < list.ListCount(); ++i) lines.push_back(list.List(i));
    return lines;
}
}  // namespace

TEST(MonthLayout, CalendarWhileEveryDayFitsItsBlockOtherwiseEveryLineListed) {
    struct Case {
        const char* what;
        std::vector<int> events;
        int firstWeekday;
        bool listing;
        std::vector<size_t> columns;  // lines of each column, sheet after sheet
    };
    std::vector<int> four(31, 4), fifthDay(31, 4), lastDay(31, 4), overflow(31, 4), many(31, 8);
    fifthDay[4] = 5;
    lastDay[30] = 7;
    overflow[30] = 8;
    const Case cases[] = {
        {"four a day from Monday", four, 1, false, {56, 56, 56, 56, 56}},
        {"from Sunday", four, 7, false, {56, 56, 56, 56, 56, 56}},
        {"31 days from Saturday", four, 6, false, {56, 56, 56, 56, 56, 56}},
        {"30 days from Saturday", std::vector<int>(30, 4), 6, false, {56, 56, 56, 56, 56}},
        {"five events on the 5th", fifthDay, 1, true, {57, 57, 57, 16}},
        {"seven on the last day", lastDay, 1, false, {56, 56, 56, 56, 56}},
        {"eight on the last day", overflow, 1, true, {57, 57, 57, 19}},
        {"eight every day", many, 1, true, {57, 57, 57, 57, 57, 25}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::string> lines = monthLines(c.events);
        const output::MonthLayout layout = output::LayOutMonth(lines, c.firstWeekday);
        EXPECT_EQ(layout.listing, c.listing);
        std::vector<size_t> columns;
        std::vector<output::PrintedLine> printed;
        for (const output::MonthSheet& sheet : layout.sheets) {
            EXPECT_LE(sheet.columns.size(), 5u);
            for (const auto& column : sheet.columns) {
                columns.push_back(column.size());
                printed.insert(printed.end(), column.begin(), column.end());
            }
        }
        EXPECT_EQ(columns, c.columns);
        if (c.listing) {
            // The lines as they stand, day lines in bold.
            ASSERT_EQ(printed.size(), lines.size());
            for (size_t i = 0; i < lines.size(); ++i) {
                EXPECT_EQ(printed[i].text, lines[i]);
                EXPECT_EQ(printed[i].bold, i == 0 || Trim(lines[i - 1]).empty()) << i;
            }
            continue;
        }
        // Day d in block (first weekday - 1) + d - 1: its day line in bold, then its events.
        size_t line = 0;
        for (size_t d = 0; d < c.events.size(); ++d) {
            const size_t block = static_cast<size_t>(c.firstWeekday - 1) + d;
            ++line;  // its empty line
            for (size_t k = 0; k < 8; ++k) {
                const output::PrintedLine& cell = printed.at(8 * block + k);
                const bool listed = k <= static_cast<size_t>(c.events[d]);
                EXPECT_EQ(cell.text, listed ? lines[line++] : "") << d << " " << k;
                EXPECT_EQ(cell.bold, k == 0);
            }
        }
        for (size_t i = 0; i < 8 * static_cast<size_t>(c.firstWeekday - 1); ++i)
            EXPECT_EQ(printed[i].text, "");
    }
}

class PrintMonth : public testing_support::PrintTest {};

// Each day under its weekday, Monday at the top; the weeks that five columns do not hold on a
// second sheet with its own heading and notes; the time basis of the month, with the day the
// clock changes on.
TEST_F(PrintMonth, TheCalendarPutsEachDayUnderItsWeekday) {
    struct Case {
        const char* locale;
        int year, month;
        bool summer;
        int firstWeekday;  // Monday 1
        size_t sheets;
        std::vector<std::string> times;
    };
    const std::string off = "Times from midnight local time - WITHOUT SUMMER TIME CORRECTION";
    const std::string offLong = "Times are from midnight local time - WITHOUT SUMMER TIME CORRECTION";
    const std::string on = "Times are from midnight local time - ADJUSTED FOR SUMMER TIME";
    const Case cases[] = {
        {"en_GB", 2024, 9, false, 7, 2, {off}},
        {"en_GB", 2024, 4, true, 1, 1, {on}},
        {"en_GB", 2025, 3, true, 6, 2, {offLong, "From 30 Mar: ADJUSTED FOR SUMMER TIME"}},
        {"de_DE", 2025, 3, true, 6, 2, {offLong, "From 30 Mär: ADJUSTED FOR SUMMER TIME"}},
        {"en_GB", 2025, 10, true, 3, 1, {on, "From 26 Oct: WITHOUT SUMMER TIME CORRECTION"}},
        {"en_GB", 2025, 10, false, 3, 1, {off}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.locale) + " " + std::to_string(c.year) + "-" + std::to_string(c.month));
        restart();
        UseLocale(c.locale);
        recorder.documents.clear();
        dialogs->messages.clear();
        now = DateSerial(c.year, c.month, 15) + TimeSerial(12, 0, 0);
        storeSettings([&](SettingsRecord& r) { r.SummerTime = c.summer ? -1 : 0; });
        frmtidewyn& w = open();
        w.mnumonthprint.Click();
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(dialogs->messages[0].prompt, "Print Months Tide Table?");
        EXPECT_EQ(dialogs->messages[0].style, kYesNo);
        EXPECT_EQ(dialogs->messages[0].title, "Tidewyn Vizoz");
        EXPECT_TRUE(w.monthspredictions->isVisibleTo(&w));  // computed first
        EXPECT_EQ(w.monthspredictions->ListIndex(), w.monthspredictions->ListCount() - 1);
        const std::vector<std::string> lines = listLines(*w.monthspredictions);

        const std::vector<Page>& sheets = pagesOf(0);
        ASSERT_EQ(sheets.size(), c.sheets);
        EXPECT_EQ(recorder.documents[0].title, "Tidewyn Vizoz month table");
        std::vector<const DrawCommand*> cells;
        for (const Page& sheet : sheets) {
            const MonthPage m = readMonthPage(sheet);
            ASSERT_EQ(m.heading.size(), 6u);
            EXPECT_EQ(textOf(m.heading),
                      (std::vector<std::string>{"", "", "Port : Dover  Tidewyn Vizoz Months Predictions",
                                                "Year : " + std::to_string(c.year), "", ""}));
            const double left = m.heading[2]->x1, line = m.heading[3]->y1 - m.heading[2]->y1;
            EXPECT_NEAR(left, std::floor(210 / 25.4 * 1440) / 7, 2);
            EXPECT_EQ(m.heading[0]->y1, 0);  // every sheet from its top
            for (const DrawCommand* h : m.heading) EXPECT_TRUE(h->fontBold);
            // Columns of seven day blocks a seventh of the sheet apart, all from one top.
            const double top = m.heading[5]->y1 + line;
            size_t k = 1;
            for (const auto& [x, column] : m.columns) {
                EXPECT_NEAR(x, static_cast<double>(k++) * left, 1e-6);
                ASSERT_EQ(column.size(), 56u);
                for (size_t i = 0; i < column.size(); ++i)
                    EXPECT_NEAR(column[i]->y1, top + static_cast<double>(i) * line, 1e-6);
                cells.insert(cells.end(), column.begin(), column.end());
            }
            EXPECT_LE(m.columns.size(), 5u);
            // The notes in 7 points, from the columns' foot.
            ASSERT_FALSE(m.notes.empty());
            EXPECT_NEAR(m.notes[0]->y1, top + 56 * line, 1e-6);
            EXPECT_NEAR(m.notes[0]->x1, left, 1e-6);
            EXPECT_EQ(textOf(m.notes), notesWith(c.times));
        }
        // The cells: the week's days before the first as empty blocks, then each day's block.
        std::vector<std::string> expected(static_cast<size_t>(8 * (c.firstWeekday - 1)));
        for (size_t i = 0; i < lines.size();) {
            ASSERT_EQ(Trim(lines[i]), "");
            size_t block = 0;
            for (++i; i < lines.size() && !Trim(lines[i]).empty(); ++i, ++block) expected.push_back(lines[i]);
            ASSERT_LE(block, 5u);  // a calendar month: at most four events a day
            expected.resize(expected.size() + 8 - block);
        }
        expected.resize(cells.size());
        EXPECT_EQ(textOf(cells), expected);
        for (size_t i = 0; i < cells.size(); ++i) EXPECT_EQ(cells[i]->fontBold, i % 8 == 0) << i;
        // The first day under its own weekday, whatever the locale calls it.
        const size_t first = static_cast<size_t>(8 * (c.firstWeekday - 1));
        EXPECT_EQ(cells[first]->text.substr(0, 2), "1 ");
        EXPECT_EQ(cells[first]->text.substr(cells[first]->text.size() - 5),
                  "(" + LeftChars(FormatDate(DateSerial(c.year, c.month, 1), "dddd"), 3) + ")");
    }
    UseLocale("en_GB");
}

// A day of five events before the last makes the month a listing of its lines; every line is
// printed, on a further sheet with its own heading and notes after five columns.
TEST_F(PrintMonth, TheListingPrintsEveryLineOfTheMonth) {
    struct Case {
        const char* what;
        int extraEveryDay;
        bool fiveOnTheThird;
        size_t sheets;
    };
    const Case cases[] = {{"five events on the 3rd", 0, true, 1}, {"five lines more every day", 5, false, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restart();
        recorder.documents.clear();
        frmtidewyn& w = open();
        w.mnumonth.Click();
        ListBox& list = *w.monthspredictions;
        // Lines added after each day's events, as a port of many events gives them.
        int day = 0, events = 0;
        for (int i = 7; i <= list.ListCount(); ++i) {
            if (i < list.ListCount() && !Trim(list.List(i)).empty()) {
                ++events;
                continue;
            }
            const int extra = c.extraEveryDay + (++day == 3 && c.fiveOnTheThird ? 5 - events : 0);
            for (int e = 0; e < extra; ++e)
                list.insertItem(i, QString::fromStdString("23:5" + std::to_string(e) + "   9.99"));
            i += extra + 1;  // past the next day's empty line and day line
            events = 0;
        }
        const std::vector<std::string> lines = listLines(list);
        w.mnumonthprint.Click();

        const std::vector<Page>& sheets = pagesOf(0);
        ASSERT_EQ(sheets.size(), c.sheets);
        size_t next = 0;
        for (const Page& sheet : sheets) {
            const MonthPage m = readMonthPage(sheet);
            ASSERT_EQ(m.heading.size(), 6u);
            EXPECT_EQ(textOf(m.heading),
                      (std::vector<std::string>{"", "Port : Dover  Tidewyn Vizoz Months Predictions",
                                                "(Complex predictions - print is unformated)", "Year : 2024",
                                                "", ""}));
            const double left = m.heading[1]->x1, line = m.heading[2]->y1 - m.heading[1]->y1;
            EXPECT_EQ(m.heading[0]->y1, 0);  // every sheet from its top
            const double top = m.heading[5]->y1 + line;
            size_t k = 1, longest = 0;
            for (const auto& [x, column] : m.columns) {
                EXPECT_NEAR(x, static_cast<double>(k++) * left, 1e-6);
                longest = std::max(longest, column.size());
                for (size_t i = 0; i < column.size(); ++i, ++next) {
                    ASSERT_LT(next, lines.size());
                    EXPECT_EQ(column[i]->text, lines[next]);
                    EXPECT_NEAR(column[i]->y1, top + static_cast<double>(i) * line, 1e-6);
                    EXPECT_EQ(column[i]->fontBold, next == 0 || Trim(lines[next - 1]).empty()) << next;
                }
                EXPECT_TRUE(column.size() == 57 || next == lines.size()) << column.size();
            }
            ASSERT_FALSE(m.notes.empty());
            EXPECT_NEAR(m.notes[0]->y1, top + static_cast<double>(longest) * line, 1e-6);
            EXPECT_EQ(textOf(m.notes),
                      notesWith({"Times are from midnight local time - WITHOUT SUMMER TIME CORRECTION"}));
        }
        EXPECT_EQ(next, lines.size());
        EXPECT_GT(lines.size(), c.sheets == 2 ? 285u : 0u);
    }
}

// The month printed is the month shown: computed when missing or made for another port, and
// refused when the view holds too little after the question.
TEST_F(PrintMonth, TheMonthIsComputedWhenMissingOrStaleAndRefusedWhenTooShort) {
    frmtidewyn& w = open();
    SharedState& s = State();
    ListBox& list = *w.monthspredictions;
    dialogs->messageAnswers = {kNo};
    w.mnumonthprint.Click();
    EXPECT_TRUE(recorder.documents.empty());
    EXPECT_GT(list.ListCount(), 10);
    EXPECT_TRUE(MonthViewIsCurrent());

    // An editor made another record the current port and left the view of the first.
    s.CurrentPort = static_cast<int16_t>(s.CurrentPort + 1);
    ASSERT_TRUE(LoadCurrentPort(s.AreaFilePath, true).recordRead());
    const std::string other = s.PortName;
    ASSERT_NE(other, "Dover");
    w.mnumonthprint.Click();
    EXPECT_EQ(list.List(2), LeftChars(other, 10));
    EXPECT_TRUE(MonthViewIsCurrent());
    const MonthPage m = readMonthPage(pagesOf(0).at(0));
    ASSERT_EQ(m.heading.size(), 6u);
    EXPECT_EQ(m.heading[2]->text, "Port : " + other + "  Tidewyn Vizoz Months Predictions");
    EXPECT_EQ(m.columns.begin()->second.at(8 * 4)->text, list.List(6));  // 1 March 2024, a Friday

    // Ten items: the question, then the refusal.
    while (list.ListCount() > 10) list.RemoveItem(list.ListCount() - 1);
    dialogs->messages.clear();
    w.mnumonthprint.Click();
    ASSERT_EQ(dialogs->messages.size(), 2u);
    EXPECT_EQ(dialogs->messages[0].prompt, "Print Months Tide Table?");
    EXPECT_EQ(dialogs->messages[1].prompt, "Calculate a months tides\rbefore choosing this option");
    EXPECT_EQ(dialogs->messages[1].style, kOkOnly);
    EXPECT_EQ(dialogs->messages[1].title, "Tidewyn Vizoz");
    EXPECT_EQ(recorder.documents.size(), 1u);
    EXPECT_EQ(list.ListCount(), 10);
}

// The sun table's own month and moon phases, whatever month is shown when it is printed; its
// columns under their headings.
TEST_F(PrintMonth, TheSunTablePrintsTheMonthItHolds) {
    frmtidewyn& w = open();
    w.mnusunprint.Click();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].prompt, "Calculate a months suntimes\rbefore choosing this option");
    EXPECT_EQ(dialogs->messages[0].style, kOkOnly);
    EXPECT_EQ(dialogs->messages[0].title, "Tidewyn Vizoz");
    EXPECT_TRUE(recorder.documents.empty());

    struct Case {
        int shownYear, shownMonth, shownDay;  // the day shown when the table is made, then the next
        bool summer;
        std::vector<std::string> times;
    };
    const Case cases[] = {
        {2024, 2, 29, false, {"Times from midnight local time - WITHOUT SUMMER TIME CORRECTION\t"}},
        {2025,
         3,
         31,
         true,
         {"Times are from midnight local time - WITHOUT SUMMER TIME CORRECTION",
          "From 30 Mar: ADJUSTED FOR SUMMER TIME"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shownMonth);
        restart();
        recorder.documents.clear();
        dialogs->messages.clear();
        now = DateSerial(c.shownYear, c.shownMonth, c.shownDay) + TimeSerial(12, 0, 0);
        storeSettings([&](SettingsRecord& r) { r.SummerTime = c.summer ? -1 : 0; });
        frmtidewyn& w2 = open();
        testing_support::FillSunTable(c.shownYear, c.shownMonth);
        std::vector<std::string> phases;
        for (int k = 1; k <= State().MoonPhaseCount; ++k) phases.push_back(State().MoonPhaseList[k]);
        w2.Nextday_Click();
        ASSERT_EQ(State().SelectedMonth, c.shownMonth + 1);
        w2.mnusunprint.Click();
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(dialogs->messages[0].prompt, "Print Sun and Lunar times?");
        EXPECT_EQ(dialogs->messages[0].style, kYesNo);
        EXPECT_EQ(recorder.documents.at(0).title, "Tidewyn Vizoz sun times");

        // The page's lines, each the pieces between its tabs.
        std::vector<std::vector<const DrawCommand*>> lines;
        double y = -1;
        for (const DrawCommand* t : textsOf(onlyPage(0))) {
            if (lines.empty() || t->y1 != y) lines.emplace_back();
            lines.back().push_back(t);
            y = t->y1;
            EXPECT_EQ(t->fontSize, 9);
        }
        std::vector<std::string> texts;
        for (const auto& pieces : lines) {
            std::string text;
            for (size_t k = 0; k < pieces.size(); ++k) text += (k ? "\t" : "") + pieces[k]->text;
            texts.push_back(text);
        }
        const SharedState& s = State();
        const int days = DaysInMonth(c.shownYear, c.shownMonth);
        std::vector<std::string> expected = {
            "", "", "\tDover\t51.07N\t001.19E",
            "", "", "\tDate\t\tSunrise\tSunset\t\tCivil Twilights\t\tNautical Twilights",
            ""};
        for (int d = 1; d <= days; ++d)
            expected.push_back("\t" + std::string(d < 10 ? " " : "") + s.SunTable(1, d) + "\t" +
                               s.SunTable(4, d) + "\t" + s.SunTable(5, d) + "\t\t" + s.SunTable(3, d) + "\t" +
                               s.SunTable(6, d) + "\t\t" + s.SunTable(2, d) + "\t" + s.SunTable(7, d));
        expected.insert(expected.end(), {"", "", ""});
        for (const std::string& phase : phases) expected.push_back(phase + "\t");
        expected.insert(expected.end(), {"", "", std::string(output::kDerivedNote) + "\t"});
        expected.insert(expected.end(), c.times.begin(), c.times.end());
        expected.push_back(
            "\tSun, twilight and moon times computed for the position above.\tTidewyn Vizoz   (v9.5.0)");
        EXPECT_EQ(texts, expected);
        // Days 1 to 9 a blank in, to line up with the two-digit days; a time that does not
        // occur as the table has it.
        EXPECT_EQ(texts.at(6 + 9).substr(0, 4), "\t  9");
        EXPECT_EQ(texts.at(6 + 10).substr(0, 4), "\t 10");
        EXPECT_NE(texts.at(6 + 10).find("\t\tNone\t"), std::string::npos);

        // Every day's times under their headings: the first piece of each pair of tabs.
        const auto& heading = lines.at(5);
        ASSERT_EQ(heading.size(), 9u);
        const double dateX = heading[1]->x1, riseX = heading[3]->x1, setX = heading[4]->x1,
                     civilX = heading[6]->x1, nauticalX = heading[8]->x1;
        for (int d = 1; d <= days; ++d) {
            const auto& row = lines.at(static_cast<size_t>(6 + d));
            ASSERT_EQ(row.size(), 10u);
            EXPECT_EQ(row[1]->x1, dateX);
            EXPECT_EQ(row[2]->x1, riseX) << d;
            EXPECT_EQ(row[3]->x1, setX) << d;
            EXPECT_EQ(row[5]->x1, civilX) << d;
            EXPECT_NEAR(row[6]->x1, row[5]->x1 + (riseX - dateX) / 2, 1e-6) << d;
            EXPECT_EQ(row[8]->x1, nauticalX) << d;
        }
    }
}
