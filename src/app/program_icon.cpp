#include "app/program_icon.h"

#include "app/program_picture.h"

HICON ProgramIcon() {
    static HICON icon = [] {
        constexpr auto pixels = program_picture::Pixels();
        return win::CreateIconFromPixels(program_picture::kSide, program_picture::kSide, pixels.data());
    }();
    return icon;
}
