#include "app/winmain.h"
#include "qt/screen.h"

int main(int argc, char** argv) {
    if (!vcl::qt::OpenScreen(argc, argv)) return 1;
    int exitCode = WinMain();
    vcl::qt::CloseScreen();
    return exitCode;
}
