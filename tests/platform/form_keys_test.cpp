// Esc and Enter on a window: which of its buttons each key presses, from which control.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/app.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/forms.h"

using namespace platform;

namespace {
// A dialog with the usual buttons: "OK" the default, "Cancel", and a search box whose Enter is
// its "Search" button.
class KeyForm : public Form {
public:
    KeyForm() : Form("Keys") {
        QWidget* c = Client();
        list = new ListBox(c);
        list->AddItem("Dover");
        box = new TextBox(c);
        check = new CheckBox(c, "Check");
        ok = button("OK");
        cancel = button("Cancel");
        search = button("Search");
        SetCancelButton(cancel);
        SetDefaultButton(ok);
        SetEnterButton(box, search);
    }
    CommandButton* button(const std::string& caption) {
        auto* b = new CommandButton(Client(), caption);
        connect(b, &QPushButton::clicked, this, Handler([this, caption] {
                    pressed.push_back(caption);
                    if (failing) throw std::runtime_error("no port");
                }));
        return b;
    }
    ListBox* list;
    TextBox* box;
    CheckBox* check;
    CommandButton *ok, *cancel, *search;
    std::vector<std::string> pressed;
    bool failing = false;
};

class BareForm : public Form {
public:
    BareForm() : Form("Bare") { list = new ListBox(Client()); }
    ListBox* list;
};
}  // namespace

class FormKeys : public ::testing::Test {
protected:
    void TearDown() override { DestroyAllForms(); }
};

TEST_F(FormKeys, EscCancelsAndEnterPressesTheButtonOfTheFocusedControl) {
    struct Case {
        const char* where;
        QWidget* (*target)(KeyForm&);
        int key;
        Qt::KeyboardModifiers modifiers;
        const char* pressed;  // "" for none
    } cases[] = {
        {"list", [](KeyForm& f) -> QWidget* { return f.list; }, Qt::Key_Escape, Qt::NoModifier, "Cancel"},
        {"list", [](KeyForm& f) -> QWidget* { return f.list; }, Qt::Key_Return, Qt::NoModifier, "OK"},
        {"list", [](KeyForm& f) -> QWidget* { return f.list; }, Qt::Key_Enter, Qt::KeypadModifier, "OK"},
        {"check box", [](KeyForm& f) -> QWidget* { return f.check; }, Qt::Key_Return, Qt::NoModifier, "OK"},
        {"search box", [](KeyForm& f) -> QWidget* { return f.box; }, Qt::Key_Return, Qt::NoModifier,
         "Search"},
        {"search box", [](KeyForm& f) -> QWidget* { return f.box; }, Qt::Key_Enter, Qt::KeypadModifier,
         "Search"},
        {"search box", [](KeyForm& f) -> QWidget* { return f.box; }, Qt::Key_Escape, Qt::NoModifier,
         "Cancel"},
        {"focused Cancel", [](KeyForm& f) -> QWidget* { return f.cancel; }, Qt::Key_Return, Qt::NoModifier,
         "Cancel"},
        {"focused Search", [](KeyForm& f) -> QWidget* { return f.search; }, Qt::Key_Escape, Qt::NoModifier,
         "Cancel"},
        {"list", [](KeyForm& f) -> QWidget* { return f.list; }, Qt::Key_Return, Qt::ShiftModifier, ""},
        {"list", [](KeyForm& f) -> QWidget* { return f.list; }, Qt::Key_Escape, Qt::ControlModifier, ""},
    };
    for (const Case& c : cases) {
        KeyForm& f = Get<KeyForm>();
        f.Show();
        f.pressed.clear();
        PressKey(*c.target(f), c.key, c.modifiers);
        const std::vector<std::string> expected =
            *c.pressed ? std::vector<std::string>{c.pressed} : std::vector<std::string>{};
        EXPECT_EQ(f.pressed, expected) << c.where << " key " << c.key << " modifiers " << c.modifiers;
        DestroyAllForms();
    }
}

TEST_F(FormKeys, KeyOnTheWindowGoesToItsFocusedControl) {
    KeyForm& f = Get<KeyForm>();
    f.Show();
    f.box->setFocus();
    PressKey(f, Qt::Key_Return);
    PressKey(f, Qt::Key_D);
    EXPECT_EQ(f.pressed, std::vector<std::string>{"Search"});
    EXPECT_EQ(f.box->Text(), "d");
}

// A hidden or disabled button is not pressed; a window without buttons takes neither key.
TEST_F(FormKeys, KeysPressOnlyButtonsTheUserCouldClick) {
    KeyForm& f = Get<KeyForm>();
    f.Show();
    f.cancel->setVisible(false);
    f.ok->setEnabled(false);
    PressKey(*f.list, Qt::Key_Escape);
    PressKey(*f.list, Qt::Key_Return);
    EXPECT_TRUE(f.pressed.empty());

    BareForm& bare = Get<BareForm>();
    bare.Show();
    PressKey(*bare.list, Qt::Key_Escape);
    PressKey(*bare.list, Qt::Key_Return);
    EXPECT_TRUE(IsLoaded<BareForm>());
    EXPECT_TRUE(bare.isVisible());
}

// The handler runs as a click's does: what it throws is told, and the key's road ends there.
TEST_F(FormKeys, HandlersRunAsForAClick) {
    ScriptedDialogs dialogs;
    KeyForm& f = Get<KeyForm>();
    f.Show();
    f.failing = true;
    PressKey(*f.list, Qt::Key_Return);
    EXPECT_EQ(f.pressed, std::vector<std::string>{"OK"});
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].prompt.find("no port"), std::string::npos);
}
