#include "vcl/stdctrls.h"

#include "vcl/backend.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace vcl {

void TButton::Click() {
    if (TForm* form = ParentForm(); form && ModalResult != mrNone) form->ModalResult = ModalResult;
    TControl::Click();
}

void TRadioButton::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    TabStop = checked;
    Changed(TChange::State);
    if (!checked) return;
    if (Parent())
        for (TControl* sibling : Parent()->Controls())
            if (auto* radio = dynamic_cast<TRadioButton*>(sibling); radio && radio != this && radio->checked_) {
                radio->checked_ = false;
                radio->TabStop = false;
                radio->Changed(TChange::State);
            }
    TControl::Click();
}

void TCheckBox::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    Changed(TChange::State);
    TControl::Click();
}

namespace {
int ValidIndex(int index, std::size_t count) {
    return index >= 0 && static_cast<std::size_t>(index) < count ? index : -1;
}
}  // namespace

void TRadioGroup::SetItemIndex(int index) {
    index = ValidIndex(index, Items.size());
    if (index == itemIndex_) return;
    itemIndex_ = index;
    Changed(TChange::State);
    TControl::Click();
}

void TComboBox::SetItemIndex(int index) {
    index = ValidIndex(index, Items.size());
    if (index == itemIndex_) return;
    itemIndex_ = index;
    Changed(TChange::State);
}

void TComboBox::Pick(int index) {
    if (ValidIndex(index, Items.size()) < 0) return;
    SetItemIndex(index);
    if (OnChange) OnChange(this);
}

AnsiString TComboBox::Text() const { return itemIndex_ < 0 ? AnsiString() : Items[static_cast<std::size_t>(itemIndex_)]; }

void TEdit::SetText(const AnsiString& text) {
    if (text == Text()) return;
    SetCaption(text);
    if (OnChange) OnChange(this);
}

void TScrollBar::SetMin(int value) {
    min_ = value;
    max_ = std::max(max_, value);
    Changed(TChange::State);
    Settle(position_);
}

void TScrollBar::SetMax(int value) {
    max_ = value;
    min_ = std::min(min_, value);
    Changed(TChange::State);
    Settle(position_);
}

void TScrollBar::SetPosition(int value) { Settle(value); }

void TScrollBar::Settle(int position) {
    position = std::clamp(position, min_, max_);
    if (position == position_) return;
    position_ = position;
    Changed(TChange::State);
    if (OnChange) OnChange(this);
}

TTabSheet::~TTabSheet() {
    if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* pageControl) {
    if (pageControl == pageControl_) return;
    if (pageControl_) pageControl_->RemovePage(this);
    SetParent(pageControl);
    pageControl_ = pageControl;
    if (pageControl) pageControl->AddPage(this);
}

void TPageControl::AddPage(TTabSheet* page) {
    pages_.push_back(page);
    if (!active_)
        SetActivePage(page);
    else
        page->SetVisible(false);
}

void TPageControl::RemovePage(TTabSheet* page) {
    std::erase(pages_, page);
    if (active_ != page) return;
    active_ = nullptr;
    if (!pages_.empty()) SetActivePage(pages_.front());
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page == active_ || std::find(pages_.begin(), pages_.end(), page) == pages_.end()) return;
    active_ = page;
    for (TTabSheet* each : pages_) each->SetVisible(each == page);
    Changed(TChange::State);
}

namespace {

bool IsFolder(const AnsiString& path) {
    struct stat info{};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

AnsiString WithoutTrailingSlash(AnsiString path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

AnsiString CurrentDirectory() {
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) ? AnsiString(buffer) : AnsiString("/");
}

// Mount points of block devices, and the root.
std::vector<AnsiString> MountPoints() {
    std::vector<AnsiString> points{"/"};
    std::ifstream mounts("/proc/self/mounts");
    AnsiString line;
    while (std::getline(mounts, line)) {
        std::istringstream fields(line);
        AnsiString device, point;
        fields >> device >> point;
        if (device.rfind("/dev/", 0) == 0 && IsFolder(point)) points.push_back(point);
    }
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    return points;
}

}  // namespace

TDriveComboBox::TDriveComboBox(TComponent* AOwner) : TWinControl(AOwner), Items(MountPoints()) {
    TabStop = true;
    // The drive of the current directory: the longest mount point above it.
    AnsiString here = CurrentDirectory() + "/";
    std::size_t best = 0;
    for (std::size_t i = 0; i < Items.size(); ++i) {
        AnsiString point = Items[i] == "/" ? "/" : Items[i] + "/";
        if (here.rfind(point, 0) == 0 && point.size() >= Items[best].size()) best = i;
    }
    itemIndex_ = static_cast<int>(best);
}

void TDriveComboBox::Pick(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= Items.size()) return;
    itemIndex_ = index;
    Changed(TChange::State);
    if (DirList) DirList->SetDirectory(Items[static_cast<std::size_t>(index)]);
}

TDirectoryListBox::TDirectoryListBox(TComponent* AOwner) : TWinControl(AOwner) {
    TabStop = true;
    SetDirectory(CurrentDirectory());
}

void TDirectoryListBox::SetDirectory(const AnsiString& directory) {
    AnsiString path = WithoutTrailingSlash(directory);
    if (path == directory_ || !IsFolder(path)) return;
    directory_ = path;
    Fill();
    Changed(TChange::Items);
}

void TDirectoryListBox::Fill() {
    items_.clear();
    for (std::size_t slash = directory_.find('/', 1); slash != AnsiString::npos; slash = directory_.find('/', slash + 1))
        items_.push_back(directory_.substr(0, slash));
    items_.insert(items_.begin(), "/");
    if (directory_ != "/") items_.push_back(directory_);
    std::vector<AnsiString> subfolders;
    if (DIR* dir = opendir(directory_.c_str())) {
        while (dirent* entry = readdir(dir)) {
            AnsiString name = entry->d_name;
            AnsiString path = (directory_ == "/" ? "/" : directory_ + "/") + name;
            if (name[0] != '.' && IsFolder(path)) subfolders.push_back(path);
        }
        closedir(dir);
    }
    std::sort(subfolders.begin(), subfolders.end());
    items_.insert(items_.end(), subfolders.begin(), subfolders.end());
    ItemIndex = -1;
}

void TDirectoryListBox::OpenItem(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= items_.size()) return;
    SetDirectory(items_[static_cast<std::size_t>(index)]);
}

}  // namespace vcl
