#pragma once
// What the print tests share: a recording printer for every test and the pages it received.

#include <string>
#include <vector>

#include "engine/calendar.h"
#include "engine/moon.h"
#include "engine/numtext.h"
#include "engine/timetext.h"
#include "platform/printer.h"
#include "window_support.h"

namespace testing_support {

using Page = std::vector<platform::DrawCommand>;

inline std::vector<const platform::DrawCommand*> textsOf(const Page& page) {
    std::vector<const platform::DrawCommand*> texts;
    for (const platform::DrawCommand& c : page)
        if (c.kind == platform::DrawKind::Text) texts.push_back(&c);
    return texts;
}

// The lines of a text whose every line ends with CR LF.
inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "the text ends with CR LF";
    return lines;
}

// The fields of a CSV line, quoted fields unquoted.
inline std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') fields.back() += line[++i];
        else if (c == '"') quoted = !quoted;
        else if (c == ',' && !quoted) fields.emplace_back();
        else fields.back() += c;
    }
    return fields;
}

// A month sun table for Dover as the sunrise tool fills it, with the month's moon phases; the
// nautical dawn of the 10th does not occur.
inline void FillSunTable(int year, int month) {
    engine::SharedState& s = engine::State();
    const double starts[8] = {0, 0, 5.5, 6.25, 7, 17.5, 18.25, 19};
    for (int d = 1; d <= engine::DaysInMonth(year, month); ++d) {
        s.SunTable(1, d) = engine::Str(d) + engine::MonthAbbrev(year, month) + " " + engine::Str(year);
        for (int col = 2; col <= 7; ++col) s.SunTable(col, d) = engine::HoursToHHMM(starts[col] + d / 60.0);
    }
    s.SunTable(2, 10) = "None";
    s.SunTableYear = year;
    s.SunTableMonth = month;
    engine::FillMoonPhases(year, month);
    s.SunPlace = "Dover";
    s.SunLatText = "51.07N";
    s.SunLongText = "001.19E";
}

class PrintTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        platform::SetPrintBackend(&recorder);
    }
    // The pages of an ended document.
    const std::vector<Page>& pagesOf(size_t document) {
        static const std::vector<Page> none;
        EXPECT_GT(recorder.documents.size(), document);
        if (recorder.documents.size() <= document) return none;
        EXPECT_TRUE(recorder.documents[document].ended);
        return recorder.documents[document].pages;
    }
    const Page& onlyPage(size_t document) {
        static const Page none;
        const std::vector<Page>& pages = pagesOf(document);
        EXPECT_EQ(pages.size(), 1u);
        return pages.empty() ? none : pages[0];
    }
    platform::RecordingPrintBackend recorder;
};

}  // namespace testing_support
