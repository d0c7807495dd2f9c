#include "qt/screen.h"

#include "screen_backend.h"
#include "vcl/forms.h"

#include <QApplication>
#include <QScreen>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vcl::qt {

namespace {

QApplication* application = nullptr;

std::string ProgramName(int argc, char** argv) {
    std::string path = argc > 0 && argv[0] ? argv[0] : "DUVEZ";
    return path.substr(path.rfind('/') + 1);
}

// Qt's X11 platform ends the process when it cannot reach the display, so
// the program tries the connection itself first.
bool CanReachX11Display(std::string& why) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        why = "no display to show the windows on (DISPLAY is not set)";
        return false;
    }
    why = std::string("cannot open the display ") + display;
    void* xcb = dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!xcb) return false;
    using Connect = void* (*)(const char*, int*);
    using HasError = int (*)(void*);
    using Disconnect = void (*)(void*);
    auto connect = reinterpret_cast<Connect>(dlsym(xcb, "xcb_connect"));
    auto hasError = reinterpret_cast<HasError>(dlsym(xcb, "xcb_connection_has_error"));
    auto disconnect = reinterpret_cast<Disconnect>(dlsym(xcb, "xcb_disconnect"));
    bool reached = false;
    if (connect && hasError && disconnect) {
        void* connection = connect(nullptr, nullptr);
        reached = hasError(connection) == 0;
        disconnect(connection);
    }
    dlclose(xcb);
    return reached;
}

// Another platform chosen through Qt's own setting reports its own failures.
bool DisplayReachable(std::string& why) {
    std::string platform = qEnvironmentVariable("QT_QPA_PLATFORM").toStdString();
    if (!platform.empty() && platform.rfind("xcb", 0) != 0) return true;
    return CanReachX11Display(why);
}

void MeasureScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    vcl::Screen.Width = screen->geometry().width();
    vcl::Screen.Height = screen->geometry().height();
    vcl::Screen.PixelsPerInch = qRound(screen->logicalDotsPerInch());
}

}  // namespace

bool OpenScreen(int& argc, char** argv) {
    std::string why;
    if (!DisplayReachable(why)) {
        std::fprintf(stderr, "%s: %s\n", ProgramName(argc, argv).c_str(), why.c_str());
        return false;
    }
    // The windows stand where the program puts them, which X11 allows; and
    // the framework scales its forms to the screen itself, so Qt must not
    // scale them a second time.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");
    if (!qEnvironmentVariableIsSet("QT_ENABLE_HIGHDPI_SCALING")) qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    application = new QApplication(argc, argv);
    // Closing a window is the model's business; the program ends through it.
    QApplication::setQuitOnLastWindowClosed(false);
    MeasureScreen();
    ScreenBackend::Instance().Open();
    vcl::SetBackend(&ScreenBackend::Instance());
    return true;
}

void CloseScreen() {
    if (!application) return;
    vcl::SetBackend(nullptr);
    ScreenBackend::Instance().Close();
    delete application;
    application = nullptr;
}

}  // namespace vcl::qt
