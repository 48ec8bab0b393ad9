// Numbers typed or dropped into each kind of box, on an English and on a German desktop: a comma
// is the decimal point, a text that is not wholly one number is refused with a message naming
// the box, and what a file keeps is what the box shows.
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <functional>
#include <optional>
#include <string>

#include "adjustment/frmadjustsave.h"
#include "adjustment_support.h"
#include "engine/recordfile.h"
#include "engine/records.h"
#include "engine/settingsfile.h"
#include "maintenance/frmharmedit.h"
#include "mainwindow/frmchartdepth.h"
#include "mainwindow/frmoutoptions.h"
#include "window_support.h"

using namespace engine;
using namespace platform;
using testing_support::ReadAll;

namespace {

constexpr long kDover = 77;

enum class Entry { Typed, Dropped };

// What a box keeps: the value stored, or nothing for a refusal (a message, the file unchanged).
using Kept = std::optional<float>;
const Kept kRefused = std::nullopt;

struct Row {
    const char* text;
    Entry how;
    const char* filteredShows;  // what a box with a key filter holds afterwards
    Kept depth, editorZ0, adjustmentM2Hm, draught;
};

const Row kRows[] = {
    {"2,5", Entry::Typed, "2,5", 2.5f, 2.5f, 2.5f, 2.5f},
    {"2.5", Entry::Typed, "2.5", 2.5f, 2.5f, 2.5f, 2.5f},
    {"-1,5", Entry::Typed, "-1,5", -1.5f, -1.5f, -1.5f, kRefused},  // no draught below 0
    {",5", Entry::Typed, ",5", 0.5f, 0.5f, 0.5f, 0.5f},
    {"3,9", Entry::Typed, "3,9", 3.9f, 3.9f, 3.9f, 3.9f},
    {"1,234.5", Entry::Typed, "1,234.5", kRefused, kRefused, kRefused, kRefused},
    {"2.5.3", Entry::Typed, "2.5.3", kRefused, kRefused, kRefused, kRefused},
    // A filter drops the "e" as it is typed: the box shows 130, and 130 is what it holds.
    {"1e30", Entry::Typed, "130", 130.0f, kRefused, kRefused, kRefused},  // Z0 beyond 100 m
    // An editor box left empty is 0; the others take no empty box.
    {"abc", Entry::Typed, "", kRefused, 0.0f, kRefused, kRefused},
    // A drop holding a character the filter refuses is refused whole.
    {"1e30", Entry::Dropped, "", kRefused, 0.0f, kRefused, kRefused},
    {"-1,5", Entry::Dropped, "-1,5", -1.5f, -1.5f, -1.5f, kRefused},
};

void dropText(TextBox& box, const std::string& text) {
    QMimeData mime;
    mime.setText(QString::fromStdString(text));
    const QPoint end(box.width() - 2, box.height() / 2);
    QDragEnterEvent enter(end, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&box, &enter);
    QDropEvent drop(end, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&box, &drop);
}

// Empties the box and enters the row's text as the user would.
void enter(TextBox& box, const Row& row) {
    box.SetText("");
    if (row.how == Entry::Typed) box.TypeText(row.text);
    else dropText(box, row.text);
}

std::string trace(const Row& row) {
    return std::string(row.how == Entry::Typed ? "typed " : "dropped ") + row.text;
}

}  // namespace

class TypedNumbers : public testing_support::AdjustmentWindowTest,
                     public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        AdjustmentWindowTest::SetUp();
        UseLocale(GetParam());
        useAreaCopies(folder);
    }
    // The main window with its maintenance menu shown, as the settings' check box shows it.
    frmtidewyn& openWithEditor() {
        frmtidewyn& main = open();
        withModal<frmoutoptions>(main.mnuoutputoptions, [](frmoutoptions& d) {
            d.Check1->SetValue(1);
            d.Command1->click();
        });
        return main;
    }
    // The editor on Dover of the copy of UK.hc; `user` acts on it, and the editor is closed.
    void editDover(frmtidewyn& main, const std::function<void(frmharmedit&)>& user) {
        withModal<frmharmedit>(main.mnumaintainfile, [&](frmharmedit& e) {
            const auto found = e.fileList->findItems("UK.hc", Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1);
            e.fileList->SetListIndex(e.fileList->row(found.front()));
            e.portlist->SetListIndex(kDover - 1);
            user(e);
            e.Command2->click();
        });
    }
    // One message, naming the box, and the file as it was.
    void expectRefused(const std::string& box, const std::string& file, const std::string& before) {
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(dialogs->messages[0].prompt.rfind(box, 0), 0u) << dialogs->messages[0].prompt;
        EXPECT_EQ(ReadAll(file), before);
    }
    testing_support::TempDir folder;
};

INSTANTIATE_TEST_SUITE_P(Locales, TypedNumbers, ::testing::Values("en_GB", "de_DE"),
                         [](const auto& p) { return std::string(p.param); });

TEST_P(TypedNumbers, PortNotesDepth) {
    frmtidewyn& main = open();
    for (const Row& row : kRows) {
        SCOPED_TRACE(trace(row));
        const std::string before = ReadAll(depthPath());
        dialogs->messages.clear();
        withModal<frmChartdepth>(main.mnuchartdepth, [&](frmChartdepth& d) {
            d.List1->SetListIndex(kDover - 1);
            enter(*d.depth, row);
            EXPECT_EQ(d.depth->Text(), row.filteredShows);
            d.cdok->click();
            d.cdclose->click();
        });
        if (!row.depth) {
            expectRefused("The user depth", depthPath(), before);
            continue;
        }
        EXPECT_TRUE(dialogs->messages.empty());
        DepthRecord d;
        ASSERT_TRUE(ReadDepthRecord(depthPath(), kDover, d).ok());
        EXPECT_EQ(d.ChartedDepth, *row.depth);
    }
}

TEST_P(TypedNumbers, EditorConstant) {
    frmtidewyn& main = openWithEditor();
    const std::string area = folder.file("UK.hc");
    for (const Row& row : kRows) {
        SCOPED_TRACE(trace(row));
        const std::string before = ReadAll(area);
        dialogs->messages.clear();
        editDover(main, [&](frmharmedit& e) {
            enter(*e.txtZ0, row);
            EXPECT_EQ(e.txtZ0->Text(), row.filteredShows);
            e.chartok->click();
        });
        if (!row.editorZ0) {
            expectRefused("Z0 must", area, before);
            continue;
        }
        EXPECT_TRUE(dialogs->messages.empty());
        PortRecord r;
        ASSERT_TRUE(ReadPortRecord(area, kDover, r).ok());
        EXPECT_EQ(r.Z0, *row.editorZ0);
        // Stored in the file's own form, shown again with "." whatever the desktop's.
        editDover(main, [&](frmharmedit& e) { EXPECT_EQ(e.txtZ0->Text(), TypedText(*row.editorZ0)); });
    }
}

TEST_P(TypedNumbers, AdjustmentBoxSavedAsAPort) {
    frmHarmAdjust& a = openAdjustment(open());
    const std::string area = folder.file("Typed.hc");
    for (const Row& row : kRows) {
        SCOPED_TRACE(trace(row));
        const std::string before = ReadAll(area);
        dialogs->messages.clear();
        enter(*a.txtM2Hm, row);
        EXPECT_EQ(a.txtM2Hm->Text(), row.text);  // no filter: the box holds what came
        a.MnuFileSave.Click();
        frmAdjustSave& d = Get<frmAdjustSave>();
        d.txtAreaName->SetText("Typed");
        d.Text1->SetText("Mid channel");
        d.cmdSave->click();
        if (!row.adjustmentM2Hm) {
            expectRefused("M2Hm must", area, before);
            d.cmdExit->click();
            continue;
        }
        EXPECT_TRUE(dialogs->messages.empty());
        const long n = PortCount(area);
        PortRecord r;
        ASSERT_TRUE(ReadPortRecord(area, n, r).ok());
        EXPECT_EQ(r.M2Hm, *row.adjustmentM2Hm);
        EXPECT_EQ(r.MonthM2Hm[6], *row.adjustmentM2Hm);
    }
}

TEST_P(TypedNumbers, ProgramSettingsDraught) {
    frmtidewyn& main = open();
    for (const Row& row : kRows) {
        SCOPED_TRACE(trace(row));
        const std::string before = ReadAll(settingsPath());
        dialogs->messages.clear();
        withModal<frmoutoptions>(main.mnuoutputoptions, [&](frmoutoptions& d) {
            enter(*d.draughttext, row);
            EXPECT_EQ(d.draughttext->Text(), row.text);
            d.optionsok->click();
            if (IsLoaded<frmoutoptions>()) d.Command1->click();
        });
        if (!row.draught) {
            expectRefused("The vessel draft", settingsPath(), before);
            continue;
        }
        EXPECT_TRUE(dialogs->messages.empty());
        SettingsRecord r;
        ASSERT_TRUE(ReadSettingsFile(r).ok());
        EXPECT_EQ(r.Draught, *row.draught);
        EXPECT_EQ(State().Draught, *row.draught);
    }
}

// Positions: degrees, a point and minutes with the hemisphere letter, a comma for the point.
TEST_P(TypedNumbers, EditorLatitude) {
    frmtidewyn& main = openWithEditor();
    const std::string area = folder.file("UK.hc");
    const char* const kForm =
        "Lat. must be degrees, a point and minutes with N or S at the end, such as 50.45.00N.";
    const struct {
        const char* text;
        Entry how;
        const char* shows;
        std::optional<double> degrees;
        const char* told;
    } cases[] = {
        {"51,07,30n", Entry::Typed, "51,07,30N", 51 + 7.3 / 60, ""},
        {"50.45.00N", Entry::Dropped, "50.45.00N", 50.75, ""},
        {"51", Entry::Typed, "51", std::nullopt, kForm},
        {"50.75N", Entry::Typed, "50.75N", std::nullopt, kForm},
        // The filter drops a typed minus sign, and refuses a dropped text holding one.
        {"-51.07.00N", Entry::Typed, "51.07.00N", 51 + 7 / 60.0, ""},
        {"-50.30N", Entry::Dropped, "", std::nullopt, "Error - Latitude entry"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string before = ReadAll(area);
        dialogs->messages.clear();
        editDover(main, [&](frmharmedit& e) {
            enter(*e.txtportlat, {c.text, c.how, "", {}, {}, {}, {}});
            EXPECT_EQ(e.txtportlat->Text(), c.shows);
            e.chartok->click();
        });
        if (!c.degrees) {
            ASSERT_EQ(dialogs->messages.size(), 1u);
            EXPECT_EQ(dialogs->messages[0].prompt, c.told);
            EXPECT_EQ(ReadAll(area), before);
            continue;
        }
        EXPECT_TRUE(dialogs->messages.empty());
        PortRecord r;
        ASSERT_TRUE(ReadPortRecord(area, kDover, r).ok());
        EXPECT_EQ(r.Latitude, static_cast<float>(*c.degrees));
    }
}
