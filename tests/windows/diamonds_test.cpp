// The tidal diamonds editor as a user meets it, on a copy of the sample diamond file in a copy of
// the program folder: every write reads back as shown, touches only what the user changed, and a
// refusal or a failed write leaves the file as it was.
#include <QTest>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <limits>

#include "engine/diamondfile.h"
#include "engine/records.h"
#include "maintenance/frmtidaldiamondscopy.h"
#include "window_support.h"

using namespace engine;
using namespace platform;
using testing_support::ClickLine;
using testing_support::ListLines;
using testing_support::PickFile;
using testing_support::ReadAll;
namespace fs = std::filesystem;
using Pane = frmTidalDiamondsCopy::Pane;

namespace {

constexpr auto recordBytes = &testing_support::RecordBytes<TidalDiamondRecord>;

std::string encoded(const TidalDiamondRecord& d) {
    const Bytes b = EncodeDiamondRecord(d);
    return {b.begin(), b.end()};
}

TidalDiamondRecord decoded(const std::string& file, long k) {
    return testing_support::RecordIn(file, k, DecodeDiamondRecord);
}

// The texts of a pane's 42 boxes.
std::vector<std::string> texts(const frmTidalDiamondsCopy::PaneBoxes& b) {
    std::vector<std::string> out{b.ref->Text(), b.lat->Text(), b.lon->Text()};
    for (const auto& hour : b.hours)
        for (const TextBox* box : hour) out.push_back(box->Text());
    return out;
}

const std::vector<std::string> kEmptyBoxes(42);

}  // namespace

class Diamonds : public testing_support::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        useAreaCopies(folder);
        fs::copy_file(programFolder() + "/Sample.l20", folder.file("Sample.l20"));
        sample = ReadAll(folder.file("Sample.l20"));
        ASSERT_EQ(sample.size(), 4 * TidalDiamondRecord::kSize);
    }

    // Opens the editor through its menu handler (its menu entry stays hidden).
    frmTidalDiamondsCopy& editor() {
        mainWindow().mnuCopyDiamonds_Click();
        auto& w = Get<frmTidalDiamondsCopy>();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        return w;
    }
    // The editor with the sample chosen as its source.
    frmTidalDiamondsCopy& onSample() {
        frmTidalDiamondsCopy& w = editor();
        PickFile(w.fileSource, "Sample.l20");
        return w;
    }
    std::string file() const { return ReadAll(folder.file("Sample.l20")); }
    std::vector<std::pair<std::string, std::string>> said() const {
        std::vector<std::pair<std::string, std::string>> out;
        for (const AskedMessage& m : dialogs->messages) out.emplace_back(m.prompt, m.title);
        return out;
    }

    testing_support::TempDir folder;
    std::string sample;
};

// The editor opens modeless and centred, once; its lists show the folder's diamond files in any
// case, the chosen file's diamonds in listing form, and a click shows one in its boxes.
TEST_F(Diamonds, ListsFilesAndShowsAChosenDiamond) {
    ASSERT_TRUE(fs::copy_file(folder.file("Sample.l20"), folder.file("Other.L20")));
    ASSERT_TRUE(fs::copy_file(folder.file("Sample.l20"), folder.file(kScratchDiamondFileName)));
    frmtidewyn& main = open();
    EXPECT_FALSE(main.mnuCopyDiamonds.Visible());
    frmTidalDiamondsCopy& w = editor();
    EXPECT_EQ(w.Caption(), "Copy Tidal Diamonds");
    EXPECT_TRUE(w.Visible());
    EXPECT_FALSE(w.IsModal());
    EXPECT_EQ(&Get<frmTidalDiamondsCopy>(), &w);
    EXPECT_NEAR(w.Left() + w.Width() / 2, Form::ScreenLeft() + Form::ScreenWidth() / 2, 30 * kTwipsPerPixel);
    EXPECT_EQ(
        w.lblInstructions->Caption(),
        "Select a source file; then select the diamond required. 2 Options 1.. Amend data and write it back "
        "to "
        "the file\r\n2.. Copy button writes the data to the right hand section, the Add button here adds the "
        "diamond to the end of the selected destination file");
    EXPECT_EQ(ListLines(*w.fileSource), (std::vector<std::string>{"Other.L20", "Sample.l20"}));
    EXPECT_EQ(ListLines(*w.fileDest), ListLines(*w.fileSource));

    PickFile(w.fileSource, "Sample.l20");
    EXPECT_EQ(w.DiamondFileName, folder.file("Sample.l20"));
    EXPECT_EQ(w.lblSourceFile->Caption(), w.DiamondFileName);
    ASSERT_EQ(w.List1->ListCount(), 4);
    EXPECT_EQ(w.List1->List(0), "A  50.32.00N  001.15.00W");
    EXPECT_EQ(w.List1->List(3), "D  50.36.00N  000.33.00W");

    ClickLine(w.List1, 1);
    EXPECT_EQ(w.SavedDiamondIndex, 1);
    EXPECT_EQ(w.Lbldiamno->Caption(), "2");
    EXPECT_EQ(w.txtid->Text(), "B");
    EXPECT_EQ(w.txtlat->Text(), "50.36.00N");
    EXPECT_EQ(w.txtlong->Text(), "001.02.00W");
    EXPECT_EQ(w.txtdirm6->Text(), "262");
    EXPECT_EQ(w.txtdirm3->Text(), "072");
    EXPECT_EQ(w.txtspratehw->Text(), "3.0");
    EXPECT_EQ(w.txtnpratehw->Text(), "1.5");

    // The destination: its full path in the box and its diamonds listed; its boxes keep their text.
    w.txtDestID->SetText("Z");
    PickFile(w.fileDest, "Other.L20");
    EXPECT_EQ(w.DestDiamondFileName, folder.file("Other.L20"));
    EXPECT_EQ(w.txtDestFile->Text(), w.DestDiamondFileName);
    EXPECT_EQ(ListLines(*w.List2), ListLines(*w.List1));
    EXPECT_EQ(w.txtDestID->Text(), "Z");
    EXPECT_TRUE(dialogs->messages.empty());
}

// Stored values as the boxes show them: directions in whole degrees of at least three digits,
// rates with one decimal and "." in every locale.
TEST_F(Diamonds, BoxesShowStoredValues) {
    struct Case {
        float direction, spring, neap;
        std::string dir, springText, neapText;
    };
    const Case cases[] = {
        {5.6f, 0, 1.25f, "006", "0.0", "1.3"},
        {359.4f, 2.44f, 12.0f, "359", "2.4", "12.0"},
        {0, 123.46f, 0.05f, "000", "123.5", "0.1"},
    };
    for (bool comma : {false, true}) {
        if (comma) testing_support::UseDecimalCommaLocale();
        TidalDiamondRecord d;
        d.DiamondRef = "é";
        d.Latitude = -12.25f;
        d.Longitude = 0;
        for (size_t i = 0; i < std::size(cases); ++i)
            d.HourStreams[i] = {cases[i].direction, cases[i].spring, cases[i].neap};
        fs::remove(folder.file("Made.l20"));
        ASSERT_TRUE(AppendDiamondRecord(folder.file("Made.l20"), d).ok());
        frmTidalDiamondsCopy& w = editor();
        PickFile(w.fileSource, "Made.l20");
        EXPECT_EQ(w.List1->List(0), "é  12.15.00S  000.00.00E");
        ClickLine(w.List1, 0);
        const frmTidalDiamondsCopy::PaneBoxes b = w.Boxes(Pane::Source);
        EXPECT_EQ(b.ref->Text(), "é");
        EXPECT_EQ(b.lat->Text(), "12.15.00S");
        for (size_t i = 0; i < std::size(cases); ++i) {
            EXPECT_EQ(b.hours[i][0]->Text(), cases[i].dir) << i;
            EXPECT_EQ(b.hours[i][1]->Text(), cases[i].springText) << i;
            EXPECT_EQ(b.hours[i][2]->Text(), cases[i].neapText) << i;
        }
        w.Unload();
    }
}

// "Amend" rewrites only the highlighted diamond's bytes with what the boxes show; the list is
// rebuilt in the form the boxes are typed in, the row highlighted again and the boxes emptied.
// Under a decimal comma an unchanged diamond is written back to the same bytes.
TEST_F(Diamonds, AmendRewritesOnlyTheHighlightedDiamond) {
    testing_support::UseDecimalCommaLocale();
    frmTidalDiamondsCopy& w = onSample();
    ClickLine(w.List1, 2);
    w.cmdAmend->click();
    EXPECT_EQ(file(), sample);

    ClickLine(w.List1, 2);
    EXPECT_EQ(w.txtspratep4->Text(), "1.8");
    w.txtspratep4->SetText("2.75");
    w.txtdirhw->SetText("");
    w.txtid->SetText("Cx");
    w.cmdAmend->click();
    EXPECT_TRUE(dialogs->messages.empty());
    TidalDiamondRecord c = decoded(sample, 3);
    c.HourStreams[10].SpringRate = 2.75f;
    c.HourStreams[6].Direction = 0;
    EXPECT_EQ(file(), sample.substr(0, 2 * TidalDiamondRecord::kSize) + encoded(c) + recordBytes(sample, 4));

    EXPECT_EQ(ListLines(*w.List1), (std::vector<std::string>{"A   50.32N   1.15W", "B   50.36N   1.02W",
                                                             "C   50.40N   0.49W", "D   50.36N   0.33W"}));
    EXPECT_EQ(w.List1->ListIndex(), 2);
    EXPECT_EQ(w.Lbldiamno->Caption(), "3");
    EXPECT_EQ(texts(w.Boxes(Pane::Source)), kEmptyBoxes);
}

// "Add to End" appends the boxes' diamond; "Delete" removes the highlighted one, leaving no work
// file, and highlights the row at the same place while there is one.
TEST_F(Diamonds, AddToEndAndDelete) {
    frmTidalDiamondsCopy& w = onSample();
    ClickLine(w.List1, 0);
    w.txtid->SetText("E");
    w.cmdAddtoFile->click();
    TidalDiamondRecord e = decoded(sample, 1);
    e.DiamondRef = "E";
    EXPECT_EQ(file(), sample + encoded(e));
    ASSERT_EQ(w.List1->ListCount(), 5);
    EXPECT_EQ(w.List1->List(4), "E   50.32N   1.15W");
    EXPECT_EQ(w.List1->ListIndex(), -1);
    EXPECT_EQ(texts(w.Boxes(Pane::Source)), kEmptyBoxes);

    ASSERT_TRUE(fs::copy_file(folder.file("Sample.l20"), folder.file(kScratchDiamondFileName)));
    ClickLine(w.List1, 4);
    w.cmdDelete->click();
    EXPECT_EQ(file(), sample);
    EXPECT_EQ(w.List1->ListCount(), 4);
    EXPECT_EQ(w.List1->ListIndex(), -1);
    EXPECT_FALSE(fs::exists(folder.file(kScratchDiamondFileName)));

    ClickLine(w.List1, 1);
    w.cmdDelete->click();
    EXPECT_EQ(file(), recordBytes(sample, 1) + recordBytes(sample, 3) + recordBytes(sample, 4));
    EXPECT_EQ(w.List1->ListIndex(), 1);
    EXPECT_EQ(w.Lbldiamno->Caption(), "2");
    EXPECT_EQ(texts(w.Boxes(Pane::Source)), kEmptyBoxes);
    EXPECT_TRUE(dialogs->messages.empty());
}

// "Copy" fills the destination's 42 boxes from the source's, empty ones included; a double-click
// on an hour's direction box empties that hour of its own pane only.
TEST_F(Diamonds, CopyAndDoubleClickClearing) {
    frmTidalDiamondsCopy& w = onSample();
    ClickLine(w.List1, 3);
    const std::vector<std::string> shown = texts(w.Boxes(Pane::Source));
    w.cmdCopy->click();
    EXPECT_EQ(texts(w.Boxes(Pane::Dest)), shown);

    QTest::mouseDClick(w.txtdirm6, Qt::LeftButton);
    QTest::mouseDClick(w.txtDestdirp6, Qt::LeftButton);
    std::vector<std::string> source = shown, dest = shown;
    for (size_t i = 3; i < 6; ++i) source[i] = "";
    for (size_t i = 39; i < 42; ++i) dest[i] = "";
    EXPECT_EQ(texts(w.Boxes(Pane::Source)), source);
    EXPECT_EQ(texts(w.Boxes(Pane::Dest)), dest);

    PickFile(w.fileSource, "Sample.l20");
    EXPECT_EQ(texts(w.Boxes(Pane::Source)), kEmptyBoxes);
    w.cmdCopy->click();
    EXPECT_EQ(texts(w.Boxes(Pane::Dest)), kEmptyBoxes);
}

// "Add" appends the destination boxes' diamond to the file the typed name gives: a name without
// a folder, or a full path in the program folder; another folder is refused.
TEST_F(Diamonds, AddGoesToTheTypedFile) {
    const std::string elsewhere = home.file("x");
    const std::string folderRefused =
        "Diamond files are kept in the program folder: type a file name without a folder.";
    struct Case {
        std::string typed, file;  // file "" when refused
        std::string refusal = "";
    };
    const Case cases[] = {
        {" New ", "New.l20"},
        {"Up.L20", "Up.L20"},
        {"a.l20.b", "a.l20.b"},
        {folder.file("Full"), "Full.l20"},
        {elsewhere, "", folderRefused},
        {"sub/x.l20", "", folderRefused},
        {"Sample.l20.tmp~", "", "A name ending in \".tmp~\" is kept for the program's work files."},
    };
    frmTidalDiamondsCopy& w = onSample();
    ClickLine(w.List1, 0);
    w.cmdCopy->click();
    const TidalDiamondRecord a = decoded(sample, 1);
    for (const Case& c : cases) {
        dialogs->messages.clear();
        w.txtDestFile->SetText(c.typed);
        w.cmdAdd->click();
        EXPECT_EQ(w.txtDestFile->Text(), c.typed);
        EXPECT_EQ(texts(w.Boxes(Pane::Dest)), texts(w.Boxes(Pane::Source))) << c.typed;
        if (c.file.empty()) {
            EXPECT_EQ(said(), (std::vector<std::pair<std::string, std::string>>{{c.refusal, "Tidewyn"}}))
                << c.typed;
            continue;
        }
        EXPECT_TRUE(dialogs->messages.empty()) << c.typed;
        EXPECT_EQ(w.DestDiamondFileName, folder.file(c.file));
        EXPECT_EQ(ReadAll(folder.file(c.file)), encoded(a)) << c.typed;
        EXPECT_EQ(ListLines(*w.List2), (std::vector<std::string>{"A   50.32N   1.15W"}));
    }
    EXPECT_FALSE(fs::exists(elsewhere + ".l20"));
    EXPECT_FALSE(fs::exists(folder.file("sub")));
    EXPECT_FALSE(fs::exists(folder.file("Sample.l20.tmp~")));

    // A file picked from the list is appended to by its full path.
    PickFile(w.fileDest, "Sample.l20");
    w.cmdAdd->click();
    EXPECT_EQ(file(), sample + encoded(a));
    EXPECT_EQ(w.List2->ListCount(), 5);
}

// Each refusal says why and writes nothing.
TEST_F(Diamonds, RefusalsLeaveTheFileAsItWas) {
    using Said = std::pair<std::string, std::string>;
    struct Case {
        const char* what;
        std::function<void(frmTidalDiamondsCopy&)> act;
        Said said;
    };
    const Said selectFile{"Select a file", "Tidewyn Vizoz"};
    const Said highlight{"Highlight a Tidal Diamond Entry", "Tidewyn Vizoz"};
    const Case cases[] = {
        {"amend before a file", [](auto& w) { w.cmdAmend->click(); }, selectFile},
        {"delete before a file", [](auto& w) { w.cmdDelete->click(); }, selectFile},
        {"add to end before a file", [](auto& w) { w.cmdAddtoFile->click(); }, selectFile},
        {"add without a name", [](auto& w) { w.cmdAdd->click(); }, selectFile},
        {"amend without a row",
         [](auto& w) {
             PickFile(w.fileSource, "Sample.l20");
             w.cmdAmend->click();
         },
         highlight},
        {"delete without a row",
         [](auto& w) {
             PickFile(w.fileSource, "Sample.l20");
             w.cmdDelete->click();
         },
         highlight},
        {"amend without a latitude",
         [](auto& w) {
             PickFile(w.fileSource, "Sample.l20");
             ClickLine(w.List1, 0);
             w.txtlat->SetText("");
             w.cmdAmend->click();
         },
         {" Must enter a Latitude", "Tidewyn"}},
        {"add without a longitude",
         [](auto& w) {
             w.txtDestFile->SetText("Sample");
             w.txtDestLat->SetText("50.1N");
             w.cmdAdd->click();
         },
         {" Must enter a Longitude", "Tidewyn"}},
        {"a reference the file cannot hold",
         [](auto& w) {
             PickFile(w.fileSource, "Sample.l20");
             ClickLine(w.List1, 0);
             w.txtid->SetText("Ω");
             w.cmdAddtoFile->click();
         },
         {"The diamond reference holds a character that cannot be stored in the file.", "Tidewyn"}},
        {"a rate too large for the file",
         [](auto& w) {
             PickFile(w.fileSource, "Sample.l20");
             ClickLine(w.List1, 0);
             w.txtspratep2->SetText("1" + std::string(40, '0'));
             w.cmdAmend->click();
         },
         {"HW +2 Springs is too large to store.", "Tidewyn"}},
        {"a latitude not in its form",
         [](auto& w) {
             w.txtDestFile->SetText("Sample");
             w.txtDestLat->SetText(std::string(40, '9') + ".0N");
             w.txtDestLong->SetText("1.0W");
             w.cmdAdd->click();
         },
         {"Latitude must be degrees, a point and minutes with N or S at the end, such as 50.45.00N.",
          "Tidewyn"}},
        {"a rate that is not a number",
         [](auto& w) {
             PickFile(w.fileSource, "Sample.l20");
             ClickLine(w.List1, 0);
             w.txtnpratem6->SetText("1.5abc");
             w.cmdAmend->click();
         },
         {"HW -6 Neaps must be a number such as 2.5 or -1,5.", "Tidewyn"}},
    };
    for (const Case& c : cases) {
        frmTidalDiamondsCopy& w = editor();
        dialogs->messages.clear();
        c.act(w);
        EXPECT_EQ(said(), std::vector<Said>{c.said}) << c.what;
        for (const AskedMessage& m : dialogs->messages) EXPECT_EQ(m.style, kOkOnly) << c.what;
        EXPECT_EQ(file(), sample) << c.what;
        w.Unload();
    }
    EXPECT_EQ(testing_support::FileNames(folder.path()),
              (std::vector<std::string>{"France.hc", "Sample.l20", "UK.hc"}));
}

// A write that fails says where and why and keeps the boxes' text, and its file its list. One
// that took the change all the same (only its folder's sync failed) is a write: its warning is
// told, the file listed again, so that each row stands for its diamond, and the boxes go on as
// after any write.
TEST_F(Diamonds, FailedWritesKeepTheBoxesAndListTheFileAsItIs) {
    struct Writer {
        const char* name;
        Pane pane;
        CommandButton* frmTidalDiamondsCopy::*button;
        bool writesBoxes;  // the boxes' diamond, with its reference "Q"
    };
    const Writer writers[] = {
        {"Amend", Pane::Source, &frmTidalDiamondsCopy::cmdAmend, true},
        {"Add to End", Pane::Source, &frmTidalDiamondsCopy::cmdAddtoFile, true},
        {"Delete", Pane::Source, &frmTidalDiamondsCopy::cmdDelete, false},
        {"Add", Pane::Dest, &frmTidalDiamondsCopy::cmdAdd, true},
    };
    for (const Writer& writer : writers) {
        for (FileStep failing : {FileStep::Rename, FileStep::FolderSync}) {
            const std::string what = std::string(writer.name) + " failing at " + FileStepName(failing);
            ASSERT_TRUE(ReplaceFile(folder.file("Sample.l20"), sample).ok());
            frmTidalDiamondsCopy& w = onSample();
            PickFile(w.fileDest, "Sample.l20");
            ClickLine(w.List1, 1);
            w.txtid->SetText("Q");
            w.cmdCopy->click();
            ListBox* list = writer.pane == Pane::Source ? w.List1 : w.List2;
            const std::vector<std::string> rows = ListLines(*list), shown = texts(w.Boxes(writer.pane));
            dialogs->messages.clear();
            SetFileStepFault([&](FileStep step, const std::string&) { return step == failing ? ENOSPC : 0; });
            (w.*writer.button)->click();
            SetFileStepFault({});

            ASSERT_EQ(dialogs->messages.size(), 1u) << what;
            const AskedMessage& m = dialogs->messages.front();
            EXPECT_EQ(m.title, "Tidewyn") << what;
            EXPECT_NE(m.prompt.find(folder.path()), std::string::npos) << what << ": " << m.prompt;
            EXPECT_NE(m.prompt.find(std::strerror(ENOSPC)), std::string::npos) << what << ": " << m.prompt;
            // A write whose folder alone was not synced is told as written, not as refused.
            EXPECT_EQ(m.prompt.find("cannot be") != std::string::npos, failing == FileStep::Rename)
                << what << ": " << m.prompt;
            if (failing == FileStep::Rename || writer.pane == Pane::Dest)
                EXPECT_EQ(texts(w.Boxes(writer.pane)), shown) << what;
            else EXPECT_NE(texts(w.Boxes(writer.pane)), shown) << what;
            if (failing == FileStep::Rename) {
                EXPECT_EQ(file(), sample) << what;
                EXPECT_EQ(ListLines(*list), rows) << what;
                EXPECT_EQ(w.List1->ListIndex(), 1) << what;
            } else {
                EXPECT_NE(file(), sample) << what;
                EXPECT_EQ(list->ListCount(), DiamondCount(folder.file("Sample.l20"))) << what;
                const std::vector<std::string> listed = ListLines(*list);
                EXPECT_EQ(std::count_if(listed.begin(), listed.end(),
                                        [](const std::string& row) { return row[0] == 'Q'; }),
                          writer.writesBoxes ? 1 : 0)
                    << what;
            }
            w.Unload();
        }
    }
}

// A diamond holding a value that is not a finite number, or a position outside its range, keeps
// its row, marked, and is named once; clicked, it shows its good values and leaves the damaged
// value's box empty, so that nothing NaN or infinite is shown. "Amend" with a good value mends it.
TEST_F(Diamonds, DamagedDiamondsAreMarkedAndMendedByAmend) {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    using F = frmTidalDiamondsCopy;
    const struct {
        void (*set)(TidalDiamondRecord&, float);
        TextBox* F::*box;
    } fields[] = {
        {[](TidalDiamondRecord& d, float v) { d.Latitude = v; }, &F::txtlat},
        {[](TidalDiamondRecord& d, float v) { d.Longitude = v; }, &F::txtlong},
        {[](TidalDiamondRecord& d, float v) { d.HourStreams[3].Direction = v; }, &F::txtdirm3},
        {[](TidalDiamondRecord& d, float v) { d.HourStreams[8].SpringRate = v; }, &F::txtspratep2},
        {[](TidalDiamondRecord& d, float v) { d.HourStreams[6].NeapRate = v; }, &F::txtnpratehw},
    };
    std::vector<std::string> clean, rows;
    {
        frmTidalDiamondsCopy& w = onSample();
        rows = ListLines(*w.List1);
        ClickLine(w.List1, 1);
        clean = texts(w.Boxes(Pane::Source));
        w.Unload();
    }
    for (const auto& f : fields) {
        for (float v : {kNaN, kInf, -kInf}) {
            TidalDiamondRecord damaged = decoded(sample, 2);
            f.set(damaged, v);
            const std::string record = "Record 2 of Sample.l20 is damaged: " + *DiamondRecordFault(damaged);
            SCOPED_TRACE(record);
            testing_support::WriteBytes(
                folder.file("Sample.l20"),
                recordBytes(sample, 1) + encoded(damaged) + sample.substr(2 * TidalDiamondRecord::kSize));
            const std::string before = file();
            dialogs->messages.clear();
            frmTidalDiamondsCopy& w = onSample();
            std::vector<std::string> marked = rows;
            marked[1] = "B  damaged";
            EXPECT_EQ(ListLines(*w.List1), marked);
            PickFile(w.fileDest, "Sample.l20");
            EXPECT_EQ(ListLines(*w.List2), marked);
            using Said = std::vector<std::pair<std::string, std::string>>;
            const std::string listed = record + ". Damaged diamonds are listed as \"damaged\" and the file " +
                                       "stays as it is; to mend one, click it in the source list, type its " +
                                       "values and click Amend.";
            EXPECT_EQ(said(), (Said{{listed, "Tidewyn"}, {listed, "Tidewyn"}}));

            dialogs->messages.clear();
            ClickLine(w.List1, 1);
            const std::string clicked = record + ". The boxes of its damaged values are empty: type good " +
                                        "values and click Amend to mend it.";
            EXPECT_EQ(said(), (Said{{clicked, "Tidewyn"}}));
            // Only the damaged value's box differs from the good diamond's: it is empty.
            const std::vector<std::string> shown = texts(w.Boxes(Pane::Source));
            std::vector<size_t> differ;
            for (size_t i = 0; i < shown.size(); ++i)
                if (shown[i] != clean[i]) differ.push_back(i);
            ASSERT_EQ(differ.size(), 1u);
            EXPECT_EQ(shown[differ[0]], "");
            EXPECT_EQ((w.*f.box)->Text(), "");
            EXPECT_EQ(file(), before);

            // The good value typed again and amended: the sample's bytes.
            (w.*f.box)->SetText(clean[differ[0]]);
            dialogs->messages.clear();
            w.cmdAmend->click();
            EXPECT_TRUE(dialogs->messages.empty());
            EXPECT_TRUE(file() == sample);
            EXPECT_EQ(ListLines(*w.List1)[1], "B   50.36N   1.02W");
            w.Unload();
        }
    }
}

// A diamond that cannot be read empties the boxes, so that "Amend" cannot write the one shown
// before over it.
TEST_F(Diamonds, AnUnreadableDiamondEmptiesTheBoxes) {
    frmTidalDiamondsCopy& w = onSample();
    ClickLine(w.List1, 0);
    SetReadFault([](const std::string&) { return EIO; });
    ClickLine(w.List1, 1);
    SetReadFault({});
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages.front().title, "Tidewyn");
    EXPECT_EQ(texts(w.Boxes(Pane::Source)), kEmptyBoxes);
    dialogs->messages.clear();
    w.cmdAmend->click();
    EXPECT_EQ(said(),
              (std::vector<std::pair<std::string, std::string>>{{" Must enter a Latitude", "Tidewyn"}}));
    EXPECT_EQ(file(), sample);
}
