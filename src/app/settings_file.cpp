#include "app/settings_file.h"

#include "app/globals.h"
#include "display/display.h"
#include "settings/setting.h"
#include "vcl/inifiles.h"

using namespace vcl;

namespace {

constexpr int kFirstNumber = 1;
constexpr int kLastNumber = 999;

// The first checked size button, 0 to 3, or the value unchanged when none is.
int SizeChoice(const TSettingWnd& setting, int current) {
    const TRadioButton* buttons[] = {setting.OutSizeRadio1, setting.OutSizeRadio2, setting.OutSizeRadio3,
                                     setting.OutSizeRadio4};
    for (int i = 0; i < 4; ++i)
        if (buttons[i]->Checked()) return i;
    return current;
}

void ReportUnwritable(const AnsiString& path) {
    AnsiString text = "設定ファイルに書き込めませんでした [" + path + "]";
    MessageBoxA(nullptr, text.c_str(), "DUVEZ", MB_OK | MB_ICONERROR);
}

}  // namespace

AnsiString SettingsFilePath() {
    AnsiString executable = Application->ExeName();
    if (!win::IsInstalledExecutable(executable)) return ChangeFileExt(executable, ".ini");
    return win::UserSettingsFolder() + "/" + ChangeFileExt(ExtractFileName(executable), ".ini");
}

// fuzz/ini_fuzzer.cpp makes these reads and writes too; keep the two in step.
void ReadSettingsFile(TDisplayWnd& display) {
    TIniFile ini(SettingsFilePath());
    display.SetLeft(ini.ReadInteger("SYSTEM", "X", 50));
    display.SetTop(ini.ReadInteger("SYSTEM", "Y", 50));
    display.sizeMode = ini.ReadInteger("SYSTEM", "Size", 3);
    display.userW = ini.ReadInteger("SYSTEM", "UserW", 480);
    display.userH = ini.ReadInteger("SYSTEM", "UserH", 360);
    display.saveFormat = ini.ReadInteger("FILE", "Format", 2);
    display.fileNumber = ini.ReadInteger("FILE", "Number", 1);
    if (display.fileNumber < kFirstNumber || display.fileNumber > kLastNumber) display.fileNumber = kFirstNumber;
    display.fileName = ini.ReadString("FILE", "Name", "TempFile");
}

void WriteSettingsFile(TDisplayWnd& display) {
    TIniFile ini(SettingsFilePath());
    try {
        ini.WriteInteger("SYSTEM", "X", display.Left());
        ini.WriteInteger("SYSTEM", "Y", display.Top());
        if (SettingWnd) display.sizeMode = SizeChoice(*SettingWnd, display.sizeMode);
        ini.WriteInteger("SYSTEM", "Size", display.sizeMode);
        ini.WriteInteger("SYSTEM", "UserW", display.userW);
        ini.WriteInteger("SYSTEM", "UserH", display.userH);
        ini.WriteInteger("FILE", "Format", display.saveFormat);
        ini.WriteInteger("FILE", "Number", display.fileNumber);
        if (SettingWnd) display.fileName = SettingWnd->FileNameEdit->Text();
        ini.WriteString("FILE", "Name", display.fileName);
    } catch (const EInOutError&) {
        ReportUnwritable(ini.FileName());
    }
}
