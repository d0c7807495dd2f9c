// The folder chooser: a fresh modal dialog that moves the capture's file name
// into the folder the user opened.
#include "settings/folder.h"
#include "settings_fixture.h"

#include <algorithm>
#include <filesystem>

using vcl::TKey;

namespace {

// The chooser now open over the settings window.
TFolderWnd* OpenChooser() {
    for (vcl::TComponent* component : SettingWnd->Components())
        if (auto* chooser = dynamic_cast<TFolderWnd*>(component)) return chooser;
    return nullptr;
}

int IndexOf(const vcl::TDirectoryListBox& list, const std::string& path) {
    const auto& items = list.Items();
    auto at = std::find(items.begin(), items.end(), path);
    return at == items.end() ? -1 : static_cast<int>(at - items.begin());
}

}  // namespace

TEST_F(SettingsWindow, OkMovesTheFileNameIntoTheFolderOpenedAndNothingElseDoes) {
    std::filesystem::create_directory(dir / "pics");
    struct Case {
        const char* name;
        const char* folder;  // opened by a double click; empty: the root
        std::string expected;
    };
    const Case cases[] = {
        {"/old/shot", "pics", dir / "pics/shot"},
        {"shot", "pics", dir / "pics/shot"},
        {"", "pics", dir / "pics/"},
        {"old/", "pics", dir / "pics/"},
        {"a\\b:c", "pics", dir / "pics/a\\b:c"},   // only '/' separates folders
        {"/old/shot", "", "//shot"},               // the root ends in '/' already
    };
    Session([&](TSettingWnd& w) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            user.Type(*w.FileNameEdit, c.name);
            user.Then([&] {
                TFolderWnd* chooser = OpenChooser();
                ASSERT_NE(chooser, nullptr);
                EXPECT_TRUE(chooser->Modal());
                EXPECT_EQ(chooser->FolderTree->Directory(), dir.Path()) << "it opens at the working folder";
                std::string folder = *c.folder ? dir / c.folder : std::string("/");
                user.OpenFolder(*chooser->FolderTree, IndexOf(*chooser->FolderTree, folder));
                EXPECT_EQ(chooser->FolderTree->Directory(), folder);
                user.Click(*chooser->FolderOK);
            });
            user.Click(*w.DirectryBtn);
            EXPECT_EQ(w.FileNameEdit->Text(), c.expected);
            EXPECT_EQ(OpenChooser(), nullptr) << "the chooser is gone once closed";
        }
        EXPECT_TRUE(user.ScriptErrors().empty());
    });
}

TEST_F(SettingsWindow, CancelTheCloseBoxAndAHighlightLeaveTheNameAndEscDoesNotClose) {
    std::filesystem::create_directory(dir / "pics");
    Session([&](TSettingWnd& w) {
        user.Type(*w.FileNameEdit, "shot");
        auto inChooser = [&](std::function<void(TFolderWnd&)> act) {
            user.Then([&, act] {
                TFolderWnd* chooser = OpenChooser();
                ASSERT_NE(chooser, nullptr);
                act(*chooser);
            });
            user.Click(*w.DirectryBtn);
        };
        inChooser([&](TFolderWnd& f) { user.Click(*f.FolderCancel); });
        EXPECT_EQ(w.FileNameEdit->Text(), "shot");
        inChooser([&](TFolderWnd& f) {
            user.OpenFolder(*f.FolderTree, IndexOf(*f.FolderTree, dir / "pics"));
            user.CloseBox(f);
        });
        EXPECT_EQ(w.FileNameEdit->Text(), "shot");
        // A highlighted entry is not opened: OK takes the folder the list opened.
        inChooser([&](TFolderWnd& f) {
            f.FolderTree->ItemIndex = IndexOf(*f.FolderTree, dir / "pics");
            user.Click(*f.FolderOK);
        });
        EXPECT_EQ(w.FileNameEdit->Text(), dir / "shot");

        user.Type(*w.FileNameEdit, "shot");
        inChooser([&](TFolderWnd& f) {
            user.Focus(*f.FolderTree);
            user.Key(f, TKey::Escape);
            user.Key(f, TKey::Enter);  // no button has the focus: nothing
            EXPECT_TRUE(f.Modal() && f.ModalResult == vcl::mrNone) << "Esc and Enter do not close it";
            user.Focus(*f.FolderCancel);
            user.Key(f, TKey::Enter);
        });
        EXPECT_EQ(w.FileNameEdit->Text(), "shot");
        inChooser([&](TFolderWnd& f) {
            user.Focus(*f.FolderOK);
            user.Key(f, TKey::Enter);
        });
        EXPECT_EQ(w.FileNameEdit->Text(), dir / "shot");
        EXPECT_TRUE(user.ScriptErrors().empty());
    });
}

TEST_F(SettingsWindow, TheChooserIsDesignedAt120PixelsPerInchAndScaledToTheScreen) {
    Session([&](TSettingWnd& w) {
        user.Then([&] {
            TFolderWnd& f = *OpenChooser();
            EXPECT_EQ(f.Caption(), "DUVEZ SaveFolder");
            EXPECT_EQ(f.ClientWidth(), 295 * 96 / 120);
            EXPECT_EQ(f.ClientHeight(), 248 * 96 / 120);
            EXPECT_EQ(f.Font.Height, -15 * 96 / 120);
            EXPECT_EQ(f.FolderOK->Left(), 232 * 96 / 120);
            EXPECT_EQ(f.DriveCombo->DirList, f.FolderTree);
            EXPECT_EQ(f.Left(), (vcl::Screen.Width - f.Width()) / 2);
            user.Click(*f.FolderCancel);
        });
        user.Click(*w.DirectryBtn);
    });
}

TEST_F(SettingsWindow, AFolderRemovedWhileTheChooserIsOpenShowsNothingAndBreaksNothing) {
    std::filesystem::create_directories(dir / "gone/inner");
    Session([&](TSettingWnd& w) {
        user.Type(*w.FileNameEdit, "shot");
        user.Then([&] {
            TFolderWnd& f = *OpenChooser();
            int gone = IndexOf(*f.FolderTree, dir / "gone");
            user.OpenFolder(*f.FolderTree, gone);
            std::filesystem::remove_all(dir / "gone");
            user.OpenFolder(*f.FolderTree, IndexOf(*f.FolderTree, dir / "gone/inner"));
            EXPECT_EQ(f.FolderTree->Directory(), dir / "gone") << "the list stays where it was";
            f.FolderTree->SetDirectory(dir / "gone");
            user.Click(*f.FolderOK);
        });
        user.Click(*w.DirectryBtn);
        EXPECT_EQ(w.FileNameEdit->Text(), dir / "gone/shot");
        EXPECT_TRUE(user.BoxTexts().empty());
    });
}
