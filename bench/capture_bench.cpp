// One whole capture click with the virtual board: the user's click on the
// capture button, the grab into the temporary file, the move to its name
// (replacing the last one) and the resume. The target: at most 20 ms median.
#include "app/globals.h"
#include "app/program_icon.h"
#include "board/kivodll.h"
#include "display/display.h"
#include "settings/setting.h"
#include "vcl/forms.h"
#include "vcl/input.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

// The program started as a user starts it, in a scratch folder that holds a
// copy of the board and is the working folder.
class StartedProgram {
public:
    StartedProgram() : folder_(fs::temp_directory_path() / ("duvez-capture-bench-" + std::to_string(::getpid()))) {
        fs::create_directories(folder_);
        fs::copy_file(fs::read_symlink("/proc/self/exe").parent_path() / "QORDCI32.DLL", folder_ / "QORDCI32.DLL",
                      fs::copy_options::overwrite_existing);
        saved_ = fs::current_path();
        fs::current_path(folder_);
        ::setenv("KIVO_FIXED_FRAME", "100", 1);
        vcl::Application->SetExeName((folder_ / "DUVEZ").string());
        vcl::Application->Icon = ProgramIcon();
        vcl::Application->CreateForm(DisplayWnd);
        if (!StartupFailed) vcl::Application->CreateForm(SettingWnd);
    }
    ~StartedProgram() {
        delete BoardDll;
        BoardDll = nullptr;
        fs::current_path(saved_);
        fs::remove_all(folder_);
        ::unsetenv("KIVO_FIXED_FRAME");
    }
    bool Started() const { return SettingWnd && BoardDll; }

private:
    fs::path folder_, saved_;
};

void BM_CaptureClick(benchmark::State& state) {
    StartedProgram program;
    if (!program.Started()) {
        state.SkipWithError("the program did not start with the virtual board");
        return;
    }
    SettingWnd->FileNameMake->SetChecked(false);  // one name, replaced by each capture
    SettingWnd->FormatCombo->Pick(static_cast<int>(state.range(0)));
    for (auto _ : state) vcl::input::Click(*SettingWnd->CaptureBtn);
    if (!fs::exists("TempFile.bmp") || fs::exists("KIVOTEMP.BMP")) state.SkipWithError("the capture saved no file");
    const char* names[] = {"16-bit 5-5-5", "16-bit 5-6-5", "24-bit", "32-bit"};
    state.SetLabel(names[state.range(0)]);
}
BENCHMARK(BM_CaptureClick)
    ->ArgName("format")
    ->Arg(2)
    ->Arg(3)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
