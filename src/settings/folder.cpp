#include "settings/folder.h"

#include "app/globals.h"
#include "settings/place.h"
#include "settings/setting.h"

using namespace vcl;

// Designed at 120 pixels per inch; the framework scales it to the screen's.
TFolderWnd::TFolderWnd(TComponent* Owner) : TForm(Owner) {
    Name = "FolderWnd";
    SetCaption("DUVEZ SaveFolder");
    BorderStyle = bsDialog;
    Position = poScreenCenter;
    PixelsPerInch = 120;
    Font = {"ＭＳ Ｐゴシック", -15, SHIFTJIS_CHARSET};
    SetClientWidth(295);
    SetClientHeight(248);

    FolderCancel = Place<TButton>(*this, this, "FolderCancel", 168, 216, 59, 25);
    FolderCancel->SetCaption("Cancel");
    FolderCancel->ModalResult = mrCancel;
    FolderCancel->TabOrder = 0;

    FolderOK = Place<TButton>(*this, this, "FolderOK", 232, 216, 59, 25);
    FolderOK->SetCaption("OK");
    FolderOK->ModalResult = mrOk;
    FolderOK->TabOrder = 1;
    FolderOK->OnClick = Bind(this, &TFolderWnd::FolderOKClick);

    FolderTree = Place<TDirectoryListBox>(*this, this, "FolderTree", 0, 0, 295, 209);
    FolderTree->ItemHeight = 16;
    FolderTree->TabOrder = 2;

    DriveCombo = Place<TDriveComboBox>(*this, this, "DriveCombo", 0, 216, 161, 21);
    DriveCombo->DirList = FolderTree;
    DriveCombo->TabOrder = 3;
}

// The file part is what follows the last '/'; the folder is the one the list
// has opened, taken as it reports it.
void TFolderWnd::FolderOKClick(TObject*) {
    TEdit& edit = *SettingWnd->FileNameEdit;
    edit.SetText(FolderTree->Directory() + "/" + ExtractFileName(edit.Text()));
}
