// The manual's PDF as the build renders it, read back with pdftotext as a reader's search or
// copy would find its text.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/numtext.h"
#include "tidedump_run.h"

namespace tool_tests {
namespace {

// The letters a font's ligatures stand for ("ﬁ" in "conﬁguration").
std::string WithoutLigatures(std::string line) {
    for (const auto& [ligature, letters] : {std::pair{"\uFB00", "ff"},
                                            {"\uFB01", "fi"},
                                            {"\uFB02", "fl"},
                                            {"\uFB03", "ffi"},
                                            {"\uFB04", "ffl"}})
        for (size_t at; (at = line.find(ligature)) != std::string::npos;)
            line.replace(at, std::string(ligature).size(), letters);
    return line;
}

// Each page's lines of text, trimmed, without the empty ones.
std::vector<std::vector<std::string>> PdfPages(const std::string& path) {
    const ToolRun run = RunTool("pdftotext", {"-layout", path, "-"});
    EXPECT_EQ(run.exitCode, 0) << "pdftotext (poppler-utils) must read " << path << ": " << run.describe();
    std::vector<std::vector<std::string>> pages;
    std::stringstream text(run.out);
    std::string page;
    while (std::getline(text, page, '\f')) {
        std::vector<std::string> lines;
        std::stringstream in(page);
        for (std::string line; std::getline(in, line);)
            if (!engine::Trim(line).empty()) lines.push_back(WithoutLigatures(engine::Trim(line)));
        if (!lines.empty()) pages.push_back(lines);
    }
    return pages;
}

std::vector<std::string> SourceLines() {
    std::ifstream in(MANUAL_SOURCE);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

const std::regex kImage(R"(!\[[^\]]*\]\([^)]*\))");

// The source's lines with its images left out: their text is not printed.
std::vector<std::string> SourceText() {
    std::vector<std::string> lines;
    for (const std::string& line : SourceLines()) lines.push_back(std::regex_replace(line, kImage, ""));
    return lines;
}

// The numbered sections of the manual's source: number and heading ("9. Program settings").
std::map<int, std::string> SourceSections() {
    std::map<int, std::string> sections;
    const std::regex heading(R"(# ((\d+)\. .*))");
    std::smatch m;
    for (const std::string& line : SourceLines())
        if (std::regex_match(line, m, heading)) sections[std::stoi(m[2])] = m[1];
    return sections;
}

// How often each word of letters and digits stands in the lines; markup has none.
std::map<std::string, int> WordCounts(const std::vector<std::string>& lines) {
    std::map<std::string, int> counts;
    const std::regex word("[A-Za-z0-9]+");
    for (const std::string& line : lines)
        for (auto w = std::sregex_iterator(line.begin(), line.end(), word); w != std::sregex_iterator(); ++w)
            ++counts[w->str()];
    return counts;
}

class ManualPdf : public testing::Test {
protected:
    void SetUp() override {
        pages_ = PdfPages(MANUAL_PDF);
        ASSERT_GT(pages_.size(), 3u);
        // The last line of each page is its footer, "... Page n of N", and n is the page's own.
        for (size_t i = 0; i < pages_.size(); ++i) {
            const std::string footer =
                "Page " + std::to_string(i + 1) + " of " + std::to_string(pages_.size());
            ASSERT_NE(pages_[i].back().find(footer), std::string::npos) << pages_[i].back();
            pages_[i].pop_back();
        }
    }
    std::vector<std::vector<std::string>> pages_;
};

TEST_F(ManualPdf, NoLineStandsAtAPagesFootAndAgainAtTheNextPagesTop) {
    for (size_t i = 0; i + 1 < pages_.size(); ++i) {
        if (pages_[i].empty() || pages_[i + 1].empty()) continue;
        EXPECT_NE(pages_[i].back(), pages_[i + 1].front()) << "pages " << i + 1 << " and " << i + 2;
    }
}

TEST_F(ManualPdf, EveryWordOfTheSourceStandsInThePdfAsOftenAtLeast) {
    std::vector<std::string> pdf;
    for (const auto& page : pages_) pdf.insert(pdf.end(), page.begin(), page.end());
    const auto inPdf = WordCounts(pdf);
    for (const auto& [word, count] : WordCounts(SourceText())) {
        const auto found = inPdf.find(word);
        EXPECT_GE(found == inPdf.end() ? 0 : found->second, count) << '"' << word << '"';
    }
}

TEST_F(ManualPdf, NoHeadingStandsLastOnAPage) {
    std::vector<std::string> headings;
    const std::regex heading("#{1,3} (.+)");
    std::smatch m;
    for (const std::string& line : SourceLines())
        if (std::regex_match(line, m, heading)) headings.push_back(m[1]);
    ASSERT_GT(headings.size(), 20u);
    for (size_t i = 0; i + 1 < pages_.size(); ++i)
        for (const std::string& h : headings)
            EXPECT_FALSE(pages_[i].back().size() > 2 &&
                         h.compare(0, pages_[i].back().size(), pages_[i].back()) == 0)
                << "page " << i + 1 << " ends with " << h;
}

TEST_F(ManualPdf, EachContentsEntryCarriesThePageItsSectionStartsOn) {
    const auto sections = SourceSections();
    ASSERT_GE(sections.size(), 10u);
    // The contents list on the pages before the first section: "9. Program settings ... 9".
    std::map<int, int> contents;
    const std::regex entry(R"((\d+)\. .*\S\s{2,}(\d+))");
    std::smatch m;
    size_t after = 0;  // the last page of the contents
    for (size_t i = 0; i < pages_.size() && i < 3; ++i)
        for (const std::string& line : pages_[i])
            if (std::regex_match(line, m, entry)) {
                contents[std::stoi(m[1])] = std::stoi(m[2]);
                after = i;
            }
    ASSERT_EQ(contents.size(), sections.size());

    for (const auto& [number, heading] : sections) {
        int found = 0;  // the first page after the contents whose lines start the heading
        for (size_t i = after + 1; i < pages_.size() && !found; ++i)
            for (const std::string& line : pages_[i])
                if (line.size() > 6 && heading.compare(0, line.size(), line) == 0)
                    found = static_cast<int>(i) + 1;
        ASSERT_GT(found, 0) << heading;
        EXPECT_EQ(contents[number], found) << heading;
    }
}

// Every image of the source is drawn, on the page that holds the first line of its caption, the
// paragraph under it.
TEST_F(ManualPdf, EveryImageIsDrawnOnThePageOfItsCaption) {
    std::vector<std::string> captions;
    const auto source = SourceLines();
    for (size_t i = 0; i < source.size(); ++i) {
        if (!std::regex_search(source[i], kImage)) continue;
        size_t next = i + 1;
        while (next < source.size() && engine::Trim(source[next]).empty()) ++next;
        ASSERT_LT(next, source.size());
        captions.push_back(std::regex_replace(source[next], std::regex(R"([*_`])"), ""));
    }
    ASSERT_GE(captions.size(), 5u);

    // "page num type ..." after two heading lines, one line an image, in the order drawn.
    const ToolRun run = RunTool("pdfimages", {"-list", MANUAL_PDF});
    ASSERT_EQ(run.exitCode, 0) << run.describe();
    std::vector<size_t> imagePages;
    std::stringstream list(run.out);
    std::string line;
    for (int heading = 0; heading < 2; ++heading) std::getline(list, line);
    while (std::getline(list, line)) imagePages.push_back(std::stoul(line));
    ASSERT_EQ(imagePages.size(), captions.size());

    for (size_t k = 0; k < captions.size(); ++k) {
        // The caption's first words, as far as they fill a line of the page.
        const std::string start = captions[k].substr(0, 30);
        bool onPage = false;
        for (const std::string& text : pages_[imagePages[k] - 1])
            onPage = onPage || text.compare(0, start.size(), start) == 0;
        EXPECT_TRUE(onPage) << "page " << imagePages[k] << " lacks " << start;
    }
}

}  // namespace
}  // namespace tool_tests
