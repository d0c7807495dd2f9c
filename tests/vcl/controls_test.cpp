#include "vcl/stdctrls.h"

#include "simulator.h"

#include <memory>

#include <gtest/gtest.h>

using namespace vcl;

namespace {

class Controls : public ::testing::Test {
protected:
    sim::Simulator user;
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    std::vector<std::string> log;

    template <class T>
    T* Add(const std::string& name, TWinControl* parent = nullptr, int tabOrder = -1) {
        auto* control = new T(form.get());
        control->Name = name;
        control->SetParent(parent ? parent : form.get());
        if constexpr (std::is_base_of_v<TWinControl, T>) control->TabOrder = tabOrder;
        return control;
    }
    TNotifyEvent Note(const std::string& what) {
        return [this, what](TObject*) { log.push_back(what); };
    }
};

}  // namespace

TEST_F(Controls, ValuesSetFromCodeRaiseEventsOnlyWhenTheyChange) {
    auto* radio1 = Add<TRadioButton>("r1");
    auto* radio2 = Add<TRadioButton>("r2");
    auto* check = Add<TCheckBox>("check");
    auto* group = Add<TRadioGroup>("group");
    auto* edit = Add<TEdit>("edit");
    auto* bar = Add<TScrollBar>("bar");
    radio1->OnClick = Note("r1");
    radio2->OnClick = Note("r2");
    check->OnClick = Note("check");
    group->OnClick = Note("group");
    group->Items = {"NTSC", "PAL", "SECAM"};
    edit->OnChange = Note("edit");
    bar->OnChange = Note("bar");

    radio1->SetChecked(true);
    radio1->SetChecked(true);
    radio2->SetChecked(true);  // clears r1 without an event for it
    check->SetChecked(true);
    check->SetChecked(true);
    check->SetChecked(false);
    group->SetItemIndex(1);
    group->SetItemIndex(1);
    group->SetItemIndex(7);  // outside the items: none selected
    edit->SetText("a");
    edit->SetText("a");
    bar->SetPosition(10);
    bar->SetPosition(10);

    EXPECT_EQ(log, (std::vector<std::string>{"r1", "r2", "check", "check", "group", "group", "edit", "bar"}));
    EXPECT_FALSE(radio1->Checked());
    EXPECT_TRUE(radio2->Checked());
    EXPECT_EQ(group->ItemIndex(), -1);
}

TEST_F(Controls, AComboBoxRunsOnChangeOnlyForTheUsersPick) {
    auto* combo = Add<TComboBox>("combo");
    combo->Items = {"RGB [15bit]", "RGB [16bit]", "RGB [24bit]", "RGB [32bit]"};
    combo->OnChange = [&](TObject*) { log.push_back("change " + std::to_string(combo->ItemIndex())); };
    combo->SetItemIndex(2);
    combo->SetItemIndex(9);
    EXPECT_EQ(combo->ItemIndex(), -1);
    user.Pick(*combo, 3);
    EXPECT_EQ(log, (std::vector<std::string>{"change 3"}));
    EXPECT_EQ(combo->Text(), "RGB [32bit]");
    EXPECT_TRUE(combo->Focused());
}

TEST_F(Controls, AHandlerThatSetsItsOwnControlRunsNestedToAnyDepth) {
    auto* bar = Add<TScrollBar>("bar");
    bar->SetMax(255);
    // Keeps the position odd, as the viewport's X does.
    bar->OnChange = [&](TObject*) {
        if (bar->Position() % 2 == 0) bar->SetPosition(bar->Position() + 1);
        log.push_back(std::to_string(bar->Position()));
    };
    user.Drag(*bar, {100});
    EXPECT_EQ(log, (std::vector<std::string>{"101", "101"}));

    log.clear();
    auto* countdown = Add<TScrollBar>("countdown");
    int depth = 0, deepest = 0;
    countdown->OnChange = [&](TObject*) {
        deepest = std::max(deepest, ++depth);
        if (countdown->Position() > 0) countdown->SetPosition(countdown->Position() - 1);
        --depth;
    };
    countdown->SetPosition(60);
    EXPECT_EQ(countdown->Position(), 0);
    EXPECT_EQ(deepest, 61);
}

TEST_F(Controls, AScrollBarTakesAnyRangeInAnyOrder) {
    struct Step {
        char what;  // 'n' Min, 'x' Max, 'p' Position
        int value;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        int min, max, position;
        std::vector<int> changes;
    };
    const Case cases[] = {
        {"wholly above", {{'n', 200}, {'x', 300}, {'p', 250}}, 200, 300, 250, {200, 250}},
        {"wholly above, max first", {{'x', 300}, {'n', 200}, {'p', 250}}, 200, 300, 250, {200, 250}},
        {"wholly below", {{'n', -50}, {'x', -10}, {'p', -20}}, -50, -10, -20, {-10, -20}},
        {"negative minimum", {{'n', -128}, {'x', 127}, {'p', 0}}, -128, 127, 0, {}},
        {"minimum above maximum", {{'n', 50}, {'x', 40}, {'p', 45}}, 40, 40, 40, {50, 40}},
        {"position beyond the end", {{'p', 1000}, {'p', -1000}}, 0, 100, 0, {100, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TScrollBar bar(nullptr);
        std::vector<int> changes;
        bar.OnChange = [&](TObject*) { changes.push_back(bar.Position()); };
        for (const Step& s : c.steps) {
            if (s.what == 'n') bar.SetMin(s.value);
            if (s.what == 'x') bar.SetMax(s.value);
            if (s.what == 'p') bar.SetPosition(s.value);
        }
        EXPECT_EQ(bar.Min(), c.min);
        EXPECT_EQ(bar.Max(), c.max);
        EXPECT_EQ(bar.Position(), c.position);
        EXPECT_EQ(changes, c.changes);
    }
}

TEST_F(Controls, AClickMovesTheFocusFirstExitThenEnterThenClick) {
    auto* first = Add<TEdit>("first");
    auto* second = Add<TEdit>("second");
    first->OnExit = Note("first exit");
    second->OnEnter = Note("second enter");
    second->OnClick = Note("second click");
    user.Focus(*first);
    user.Click(*second);
    EXPECT_EQ(log, (std::vector<std::string>{"first exit", "second enter", "second click"}));
    EXPECT_TRUE(second->Focused());
}

TEST_F(Controls, AnExceptionIsShownAndEndsTheRestOfThatUserAction) {
    auto* edit = Add<TEdit>("edit");
    auto* button = Add<TButton>("button");
    edit->OnExit = [&](TObject*) {
        log.push_back("exit");
        StrToInt(edit->Text());
        log.push_back("converted");
    };
    button->OnClick = Note("click");
    user.Type(*edit, "abc");
    user.Click(*button);

    EXPECT_EQ(log, (std::vector<std::string>{"exit"}));
    EXPECT_TRUE(edit->Focused());  // the failed exit keeps the focus
    ASSERT_EQ(user.Boxes().size(), 1u);
    EXPECT_EQ(user.Boxes()[0].text, "'abc' is not a valid integer value");
    EXPECT_EQ(user.Boxes()[0].caption, Application->Title);

    user.Type(*edit, "12");
    user.Click(*button);
    EXPECT_EQ(log, (std::vector<std::string>{"exit", "exit", "converted", "click"}));
}

TEST_F(Controls, TabFollowsTabOrderAndSkipsWhatCannotTakeTheFocus) {
    auto* panel = Add<TPanel>("panel", nullptr, 0);
    Add<TEdit>("c", panel, 2);
    auto* a = Add<TEdit>("a", panel, 0);
    auto* off = Add<TEdit>("off", panel, 1);
    auto* hidden = Add<TButton>("hidden", nullptr, 1);
    auto* b = Add<TButton>("b", nullptr, 2);
    Add<TRadioButton>("radio", nullptr, 3);  // unchecked: no tab stop
    off->SetEnabled(false);
    hidden->SetVisible(false);

    std::vector<std::string> order;
    user.Focus(*a);
    for (int i = 0; i < 4; ++i) {
        order.push_back(form->ActiveControl()->Name);
        user.Key(*form, TKey::Tab);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"a", "c", "b", "a"}));
    user.Key(*form, TKey::ShiftTab);  // from c back to a, then round to b
    user.Key(*form, TKey::ShiftTab);
    EXPECT_EQ(form->ActiveControl(), b);
}

TEST_F(Controls, EnterPressesTheFocusedButtonOrTheDefaultEscTheCancel) {
    auto* edit = Add<TEdit>("edit");
    auto* freeze = Add<TButton>("freeze");
    auto* capture = Add<TButton>("capture");
    auto* other = Add<TButton>("other");
    freeze->Default = true;
    capture->Cancel = true;
    freeze->OnClick = Note("freeze");
    capture->OnClick = Note("capture");
    other->OnClick = Note("other");

    user.Focus(*edit);
    user.Key(*form, TKey::Enter);
    user.Key(*form, TKey::Escape);
    EXPECT_TRUE(edit->Focused());  // Esc leaves the focus where it is
    user.Focus(*other);
    user.Key(*form, TKey::Enter);
    user.Focus(*capture);
    user.Key(*form, TKey::Enter);
    EXPECT_EQ(log, (std::vector<std::string>{"freeze", "capture", "other", "capture"}));
}

TEST_F(Controls, OnlyTheActivePageIsShownAndItsControlsTakeTheFocus) {
    auto* pages = Add<TPageControl>("pages", nullptr, 0);
    auto* save = new TTabSheet(form.get());
    auto* input = new TTabSheet(form.get());
    save->SetPageControl(pages);
    input->SetPageControl(pages);
    auto* onSave = Add<TEdit>("onSave", save, 0);
    auto* onInput = Add<TEdit>("onInput", input, 0);

    EXPECT_EQ(pages->ActivePage(), save);
    EXPECT_TRUE(onSave->CanFocus());
    EXPECT_FALSE(onInput->CanFocus());
    user.Focus(*onInput);
    EXPECT_EQ(user.BoxTexts(), (std::vector<std::string>{"Cannot focus a disabled or invisible window"}));

    user.SelectPage(*pages, *input);
    EXPECT_FALSE(save->Visible());
    user.Focus(*onInput);
    EXPECT_TRUE(onInput->Focused());
}

TEST_F(Controls, ADestroyedPageLeavesItsPageControl) {
    auto* pages = Add<TPageControl>("pages");
    auto* save = new TTabSheet(form.get());
    auto* input = new TTabSheet(form.get());
    save->SetPageControl(pages);
    input->SetPageControl(pages);
    delete save;
    EXPECT_EQ(pages->Pages(), (std::vector<TTabSheet*>{input}));
    EXPECT_EQ(pages->ActivePage(), input);
    EXPECT_TRUE(input->Visible());
    delete input;
    EXPECT_EQ(pages->ActivePage(), nullptr);
}
