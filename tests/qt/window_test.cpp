// A borderless live window as the display window is: its frame, the board's
// surface in its client area, its mouse, its menu; and what the system API
// shows: message boxes, notification icons, the cursor, the screen.
#include "sample_form.h"

#include "vcl/menus.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <thread>

using namespace vcl;
using Log = std::vector<std::string>;

namespace {

constexpr UINT WM_TESTNOTIFY = WM_USER + 9;
constexpr QRgb kDesktop = 0x3A6EA5;

std::string Point(const char* what, int x, int y) { return std::string(what) + ":" + IntToStr(x) + "," + IntToStr(y); }

class LiveWindow : public TForm {
public:
    explicit LiveWindow(TComponent* owner) : TForm(owner) {
        SetCaption("Live");
        BorderStyle = bsNone;
        FormStyle = fsStayOnTop;
        Color = clBackground;
        Cursor = crCross;
        PixelsPerInch = Screen.PixelsPerInch;
        SetBounds(60, 40, 0, 0);
        SetClientWidth(320);
        SetClientHeight(240);
        Menu = new TPopupMenu(this);
        Menu->Add("Show", "表示", [this](TObject*) { Events.push_back("Show.Click"); });
        Menu->Add("N1", "-");
        Menu->Add("Quit", "終了", [this](TObject*) { Events.push_back("Quit.Click"); });
        OnMouseDown = [this](TObject*, TMouseButton button, int x, int y) {
            Events.push_back(Point(button == mbLeft ? "Down" : button == mbRight ? "RightDown" : "MiddleDown", x, y));
            if (button == mbLeft) {
                dragging = true;
                dragX = x;
                dragY = y;
            }
            if (button == mbRight) Menu->Popup(Left() + x, Top() + y);
        };
        OnMouseMove = [this](TObject*, int x, int y) {
            Events.push_back(Point("Move", x, y));
            if (!dragging) return;
            SetLeft(Left() + x - dragX);
            SetTop(Top() + y - dragY);
        };
        OnMouseUp = [this](TObject*, TMouseButton button, int x, int y) {
            Events.push_back(Point(button == mbLeft ? "Up" : "OtherUp", x, y));
            if (button == mbLeft) dragging = false;
        };
        OnDblClick = [this](TObject*) { Events.push_back("DblClick"); };
    }

    void CreateParams(TCreateParams& params) override {
        TForm::CreateParams(params);
        params.Style |= WS_DLGFRAME;
    }

    void Dispatch(TMessage& message) override {
        if (message.Msg >= WM_USER) Messages.push_back({message.Msg, message.LParam});
        TForm::Dispatch(message);
    }

    TPopupMenu* Menu;
    Log Events;
    std::vector<std::pair<UINT, LPARAM>> Messages;
    bool dragging = false;
    int dragX = 0, dragY = 0;
};

std::unique_ptr<LiveWindow> ShowLiveWindow() {
    std::unique_ptr<LiveWindow> window(Create<LiveWindow>(Application));
    window->Show();
    return window;
}

// Paints a picture of 2 x 2 colours, stretched over the rectangle.
void PaintQuarters(HWND window, std::array<std::uint32_t, 4> topLeftFirst, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, -2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC dc = GetDC(window);
    StretchDIBits(dc, 0, 0, width, height, 0, 0, 2, 2, topLeftFirst.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    ReleaseDC(window, dc);
}

QRgb ShownAt(QWidget* widget, int x, int y) { return widget->grab().toImage().pixel(x, y) & 0xFFFFFF; }

TEST(LiveWindow, IsFramelessOnTopWithItsOwnFrameAroundTheClientArea) {
    auto form = ShowLiveWindow();
    QWidget* window = vcl::qt::PeerWidget(*form);
    QWidget* client = vcl::qt::ClientAreaWidget(*form);
    EXPECT_EQ(window->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(window->geometry(), QRect(60, 40, 326, 246));
    EXPECT_EQ(client->geometry(), QRect(3, 3, 320, 240));
    EXPECT_EQ(window->cursor().shape(), Qt::CrossCursor);
    // Nothing painted yet: the desktop's colour inside a frame of another.
    EXPECT_EQ(ShownAt(window, 100, 100), kDesktop);
    EXPECT_NE(ShownAt(window, 0, 0), kDesktop);
    EXPECT_NE(ShownAt(window, 2, 120), kDesktop);
}

TEST(LiveWindow, AWindowLargerThanTheDesktopIsShownNoLargerThanIt) {
    auto form = ShowLiveWindow();
    form->SetClientWidth(2147483647);
    form->SetClientHeight(100000);
    QWidget* window = vcl::qt::PeerWidget(*form);
    QSize desktop = QGuiApplication::primaryScreen()->virtualSize();
    EXPECT_EQ(form->Width(), win::kMaxWindowSide) << "the form keeps its own size";
    EXPECT_LE(window->width(), desktop.width());
    EXPECT_LE(window->height(), desktop.height());
    form->SetClientWidth(200);
    form->SetClientHeight(100);
    EXPECT_EQ(window->size(), QSize(206, 106));
}

TEST(LiveWindow, ClientAreaShowsWhatWasPaintedIntoItsSurface) {
    auto form = ShowLiveWindow();
    QWidget* client = vcl::qt::ClientAreaWidget(*form);
    PaintQuarters(form->Handle(), {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}, 320, 200);
    QImage shown = client->grab().toImage();
    EXPECT_EQ(shown.pixel(40, 30) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(shown.pixel(280, 30) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(shown.pixel(40, 190) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(shown.pixel(280, 190) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(shown.pixel(160, 230) & 0xFFFFFF, kDesktop);  // below the painted rows

    // A new size clears the surface until the board paints again.
    form->SetClientWidth(160);
    EXPECT_EQ(client->size(), QSize(160, 240));
    EXPECT_EQ(ShownAt(client, 40, 30), kDesktop);
}

TEST(LiveWindow, APaintFromAnotherThreadRepaintsTheWindow) {
    auto form = ShowLiveWindow();
    QWidget* client = vcl::qt::ClientAreaWidget(*form);
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) ++paints;
            return false;
        }
    } counter;
    QCoreApplication::processEvents();
    client->installEventFilter(&counter);
    std::thread board([&] {
        for (std::uint32_t shade = 0; shade < 40; ++shade)
            PaintQuarters(form->Handle(), {shade, shade, shade, 0xFFFF00}, 320, 240);
    });
    board.join();
    QElapsedTimer waited;
    waited.start();
    while (counter.paints == 0 && waited.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    client->removeEventFilter(&counter);
    EXPECT_GE(counter.paints, 1);
    EXPECT_EQ(ShownAt(client, 300, 200), 0xFFFF00u);
}

TEST(LiveWindow, MouseOnTheClientAreaIsTheFormsMouse) {
    auto form = ShowLiveWindow();
    QWidget* client = vcl::qt::ClientAreaWidget(*form);
    QTest::mousePress(client, Qt::LeftButton, {}, QPoint(10, 20));
    QTest::mouseMove(client, QPoint(30, 25));
    // The window moved with the cursor, so the cursor is over the grabbed point again.
    QTest::mouseRelease(client, Qt::LeftButton, {}, QPoint(10, 20));
    EXPECT_EQ(form->Events, Log({"Down:10,20", "Move:30,25", "Up:10,20"}));
    // The dragged window followed the model, keeping the grabbed point under the cursor.
    EXPECT_EQ(QPoint(form->Left(), form->Top()), QPoint(80, 45));
    EXPECT_EQ(vcl::qt::PeerWidget(*form)->pos(), QPoint(80, 45));

    form->Events.clear();
    QTest::mousePress(client, Qt::MiddleButton, {}, QPoint(5, 6));
    QTest::mouseRelease(client, Qt::MiddleButton, {}, QPoint(5, 6));
    EXPECT_EQ(form->Events, Log({"MiddleDown:5,6", "OtherUp:5,6"}));
}

TEST(LiveWindow, ADoubleClickRunsOnceAndMovesNothing) {
    auto form = ShowLiveWindow();
    QWidget* client = vcl::qt::ClientAreaWidget(*form);
    QTest::mousePress(client, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseRelease(client, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseDClick(client, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseRelease(client, Qt::LeftButton, {}, QPoint(50, 50));
    // As the simulator's double click: the second press is the double click and a down.
    EXPECT_EQ(form->Events, Log({"Down:50,50", "Up:50,50", "DblClick", "Down:50,50", "Up:50,50"}));
    EXPECT_FALSE(form->dragging);
    EXPECT_EQ(vcl::qt::PeerWidget(*form)->pos(), QPoint(60, 40));
}

TEST(LiveWindow, ARightPressPopsUpTheMenuModally) {
    auto form = ShowLiveWindow();
    QWidget* client = vcl::qt::ClientAreaWidget(*form);
    QStringList entries;
    QPoint shownAt;
    screen_test::MenuAnswerer choose([&](QMenu& menu) {
        for (QAction* action : menu.actions()) entries << (action->isSeparator() ? "-" : action->text());
        shownAt = menu.pos();
        screen_test::ChooseEntry(menu, "終了");
    });
    QTest::mousePress(client, Qt::RightButton, {}, QPoint(100, 80));
    ASSERT_TRUE(choose.Answered());
    EXPECT_EQ(entries, QStringList({"表示", "-", "終了"}));
    EXPECT_EQ(shownAt, QPoint(60 + 100, 40 + 80));
    EXPECT_EQ(form->Events, Log({"RightDown:100,80", "Quit.Click"}));

    form->Events.clear();
    screen_test::MenuAnswerer dismiss([](QMenu& menu) { QTest::keyClick(&menu, Qt::Key_Escape); });
    QTest::mousePress(client, Qt::RightButton, {}, QPoint(100, 80));
    ASSERT_TRUE(dismiss.Answered());
    EXPECT_EQ(form->Events, Log({"RightDown:100,80"}));
}

TEST(SystemApi, MessageBoxesAreModalBoxesWithTheirAnswers) {
    struct Case {
        UINT type;
        int press;
        int answer;
        QMessageBox::Icon icon;
    };
    for (const Case& c : std::initializer_list<Case>{{MB_OK, QMessageBox::Ok, IDOK, QMessageBox::NoIcon},
                                                      {MB_OKCANCEL | MB_ICONERROR, QMessageBox::Cancel, IDCANCEL,
                                                       QMessageBox::Critical},
                                                      {MB_OKCANCEL, QMessageBox::Ok, IDOK, QMessageBox::NoIcon}}) {
        SCOPED_TRACE(c.type);
        QMessageBox::Icon icon = QMessageBox::Warning;
        QTimer look;
        look.setInterval(2);
        QObject::connect(&look, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) icon = box->icon();
        });
        look.start();
        screen_test::BoxAnswerer answers(c.press);
        EXPECT_EQ(MessageBoxA(nullptr, "設定ファイルに書き込めませんでした", "DUVEZ", c.type), c.answer);
        EXPECT_EQ(answers.Texts, Log({"設定ファイルに書き込めませんでした"}));
        EXPECT_EQ(answers.Captions, Log({"DUVEZ"}));
        EXPECT_EQ(icon, c.icon);
    }
}

TEST(SystemApi, NotificationIconsShowAndReportPresses) {
    auto form = ShowLiveWindow();
    // Icons live as long as the program, as its own icon does.
    static HICON icon = [] {
        std::array<std::uint32_t, 256> pixels{};
        pixels[0] = 0xFFFF0000;
        return win::CreateIconFromPixels(16, 16, pixels.data());
    }();
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATA_V1_SIZE;
    data.hWnd = form->Handle();
    data.uID = 77;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TESTNOTIFY;
    data.hIcon = icon;
    std::strcpy(data.szTip, "DUVEZ");
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));

    std::vector<QSystemTrayIcon*> shown = vcl::qt::NotificationIcons();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0]->toolTip(), "DUVEZ");
    EXPECT_EQ(shown[0]->icon().pixmap(16, 16).toImage().pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(shown[0]->icon().pixmap(16, 16).toImage().pixel(1, 0) >> 24, 0u);

    for (auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick, QSystemTrayIcon::Context,
                        QSystemTrayIcon::MiddleClick})
        emit shown[0]->activated(reason);
    Application->ProcessMessages();
    using Message = std::pair<UINT, LPARAM>;
    EXPECT_EQ(form->Messages, (std::vector<Message>{{WM_TESTNOTIFY, WM_LBUTTONDOWN}, {WM_TESTNOTIFY, WM_RBUTTONDOWN}}));

    std::strcpy(data.szTip, "renamed");
    data.uFlags = NIF_TIP;
    Shell_NotifyIconA(NIM_MODIFY, &data);
    EXPECT_EQ(vcl::qt::NotificationIcons().at(0)->toolTip(), "renamed");
    Shell_NotifyIconA(NIM_DELETE, &data);
    EXPECT_TRUE(vcl::qt::NotificationIcons().empty());
}

TEST(SystemApi, APostFromAnotherThreadWakesTheWaitingLoop) {
    auto form = ShowLiveWindow();
    bool gaveUp = false;
    QTimer::singleShot(5000, [&] { gaveUp = true; });
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        PostMessageA(form->Handle(), WM_TESTNOTIFY, 0, 5);
    });
    while (form->Messages.empty() && !gaveUp) Application->HandleMessage();
    poster.join();
    EXPECT_FALSE(gaveUp);
    EXPECT_EQ(form->Messages.size(), 1u);
}

TEST(SystemApi, CursorAndScreenAreTheDisplays) {
    QCursor::setPos(123, 45);
    POINT at{};
    ASSERT_TRUE(GetCursorPos(&at));
    EXPECT_EQ(QPoint(at.x, at.y), QCursor::pos());
    EXPECT_EQ(QPoint(at.x, at.y), QPoint(123, 45));

    QScreen* screen = QGuiApplication::primaryScreen();
    EXPECT_EQ(Screen.Width, screen->geometry().width());
    EXPECT_EQ(Screen.Height, screen->geometry().height());
    EXPECT_EQ(Screen.PixelsPerInch, qRound(screen->logicalDotsPerInch()));
}

}  // namespace
