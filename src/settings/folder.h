// The folder chooser: a small modal dialog, opened fresh from the save page's
// "参照" button, that moves the capture's file name into the folder picked.
#pragma once

#include "vcl/stdctrls.h"

class TFolderWnd : public vcl::TForm {
public:
    explicit TFolderWnd(vcl::TComponent* Owner);

    vcl::TButton* FolderCancel;
    vcl::TButton* FolderOK;
    vcl::TDirectoryListBox* FolderTree;
    vcl::TDriveComboBox* DriveCombo;

    void FolderOKClick(vcl::TObject* Sender);
};
