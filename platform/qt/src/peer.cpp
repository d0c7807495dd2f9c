#include "peer.h"

#include "screen_backend.h"
#include "vcl/forms.h"

#include <QApplication>
#include <QSignalBlocker>

#include <cstdlib>

namespace vcl::qt {

namespace {

// The user-interface font's character height at 96 pixels per inch.
constexpr int kDefaultFontHeight = 12;

// The Japanese faces the forms name, and the free faces that stand in for
// them: proportional where the named face is, so designed widths hold. The
// user-interface font is a proportional Japanese face, Latin letters included,
// as the forms were laid out for.
constexpr const char* kProportionalGothic = "IPAPGothic";
constexpr const char* kFixedGothic = "IPAGothic";

QStringList Families(const AnsiString& name) {
    if (name.empty()) return {kProportionalGothic, QApplication::font().family()};
    if (name == "ＭＳ ゴシック") return {ToQString(name), kFixedGothic};
    return {ToQString(name), kProportionalGothic};
}

struct ActionScope {
    explicit ActionScope(ScreenBackend& screen) : screen(screen) { screen.BeginAction(); }
    ~ActionScope() { screen.EndAction(); }
    ScreenBackend& screen;
};

}  // namespace

QString ToQString(const AnsiString& text) { return QString::fromStdString(text); }

AnsiString ToAnsi(const QString& text) { return text.toStdString(); }

QFont EffectiveFont(const TControl& control) {
    AnsiString name;
    int height = 0;
    for (const TControl* c = &control; c && (name.empty() || height == 0); c = c->Parent()) {
        if (name.empty()) name = c->Font.Name;
        if (height == 0) height = c->Font.Height;
    }
    QFont font = QApplication::font();
    // A face missing here is completed by its stand-in, then by fontconfig's
    // fallback for each script.
    font.setFamilies(Families(name));
    int pixels = height != 0 ? std::abs(height) : kDefaultFontHeight * vcl::Screen.PixelsPerInch / 96;
    font.setPixelSize(pixels > 0 ? pixels : 1);
    return font;
}

Peer::Peer(ScreenBackend& screen, TControl& control, QWidget* widget)
    : QObject(widget), screen_(screen), control_(&control), widget_(widget) {}

Peer::~Peer() { screen_.Unregister(*this); }

void Peer::AddChild(Peer& child) {
    if (child.Widget()->parentWidget() != Container()) child.Widget()->setParent(Container());
}

void Peer::Mirror(TChange what) {
    if (!control_) return;
    ScreenBackend::QuietScope quiet(screen_);
    QSignalBlocker block(widget_);
    MirrorOne(what);
}

void Peer::MirrorAll() {
    if (!control_) return;
    ScreenBackend::QuietScope quiet(screen_);
    QSignalBlocker block(widget_);
    MirrorGeometry();
    MirrorFont();
    widget_->setEnabled(control_->Enabled());
    MirrorContent();
    MirrorVisibility();
}

void Peer::MirrorOne(TChange what) {
    switch (what) {
        case TChange::Geometry:
            MirrorGeometry();
            break;
        case TChange::Visibility:
            MirrorVisibility();
            break;
        case TChange::Font:
            MirrorFont();
            if (auto* container = dynamic_cast<TWinControl*>(control_))
                for (TControl* child : container->Controls())
                    if (Peer* peer = screen_.PeerOf(*child)) peer->Mirror(TChange::Font);
            break;
        case TChange::Focus:
            break;
        case TChange::Text:
        case TChange::State:
        case TChange::Items:
            widget_->setEnabled(control_->Enabled());
            MirrorContent();
            break;
    }
}

void Peer::MirrorGeometry() {
    TWinControl* parent = control_->Parent();
    Peer* parentPeer = parent ? screen_.PeerOf(*parent) : nullptr;
    if (!parentPeer) {
        widget_->hide();
        return;
    }
    if (widget_->parentWidget() != parentPeer->Container()) {
        parentPeer->AddChild(*this);
        MirrorVisibility();
    }
    widget_->setGeometry(control_->Left(), control_->Top(), control_->Width(), control_->Height());
}

void Peer::MirrorVisibility() { widget_->setVisible(control_->Visible()); }

void Peer::MirrorFont() { widget_->setFont(EffectiveFont(*control_)); }

void Peer::Act(const std::function<void()>& action) {
    if (!control_ || screen_.Quiet()) return;
    TForm* form = control_->ParentForm();
    Peer* formPeer = form ? screen_.PeerOf(*form) : nullptr;
    {
        ActionScope scope(screen_);
        action();
    }
    // Peers are deleted only between user actions, so this one is still here.
    if (control_) MirrorAll();
    if (formPeer && formPeer->Control()) screen_.ApplyFocus(static_cast<TForm&>(*formPeer->Control()));
}

}  // namespace vcl::qt
