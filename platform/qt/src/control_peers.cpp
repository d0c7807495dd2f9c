#include "control_peers.h"

#include "screen_backend.h"
#include "vcl/input.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

namespace vcl::qt {

namespace {

// A peer that knows the kinds of its control and of its widget.
template <class Model, class View>
class KindPeer : public Peer {
public:
    KindPeer(ScreenBackend& screen, Model& model, View* view) : Peer(screen, model, view), view_(view) {}

protected:
    // Only while the control is there: Act and Mirror check that first.
    Model& model() const { return static_cast<Model&>(*Control()); }
    View* view() const { return view_; }

private:
    View* view_;
};

// The check state belongs to the model: Qt does not change it on a click.
// The whole control takes the click, not only its box and text.
class ModelCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override {}
    bool hitButton(const QPoint& at) const override { return rect().contains(at); }
};

class ModelRadioButton : public QRadioButton {
public:
    explicit ModelRadioButton(QWidget* parent) : QRadioButton(parent) { setAutoExclusive(false); }

protected:
    void nextCheckState() override {}
    bool hitButton(const QPoint& at) const override { return rect().contains(at); }
};

class PlainPeer : public Peer {
public:
    PlainPeer(ScreenBackend& screen, TControl& control, QWidget* parent) : Peer(screen, control, new QWidget(parent)) {}
    bool ClicksOnRelease() const override { return true; }
};

class LabelPeer : public KindPeer<TLabel, QLabel> {
public:
    LabelPeer(ScreenBackend& screen, TLabel& label, QWidget* parent) : KindPeer(screen, label, new QLabel(parent)) {
        view()->setTextFormat(Qt::PlainText);
        view()->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    bool ClicksOnRelease() const override { return true; }

protected:
    void MirrorGeometry() override {
        Peer::MirrorGeometry();
        FitText();
    }
    void MirrorFont() override {
        Peer::MirrorFont();
        FitText();
    }
    void MirrorContent() override {
        view()->setText(ToQString(model().Caption()));
        FitText();
    }

private:
    // A label grows to show its whole caption, as the framework's labels
    // size themselves; it never shrinks below its designed width.
    void FitText() {
        int needed = QFontMetrics(view()->font()).horizontalAdvance(view()->text()) + 1;
        if (needed > model().Width()) view()->resize(needed, view()->height());
        view()->raise();
    }
};

class PanelFrame : public QFrame {
public:
    using QFrame::QFrame;
    QString caption;

protected:
    void paintEvent(QPaintEvent* event) override {
        QFrame::paintEvent(event);
        if (caption.isEmpty()) return;
        QPainter painter(this);
        painter.drawText(contentsRect(), Qt::AlignCenter, caption);
    }
};

class PanelPeer : public KindPeer<TPanel, PanelFrame> {
public:
    PanelPeer(ScreenBackend& screen, TPanel& panel, QWidget* parent) : KindPeer(screen, panel, new PanelFrame(parent)) {}
    bool ClicksOnRelease() const override { return true; }

protected:
    void MirrorContent() override {
        switch (model().BevelOuter) {
            case bvNone:
                view()->setFrameStyle(QFrame::NoFrame);
                break;
            case bvRaised:
                view()->setFrameStyle(QFrame::Panel | QFrame::Raised);
                break;
            case bvLowered:
                view()->setFrameStyle(QFrame::Panel | QFrame::Sunken);
                break;
        }
        view()->caption = ToQString(model().Caption());
        view()->update();
    }
};

class ButtonPeer : public KindPeer<TButton, QPushButton> {
public:
    ButtonPeer(ScreenBackend& screen, TButton& button, QWidget* parent)
        : KindPeer(screen, button, new QPushButton(parent)) {
        // Enter and Esc follow the form's key rules, not Qt's.
        view()->setAutoDefault(false);
        connect(view(), &QPushButton::clicked, this, [this] { Act([this] { input::Click(model()); }); });
    }

protected:
    void MirrorContent() override {
        view()->setText(ToQString(model().Caption()));
        view()->setDefault(model().Default);
    }
};

class CheckBoxPeer : public KindPeer<TCheckBox, ModelCheckBox> {
public:
    CheckBoxPeer(ScreenBackend& screen, TCheckBox& box, QWidget* parent)
        : KindPeer(screen, box, new ModelCheckBox(parent)) {
        connect(view(), &QCheckBox::clicked, this, [this] { Act([this] { input::Click(model()); }); });
    }

protected:
    void MirrorContent() override {
        view()->setText(ToQString(model().Caption()));
        view()->setChecked(model().Checked());
    }
};

class RadioButtonPeer : public KindPeer<TRadioButton, ModelRadioButton> {
public:
    RadioButtonPeer(ScreenBackend& screen, TRadioButton& button, QWidget* parent)
        : KindPeer(screen, button, new ModelRadioButton(parent)) {
        connect(view(), &QRadioButton::clicked, this, [this] { Act([this] { input::Click(model()); }); });
    }

protected:
    void MirrorContent() override {
        view()->setText(ToQString(model().Caption()));
        view()->setChecked(model().Checked());
    }
};

// A group box with one radio button per item, arranged in one column below
// the room of a caption, as the framework's radio group is.
class RadioGroupPeer : public KindPeer<TRadioGroup, QGroupBox> {
public:
    RadioGroupPeer(ScreenBackend& screen, TRadioGroup& group, QWidget* parent)
        : KindPeer(screen, group, new QGroupBox(parent)) {}

    QWidget* FocusTarget() const override {
        int index = Control() ? model().ItemIndex() : -1;
        if (index < 0 || index >= static_cast<int>(buttons_.size())) return view();
        return buttons_[static_cast<std::size_t>(index)];
    }

protected:
    void MirrorGeometry() override {
        Peer::MirrorGeometry();
        Arrange();
    }
    void MirrorFont() override {
        Peer::MirrorFont();
        Arrange();
    }
    void MirrorContent() override {
        view()->setTitle(ToQString(model().Caption()));
        if (model().Items != items_) Rebuild();
        for (std::size_t i = 0; i < buttons_.size(); ++i)
            buttons_[i]->setChecked(static_cast<int>(i) == model().ItemIndex());
    }

private:
    void Rebuild() {
        for (ModelRadioButton* button : buttons_) delete button;
        buttons_.clear();
        items_ = model().Items;
        for (std::size_t i = 0; i < items_.size(); ++i) {
            auto* button = new ModelRadioButton(view());
            button->setText(ToQString(items_[i]));
            button->setFocusPolicy(Qt::NoFocus);
            int index = static_cast<int>(i);
            connect(button, &QRadioButton::clicked, this,
                    [this, index] { Act([this, index] { input::Pick(model(), index); }); });
            button->show();
            buttons_.push_back(button);
        }
        Arrange();
    }

    void Arrange() {
        if (buttons_.empty()) return;
        int textHeight = QFontMetrics(view()->font()).height();
        int count = static_cast<int>(buttons_.size());
        int room = std::max(view()->height() - textHeight - 5, count);
        int each = room / count;
        int top = textHeight + 1 + (room % count) / 2;
        for (int i = 0; i < count; ++i)
            buttons_[static_cast<std::size_t>(i)]->setGeometry(8, top + i * each, std::max(view()->width() - 10, 1), each);
    }

    std::vector<AnsiString> items_;
    std::vector<ModelRadioButton*> buttons_;
};

// A pick-only list: the combo box and the drive combo box.
template <class Model>
class ComboPeer : public KindPeer<Model, QComboBox> {
public:
    ComboPeer(ScreenBackend& screen, Model& combo, QWidget* parent) : KindPeer<Model, QComboBox>(screen, combo, new QComboBox(parent)) {
        this->view()->setEditable(false);
        QObject::connect(this->view(), &QComboBox::activated, this,
                         [this](int index) { this->Act([this, index] { input::Pick(this->model(), index); }); });
    }

protected:
    void MirrorContent() override {
        if (this->model().Items != items_) {
            items_ = this->model().Items;
            this->view()->clear();
            for (const AnsiString& item : items_) this->view()->addItem(ToQString(item));
        }
        this->view()->setCurrentIndex(this->model().ItemIndex());
    }

private:
    std::vector<AnsiString> items_;
};

class EditPeer : public KindPeer<TEdit, QLineEdit> {
public:
    EditPeer(ScreenBackend& screen, TEdit& edit, QWidget* parent) : KindPeer(screen, edit, new QLineEdit(parent)) {
        // The designed edits are narrow: a three-digit number fills one.
        view()->setTextMargins(-1, 0, -1, 0);
        connect(view(), &QLineEdit::textEdited, this,
                [this](const QString& text) { Act([this, text] { input::Type(model(), ToAnsi(text)); }); });
    }
    bool ClicksOnRelease() const override { return true; }

protected:
    void MirrorContent() override {
        // Rewriting the same text would only move the cursor to the end.
        QString text = ToQString(model().Text());
        if (view()->text() != text) view()->setText(text);
    }
};

class ScrollBarPeer : public KindPeer<TScrollBar, QScrollBar> {
public:
    ScrollBarPeer(ScreenBackend& screen, TScrollBar& bar, QWidget* parent)
        : KindPeer(screen, bar, new QScrollBar(Qt::Horizontal, parent)) {
        // Every position the user passes through, by arrow, page or thumb, is one step.
        connect(view(), &QScrollBar::valueChanged, this,
                [this](int position) { Act([this, position] { input::Scroll(model(), position); }); });
    }

protected:
    void MirrorContent() override {
        view()->setRange(model().Min(), model().Max());
        view()->setSingleStep(model().SmallChange);
        view()->setPageStep(model().LargeChange);
        view()->setValue(model().Position());
    }
};

class PageControlPeer : public KindPeer<TPageControl, QTabWidget> {
public:
    PageControlPeer(ScreenBackend& screen, TPageControl& pages, QWidget* parent)
        : KindPeer(screen, pages, new QTabWidget(parent)) {
        // Tabs as low as the designed pages expect, so the pages keep their room.
        view()->tabBar()->setStyleSheet("QTabBar::tab { padding: 2px 8px; }");
        connect(view(), &QTabWidget::currentChanged, this, [this](int index) {
            Act([this, index] {
                const auto& pages = model().Pages();
                if (index >= 0 && index < static_cast<int>(pages.size()))
                    input::SelectPage(model(), *pages[static_cast<std::size_t>(index)]);
            });
        });
    }

    void AddChild(Peer& child) override {
        if (dynamic_cast<TTabSheet*>(child.Control()))
            ShowPages();
        else
            Peer::AddChild(child);
    }

protected:
    void MirrorContent() override { ShowPages(); }

private:
    // One tab per page, in the pages' order, the active one in front.
    void ShowPages() {
        QSignalBlocker block(view());
        const auto& pages = model().Pages();
        int shown = 0;
        int active = -1;
        for (TTabSheet* page : pages) {
            Peer* peer = Screen().EnsurePeer(*page);
            if (!peer) continue;
            QString caption = ToQString(page->Caption());
            int at = view()->indexOf(peer->Widget());
            if (at != shown) {
                if (at >= 0) view()->removeTab(at);
                view()->insertTab(shown, peer->Widget(), caption);
            } else {
                view()->setTabText(shown, caption);
            }
            if (page == model().ActivePage()) active = shown;
            ++shown;
        }
        while (view()->count() > shown) view()->removeTab(shown);
        if (active >= 0) view()->setCurrentIndex(active);
    }
};

// The page control shows and places its pages.
class TabSheetPeer : public KindPeer<TTabSheet, QWidget> {
public:
    TabSheetPeer(ScreenBackend& screen, TTabSheet& page, QWidget* parent) : KindPeer(screen, page, new QWidget(parent)) {}
    bool ClicksOnRelease() const override { return true; }

protected:
    void MirrorGeometry() override {}
    void MirrorVisibility() override {}
    void MirrorContent() override {
        if (TPageControl* pages = model().PageControl())
            if (Peer* peer = Screen().PeerOf(*pages)) peer->Mirror(TChange::Text);
    }
};

// The folders as an indented list: open folders down to the current one,
// then its subfolders.
class DirectoryListPeer : public KindPeer<TDirectoryListBox, QListWidget> {
public:
    DirectoryListPeer(ScreenBackend& screen, TDirectoryListBox& list, QWidget* parent)
        : KindPeer(screen, list, new QListWidget(parent)) {
        view()->setUniformItemSizes(true);
        connect(view(), &QListWidget::doubleClicked, this, [this](const QModelIndex& index) {
            int row = index.row();
            Act([this, row] { input::OpenFolder(model(), row); });
        });
        // Highlighting is the list's own state; it opens nothing.
        connect(view(), &QListWidget::currentRowChanged, this, [this](int row) {
            if (Control() && !Screen().Quiet()) model().ItemIndex = row;
        });
    }

protected:
    void MirrorContent() override {
        if (model().Items() != items_ || model().Directory() != directory_) Refill();
        view()->setCurrentRow(model().ItemIndex);
    }

private:
    static int Depth(const AnsiString& path) {
        return path == "/" ? 0 : static_cast<int>(std::count(path.begin(), path.end(), '/'));
    }

    bool IsOpen(const AnsiString& path) const {
        return directory_ == path || directory_.rfind(path == "/" ? path : path + "/", 0) == 0;
    }

    void Refill() {
        items_ = model().Items();
        directory_ = model().Directory();
        view()->clear();
        QIcon open = view()->style()->standardIcon(QStyle::SP_DirOpenIcon);
        QIcon closed = view()->style()->standardIcon(QStyle::SP_DirClosedIcon);
        for (const AnsiString& path : items_) {
            AnsiString name = path == "/" ? path : path.substr(path.rfind('/') + 1);
            QString indent(2 * Depth(path), QChar(' '));
            view()->addItem(new QListWidgetItem(IsOpen(path) ? open : closed, indent + ToQString(name)));
        }
    }

    std::vector<AnsiString> items_;
    AnsiString directory_;
};

}  // namespace

Peer* MakeControlPeer(ScreenBackend& screen, TControl& control, QWidget* parent) {
    if (auto* page = dynamic_cast<TTabSheet*>(&control)) return new TabSheetPeer(screen, *page, parent);
    if (auto* pages = dynamic_cast<TPageControl*>(&control)) return new PageControlPeer(screen, *pages, parent);
    if (auto* panel = dynamic_cast<TPanel*>(&control)) return new PanelPeer(screen, *panel, parent);
    if (auto* label = dynamic_cast<TLabel*>(&control)) return new LabelPeer(screen, *label, parent);
    if (auto* button = dynamic_cast<TButton*>(&control)) return new ButtonPeer(screen, *button, parent);
    if (auto* box = dynamic_cast<TCheckBox*>(&control)) return new CheckBoxPeer(screen, *box, parent);
    if (auto* radio = dynamic_cast<TRadioButton*>(&control)) return new RadioButtonPeer(screen, *radio, parent);
    if (auto* group = dynamic_cast<TRadioGroup*>(&control)) return new RadioGroupPeer(screen, *group, parent);
    if (auto* combo = dynamic_cast<TComboBox*>(&control)) return new ComboPeer<TComboBox>(screen, *combo, parent);
    if (auto* drives = dynamic_cast<TDriveComboBox*>(&control)) return new ComboPeer<TDriveComboBox>(screen, *drives, parent);
    if (auto* edit = dynamic_cast<TEdit*>(&control)) return new EditPeer(screen, *edit, parent);
    if (auto* bar = dynamic_cast<TScrollBar*>(&control)) return new ScrollBarPeer(screen, *bar, parent);
    if (auto* list = dynamic_cast<TDirectoryListBox*>(&control)) return new DirectoryListPeer(screen, *list, parent);
    return new PlainPeer(screen, control, parent);
}

}  // namespace vcl::qt
