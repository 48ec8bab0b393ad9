// Every caption, option, read-out and list line of the dialogs shows its whole text, and each
// title its own: measured with each control's own font against the room its style leaves for
// text, with the longest port names, every month and weekday name, in English and German (run
// again at 1.5 times the scale by CTest).
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine/recordfile.h"
#include "mainwindow/frmchartdepth.h"
#include "mainwindow/frmconfig.h"
#include "mainwindow/frmcopyright.h"
#include "mainwindow/frmoutoptions.h"
#include "mainwindow/frmpdfreader.h"
#include "mainwindow/frmshowconf.h"
#include "mainwindow/frmtidewyn.h"
#include "mainwindow/frmtimdat.h"
#include "platform/dialogs.h"
#include "window_support.h"

using namespace engine;
using namespace platform;

namespace {

// The text as drawn: "&&" shows one "&", a single "&" marks the access key; blanks at the end
// show nothing.
QString drawn(QString text, bool mnemonics) {
    if (mnemonics) {
        text.replace("&&", QChar(0xE000));
        text.remove('&');
        text.replace(QChar(0xE000), '&');
    }
    while (!text.isEmpty() && text.back().isSpace()) text.chop(1);
    return text;
}

class Report {
public:
    void need(const QWidget* w, const QString& text, const char* what, int need, int room) {
        if (need > room)
            problems.push_back(std::string(w->metaObject()->className()) + " \"" + text.toStdString() +
                               "\": " + what + " " + std::to_string(need) + " px in " + std::to_string(room));
    }
    std::vector<std::string> problems;
};

void checkButtonText(Report& r, QAbstractButton* b, QStyle::SubElement contents) {
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    if (auto* p = qobject_cast<QPushButton*>(b); p && p->isDefault())
        opt.features |= QStyleOptionButton::DefaultButton;
    const QRect room = b->style()->subElementRect(contents, &opt, b);
    const QString text = drawn(b->text(), true);
    const QFontMetrics fm = b->fontMetrics();
    r.need(b, text, "wide", fm.horizontalAdvance(text), room.width());
    r.need(b, text, "high", fm.height(), room.height());
}

void checkLabel(Report& r, QLabel* l) {
    const QRect room = l->contentsRect();
    const QFontMetrics fm = l->fontMetrics();
    if (l->wordWrap()) {
        r.need(l, l->text(), "high when wrapped", l->heightForWidth(l->width()), l->height());
        return;
    }
    const QStringList lines = l->text().split('\n');
    for (const QString& line : lines)
        r.need(l, line, "wide", fm.horizontalAdvance(drawn(line, false)), room.width());
    r.need(l, l->text(), "high", fm.height() + (static_cast<int>(lines.size()) - 1) * fm.lineSpacing(),
           room.height());
}

// A read-only box shows a value: the room inside its frame and text margins.
void checkReadOut(Report& r, QLineEdit* e) {
    QStyleOptionFrame opt;
    opt.initFrom(e);
    opt.rect = e->contentsRect();
    opt.lineWidth = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, e) : 0;
    const QRect inner = e->style()->subElementRect(QStyle::SE_LineEditContents, &opt, e);
    const QMargins m = e->textMargins();
    const int horizontalMargin = 2;  // QLineEdit's own, each side
    const QString text = drawn(e->text(), false);
    const QFontMetrics fm = e->fontMetrics();
    r.need(e, text, "wide", fm.horizontalAdvance(text),
           inner.width() - m.left() - m.right() - 2 * horizontalMargin);
    r.need(e, text, "high", fm.height(), inner.height() - m.top() - m.bottom());
}

void checkList(Report& r, QListWidget* list) {
    const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    const QFontMetrics fm = list->fontMetrics();
    for (int i = 0; i < list->count(); ++i) {
        const QString text = drawn(list->item(i)->text(), false);
        r.need(list, text, "wide", fm.horizontalAdvance(text) + 2 * margin, list->viewport()->width());
    }
}

void checkGroup(Report& r, QGroupBox* g) {
    QStyleOptionGroupBox opt;
    opt.initFrom(g);
    opt.text = g->title();
    opt.lineWidth = 1;
    opt.textAlignment = g->alignment();
    opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect label = g->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
    const QString text = drawn(g->title(), true);
    r.need(g, text, "wide", label.left() + g->fontMetrics().horizontalAdvance(text), g->width());
}

// What of the window's text does not fit.
std::vector<std::string> overflows(QWidget& window) {
    QCoreApplication::processEvents();  // lists lay out their lines and scroll bars
    Report r;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window)) continue;
        if (auto* b = qobject_cast<QPushButton*>(w)) checkButtonText(r, b, QStyle::SE_PushButtonContents);
        else if (auto* c = qobject_cast<QCheckBox*>(w)) checkButtonText(r, c, QStyle::SE_CheckBoxContents);
        else if (auto* o = qobject_cast<QRadioButton*>(w))
            checkButtonText(r, o, QStyle::SE_RadioButtonContents);
        else if (auto* l = qobject_cast<QLabel*>(w)) checkLabel(r, l);
        else if (auto* e = qobject_cast<QLineEdit*>(w); e && e->isReadOnly()) checkReadOut(r, e);
        else if (auto* list = qobject_cast<QListWidget*>(w)) checkList(r, list);
        else if (auto* g = qobject_cast<QGroupBox*>(w)) checkGroup(r, g);
    }
    return r.problems;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += "\n  " + l;
    return out;
}

// The longest name a port record holds (35 characters) among the longest shipped ones, far
// enough down an area for the lists to scroll and to number their lines with two digits.
const char* const kLongNames[] = {"Aranmore Island Leabgarrow", "Kinlochbervie Harbour Outer Anchors",
                                  "Saint Jean-de-Luz Socoa", "Liverpool Gladstone Dock"};
constexpr int kPortsBefore = 40;
constexpr int kLongestPort = kPortsBefore + 2;  // record number of the 35-character name
}  // namespace

class DialogText : public testing_support::WindowTest, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        UseLocale(GetParam());
        // An area of long port names, the longest of them current.
        PortRecord dover;
        ASSERT_TRUE(ReadPortRecord(programFolder() + "/UK.hc", 77, dover).ok());
        std::vector<std::string> names;
        for (int k = 1; k <= kPortsBefore; ++k) names.push_back("Port " + std::to_string(k));
        names.insert(names.end(), std::begin(kLongNames), std::end(kLongNames));
        std::string contents;
        for (const std::string& name : names) {
            dover.PortName = name;
            Bytes b = EncodePortRecord(dover);
            contents.append(b.begin(), b.end());
        }
        const std::string area = home.file("Long.hc");
        std::ofstream(area, std::ios::binary) << contents;
        storeSettings([&](SettingsRecord& r) {
            r.AreaPath = area;
            r.PortIndex = kLongestPort;
            r.Draught = 12.25f;
            r.KeelClearance = 10.125f;
        });
    }
    // Opens dialog T from `menu`, lets `look` check it, and closes it by its close box.
    template <typename T>
    void look(MenuItem& menu, const std::function<void(T&)>& check) {
        withModal<T>(menu, [&](T& d) {
            check(d);
            d.close();
        });
    }
    void expectFits(QWidget& window, const std::string& when = "") {
        const std::string title = window.windowTitle().toStdString();
        EXPECT_EQ(joined(overflows(window)), "") << title << when;
        EXPECT_GE(window.width(), TitleBarWidth(title)) << title;
    }
};

TEST_P(DialogText, ConditionsWindowAndManualViewer) {
    frmCopyright& start = Get<frmCopyright>();
    expectFits(start);
    // The conditions are read without scrolling, and the buttons stand below them.
    EXPECT_LE(start.List1->count() * start.List1->sizeHintForRow(0), start.List1->viewport()->height());
    EXPECT_GT(TopOf(start.ConditionsOK), TopOf(start.List1) + HeightOf(start.List1));
    frmtidewyn& main = open();
    main.mnuHelp.Click();
    expectFits(Get<frmPDFReader>());
}

TEST_P(DialogText, DateDialogWithEveryMonthAndWeekday) {
    frmtidewyn& main = open();
    look<Frmtimdat>(main.mnutidedate, [&](Frmtimdat& d) {
        for (int m = 0; m < 12; ++m) {
            d.monthlist->SetListIndex(m);
            expectFits(d, " in month " + std::to_string(m + 1));
        }
        for (int day = 0; day < 7; ++day) {
            d.daylist->SetListIndex(day);
            d.DTPicker->Pick(DateSerial(2024, 9, 23 + day));
            expectFits(d, " on day " + std::to_string(day + 1));
        }
    });
}

TEST_P(DialogText, PortDepthSettingsAndConfigurationDialogs) {
    frmtidewyn& main = open();
    look<frmconfig>(main.mnuPortList, [&](frmconfig& d) {
        d.txtSearch->TypeText("Kinlochbervie");
        expectFits(d);
    });
    look<frmChartdepth>(main.mnuchartdepth, [&](frmChartdepth& d) { expectFits(d); });
    look<frmoutoptions>(main.mnuoutputoptions, [&](frmoutoptions& d) { expectFits(d); });
    look<frmshowconf>(main.Mnushowconfig, [&](frmshowconf& d) { expectFits(d); });
}

INSTANTIATE_TEST_SUITE_P(Locales, DialogText, ::testing::Values("en_GB", "de_DE"),
                         [](const auto& p) { return std::string(p.param); });
