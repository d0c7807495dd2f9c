// A small dialog with one control of every kind, and the helpers the screen
// tests share: an event log, answers for modal boxes and menus.
#pragma once

#include "qt/shown_widgets.h"
#include "vcl/stdctrls.h"

#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMessageBox;
class QMenu;

namespace screen_test {

class SampleForm : public vcl::TForm {
public:
    explicit SampleForm(vcl::TComponent* owner);

    vcl::TPageControl* Pages;
    vcl::TTabSheet* PageA;
    vcl::TTabSheet* PageB;
    vcl::TLabel* Label;
    vcl::TEdit* Edit1;
    vcl::TEdit* Edit2;
    vcl::TRadioButton* RadioA;
    vcl::TRadioButton* RadioB;
    vcl::TCheckBox* Check;
    vcl::TRadioGroup* Group;
    vcl::TComboBox* Combo;
    vcl::TScrollBar* Bar;
    vcl::TDirectoryListBox* Folders;
    vcl::TDriveComboBox* Drives;
    vcl::TLabel* PageBLabel;
    vcl::TPanel* Panel;
    vcl::TButton* OkButton;
    vcl::TBitBtn* CancelButton;

    // "Name.Event" for every event a control raised, in order.
    std::vector<std::string> Log;
    void ClearLog() { Log.clear(); }
};

// Deletes the form at the end of a test, as the program's owner would.
std::unique_ptr<SampleForm> ShowSampleForm();

template <class Widget>
Widget* PeerAs(const vcl::TControl& control) {
    return dynamic_cast<Widget*>(vcl::qt::PeerWidget(control));
}

// Answers every message box that comes up while it lives, and keeps their texts.
class BoxAnswerer {
public:
    explicit BoxAnswerer(int standardButton);
    std::vector<std::string> Texts;
    std::vector<std::string> Captions;

private:
    QTimer timer_;
};

// Runs `act` on the next pop-up menu once it is up.
class MenuAnswerer {
public:
    explicit MenuAnswerer(std::function<void(QMenu&)> act);
    bool Answered() const { return answered_; }

private:
    QTimer timer_;
    bool answered_ = false;
};

// Clicks the menu entry with this text.
void ChooseEntry(QMenu& menu, const QString& text);

}  // namespace screen_test
