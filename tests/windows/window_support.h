#pragma once
// Fixture of the window tests: a fresh state, an empty profile in a temporary folder, the
// program folder with the shipped area files, scripted dialogs and a fixed clock.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>

#include "engine/dates.h"
#include "engine/environment.h"
#include "engine/recordfile.h"
#include "engine/settingsfile.h"
#include "engine/state.h"
#include "engine/test_support.h"
#include "mainwindow/frmcopyright.h"
#include "mainwindow/frmtidewyn.h"
#include "platform/app.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "platform/picturebox.h"
#include "platform/printer.h"

namespace testing_support {

// Grey dashes of a sun mark at time t in a picture's drawing.
inline int DashesAt(const std::vector<platform::DrawCommand>& list, double t) {
    return static_cast<int>(std::count_if(list.begin(), list.end(), [&](const platform::DrawCommand& c) {
        return c.kind == platform::DrawKind::Line && c.color == platform::kGrey &&
               std::abs(c.x1 - t) < 1e-9 && c.x1 == c.x2;
    }));
}

// The controls of a window whose text does not show whole: a line wider than the control, more
// lines than it is high, a wrapped text taller than the control, or a control that reaches past
// the window's edge. Each is named with its text.
inline std::vector<std::string> TextsCutOff(QWidget& window) {
    std::vector<std::string> cut;
    auto outside = [&](QWidget* c) {
        const QPoint rightEdge = c->mapTo(&window, QPoint(c->width(), 0));
        return rightEdge.x() > window.width();
    };
    for (QLabel* l : window.findChildren<QLabel*>()) {
        const QString text = l->text();
        if (text.isEmpty()) continue;
        const QRect r = l->contentsRect();
        const QFontMetrics fm(l->font());
        bool fits = !outside(l);
        if (l->wordWrap()) {
            fits = fits && l->heightForWidth(r.width()) <= r.height();
            for (const QString& word : text.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts))
                fits = fits && fm.horizontalAdvance(word) <= r.width();
        } else {
            const QStringList lines = text.split('\n');
            fits = fits && (lines.size() - 1) * fm.lineSpacing() + fm.height() <= r.height();
            for (const QString& line : lines) fits = fits && fm.horizontalAdvance(line) <= r.width();
        }
        if (!fits) cut.push_back("label \"" + text.toStdString() + "\"");
    }
    // A list's lines beside its scroll bar.
    for (QListWidget* list : window.findChildren<QListWidget*>()) {
        const int room = list->width() - 2 * list->frameWidth() -
                         list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list) - 6;
        for (int i = 0; i < list->count(); ++i)
            if (list->fontMetrics().horizontalAdvance(list->item(i)->text()) > room || outside(list))
                cut.push_back("list line \"" + list->item(i)->text().toStdString() + "\"");
    }
    // Check boxes and options need their box and text; a push button its text and frame (its
    // size hint asks for more, the style's smallest width of a button).
    for (QAbstractButton* b : window.findChildren<QAbstractButton*>()) {
        const int needed = qobject_cast<QPushButton*>(b)
                               ? b->fontMetrics().horizontalAdvance(QString(b->text()).remove('&')) + 8
                               : b->sizeHint().width();
        if (needed > b->width() || outside(b)) cut.push_back("button \"" + b->text().toStdString() + "\"");
    }
    return cut;
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine::ResetState();
        engine::ResetEnvironment();
        platform::ResetProgramEnding();
        platform::UseLocale("en_GB");
        auto& env = engine::Env();
        env.documentsFolder = home.file("Documents");
        env.localAppDataFolder = home.file(".local/share");
        env.programFolder = programFolder();
        env.now = [this] { return now; };
        dialogs = std::make_unique<platform::ScriptedDialogs>();
    }
    void TearDown() override {
        platform::SetModalRunner({});
        engine::SetWriteFault({});
        engine::SetReadFault({});
        platform::SetPrintBackend(nullptr);
        platform::SetChosenPrinter("");
        platform::DestroyAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        dialogs.reset();
        platform::ResetProgramEnding();
        engine::ResetState();
        engine::ResetEnvironment();
    }
    static std::string programFolder() {
        const char* dir = std::getenv("TIDEWYN_PROGRAM_DIR");
        return dir ? dir : ".";
    }
    // Starts the program as the user does: "Accept" in the conditions window.
    frmtidewyn& open() {
        platform::Get<frmCopyright>().ConditionsOK->click();
        return platform::Get<frmtidewyn>();
    }
    // Ends the run's windows and state, as closing the program does; open() starts it again.
    void restart() {
        platform::DestroyAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        engine::ResetState();
    }
    // A settings file of the test's own, the defaults changed by `change`, before the program
    // starts.
    void storeSettings(const std::function<void(engine::SettingsRecord&)>& change) {
        engine::State().AppDataFolder = home.file(".local/share");
        std::filesystem::create_directories(home.file(".local/share/TidewynTides"));
        engine::SettingsRecord r = engine::DefaultSettingsRecord();
        change(r);
        ASSERT_TRUE(engine::WriteSettingsFile(r).ok());
    }
    // Clicks a menu entry that shows dialog T modal; `user` acts on it and must close it.
    template <typename T>
    void withModal(platform::MenuItem& menu, const std::function<void(T&)>& user) {
        bool ran = false;
        platform::SetModalRunner([&](platform::Form& f) {
            ran = true;
            user(dynamic_cast<T&>(f));
        });
        menu.Click();
        platform::SetModalRunner({});
        EXPECT_TRUE(ran);
        EXPECT_FALSE(platform::IsLoaded<T>());
    }
    std::string settingsPath() const { return home.file(".local/share/TidewynTides/TdwTidesv9.cfg"); }
    std::string depthPath(const std::string& name = "UK.DEP") const {
        return home.file("Documents/TidewynTides/UserDepths/" + name);
    }

    TempDir home;
    double now = engine::DateSerial(2024, 3, 5) + engine::TimeSerial(13, 47, 0);
    std::unique_ptr<platform::ScriptedDialogs> dialogs;
};

}  // namespace testing_support
