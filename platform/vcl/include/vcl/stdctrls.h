// The standard controls.
#pragma once

#include "vcl/forms.h"

#include <string>
#include <vector>

namespace vcl {

class TLabel : public TControl {
public:
    using TControl::TControl;
};

enum class TBevelCut { bvNone, bvRaised, bvLowered };
using enum TBevelCut;
enum class TAlign { alNone, alTop, alBottom, alClient };
using enum TAlign;

class TPanel : public TWinControl {
public:
    using TWinControl::TWinControl;
    TBevelCut BevelOuter = bvRaised;
    int BorderWidth = 0;
    TAlign Align = alNone;
};

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* AOwner) : TWinControl(AOwner) { TabStop = true; }
    bool Default = false;  // Enter presses it unless another button has the focus
    bool Cancel = false;   // Esc presses it
    TModalResult ModalResult = mrNone;
    // Sets the form's modal result, then runs OnClick.
    void Click() override;
    bool IsFocusable() const override { return true; }
};

// A button that can carry a glyph; it behaves as a button.
class TBitBtn : public TButton {
public:
    using TButton::TButton;
};

// Checking a radio button clears the others of the same parent.
class TRadioButton : public TWinControl {
public:
    using TWinControl::TWinControl;
    bool Checked() const { return checked_; }
    // Checking runs OnClick when the button was not checked before.
    void SetChecked(bool checked);
    // A user's click checks the button.
    void Click() override { SetChecked(true); }
    bool IsFocusable() const override { return true; }

private:
    bool checked_ = false;
};

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* AOwner) : TWinControl(AOwner) { TabStop = true; }
    bool Checked() const { return checked_; }
    // Runs OnClick when the state changes.
    void SetChecked(bool checked);
    // A user's click toggles the box.
    void Click() override { SetChecked(!checked_); }
    bool IsFocusable() const override { return true; }

private:
    bool checked_ = false;
};

// A caption-less group of radio buttons, one per item.
class TRadioGroup : public TWinControl {
public:
    explicit TRadioGroup(TComponent* AOwner) : TWinControl(AOwner) { TabStop = true; }
    std::vector<AnsiString> Items;
    int ItemIndex() const { return itemIndex_; }
    // Runs OnClick when the index changes; an index outside the items selects none.
    void SetItemIndex(int index);
    bool IsFocusable() const override { return true; }

private:
    int itemIndex_ = -1;
};

// A pick-only drop-down list.
class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* AOwner) : TWinControl(AOwner) { TabStop = true; }
    std::vector<AnsiString> Items;
    int ItemIndex() const { return itemIndex_; }
    // From code: raises nothing; an index outside the items selects none.
    void SetItemIndex(int index);
    // The user's pick: selects and runs OnChange.
    void Pick(int index);
    TNotifyEvent OnChange;
    AnsiString Text() const;
    bool IsFocusable() const override { return true; }

private:
    int itemIndex_ = -1;
};

class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* AOwner) : TWinControl(AOwner) { TabStop = true; }
    const AnsiString& Text() const { return Caption(); }
    // Runs OnChange when the text changes.
    void SetText(const AnsiString& text);
    TNotifyEvent OnChange;
    bool IsFocusable() const override { return true; }
};

// A horizontal scroll bar. Its position always lies in Min..Max; a new Min
// above Max takes Max along, a new Max below Min takes Min along, so any range
// can be set in any order.
class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(TComponent* AOwner) : TWinControl(AOwner) { TabStop = true; }
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    // Each runs OnChange when the position moves.
    void SetMin(int value);
    void SetMax(int value);
    void SetPosition(int value);
    int SmallChange = 1;
    int LargeChange = 1;
    int PageSize = 0;
    TNotifyEvent OnChange;
    bool IsFocusable() const override { return true; }

private:
    void Settle(int position);
    int min_ = 0, max_ = 100, position_ = 0;
};

class TPageControl;

class TTabSheet : public TWinControl {
public:
    using TWinControl::TWinControl;
    ~TTabSheet() override;
    TPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* pageControl);

private:
    TPageControl* pageControl_ = nullptr;
};

// Pages with tabs; only the active page is visible.
class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* AOwner) : TWinControl(AOwner) { TabStop = true; }
    const std::vector<TTabSheet*>& Pages() const { return pages_; }
    TTabSheet* ActivePage() const { return active_; }
    void SetActivePage(TTabSheet* page);
    bool MultiLine = false;
    bool IsFocusable() const override { return true; }

private:
    friend class TTabSheet;
    void AddPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    std::vector<TTabSheet*> pages_;
    TTabSheet* active_ = nullptr;
};

class TDirectoryListBox;

// The drives of the machine: on Linux, its mount points.
class TDriveComboBox : public TWinControl {
public:
    explicit TDriveComboBox(TComponent* AOwner);
    std::vector<AnsiString> Items;
    int ItemIndex() const { return itemIndex_; }
    // The user's pick: shows that drive's folders in the linked list.
    void Pick(int index);
    TDirectoryListBox* DirList = nullptr;
    bool IsFocusable() const override { return true; }

private:
    int itemIndex_ = -1;
};

// The folders around the current directory: its parents, itself and its
// subfolders. A double click on an entry opens it.
class TDirectoryListBox : public TWinControl {
public:
    explicit TDirectoryListBox(TComponent* AOwner);
    const AnsiString& Directory() const { return directory_; }
    void SetDirectory(const AnsiString& directory);
    int ItemHeight = 16;
    // The entries as shown: full paths of the parents, the directory, its subfolders.
    const std::vector<AnsiString>& Items() const { return items_; }
    int ItemIndex = -1;  // the highlighted entry; highlighting opens nothing
    // A double click on entry `index`: opens that folder.
    void OpenItem(int index);
    bool IsFocusable() const override { return true; }

private:
    void Fill();
    AnsiString directory_;
    std::vector<AnsiString> items_;
};

}  // namespace vcl
