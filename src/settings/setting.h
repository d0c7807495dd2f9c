// The settings window, as the display window sees it: the controls it reads
// at shutdown. The window itself is created at start-up once its pages are
// built; until then `SettingWnd` stays null and the display window keeps the
// persisted size choice and file name as they were read.
#pragma once

#include "vcl/stdctrls.h"

class TSettingWnd : public vcl::TForm {
public:
    using vcl::TForm::TForm;

    vcl::TEdit* FileNameEdit = nullptr;
    vcl::TRadioButton* OutSizeRadio1 = nullptr;
    vcl::TRadioButton* OutSizeRadio2 = nullptr;
    vcl::TRadioButton* OutSizeRadio3 = nullptr;
    vcl::TRadioButton* OutSizeRadio4 = nullptr;
};
