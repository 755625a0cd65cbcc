// The notification-area icon component: the shell calls it makes (watched on
// their way to Shell_NotifyIconA) and the mouse messages the shell sends back.
#include <windows.h>

#include "WaitFor.h"
#include "shell/TrayIcon.h"
#include "win/AppError.h"
#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/Menu.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace pelmira;

namespace {

struct ShellCall {
    DWORD message;
    NOTIFYICONDATAA data;
};

class OwnerForm : public TForm {
public:
    explicit OwnerForm(TApplication& app) : TForm(app, L"TTrayOwner") {
        FormFrame frame;
        frame.clientWidth = 100;
        frame.clientHeight = 50;
        Create(frame);
    }
};

// The one window that every icon's shell messages go to, found as the shell
// finds it.
HWND CallbackWindowOf(const TForm& owner) {
    return FindWindowExW(owner.Handle(), nullptr, L"TCallbackWindow", nullptr);
}

constexpr MenuSpec kMenu[] = {{"First", L"最初", 0}, {"Second", L"次", 0}};

class TrayIconTest : public testing::Test {
protected:
    TTrayIcon::NotifyCall Recorder() {
        return [this](DWORD message, NOTIFYICONDATAA* data) -> BOOL {
            calls.push_back({message, *data});
            return shellAgrees;
        };
    }
    std::unique_ptr<TTrayIcon> MakeIcon() {
        auto icon = std::make_unique<TTrayIcon>(form, Recorder());
        icon->SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
        icon->Loaded();
        return icon;
    }
    void Post(TTrayIcon& icon, UINT mouseMessage) {
        PostMessageW(CallbackWindowOf(form), TTrayIcon::kCallbackMessage,
                     static_cast<WPARAM>(icon.ID()), mouseMessage);
        WaitFor([] { return false; }, 200); // let it arrive
    }

    TApplication app{GetModuleHandleW(nullptr)};
    OwnerForm form{app};
    std::vector<ShellCall> calls;
    bool shellAgrees = true;
};

// Watches for this process's popup menu, remembers which menu it shows and
// closes it with Esc.
class PopupWatcher {
public:
    PopupWatcher()
        : thread_([this] {
              const DWORD start = GetTickCount();
              while (GetTickCount() - start < 10000) {
                  HWND popup = FindWindowW(L"#32768", nullptr);
                  DWORD pid = 0;
                  GetWindowThreadProcessId(popup, &pid);
                  if (popup && pid == GetCurrentProcessId() && IsWindowVisible(popup)) {
                      shown = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
                      PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
                      return;
                  }
                  Sleep(20);
              }
          }) {}
    ~PopupWatcher() { thread_.join(); }
    std::atomic<HMENU> shown{nullptr};

private:
    std::thread thread_;
};

} // namespace

TEST_F(TrayIconTest, IdentifiersAreUniqueAndTheLastFreedOneComesBack) {
    TTrayIcon first(form, Recorder());
    auto second = std::make_unique<TTrayIcon>(form, Recorder());
    EXPECT_EQ(first.ID(), 1);
    EXPECT_EQ(second->ID(), 2);
    // One window for all, a child of the owner.
    ASSERT_NE(CallbackWindowOf(form), nullptr);
    EXPECT_EQ(FindWindowExW(form.Handle(), CallbackWindowOf(form), L"TCallbackWindow", nullptr),
              nullptr);
    second.reset();
    TTrayIcon third(form, Recorder());
    EXPECT_EQ(third.ID(), 2);
    EXPECT_TRUE(calls.empty()); // nothing shown, nothing asked of the shell
}

TEST_F(TrayIconTest, ShowingAddsTheIconWithItsRecordAndHidingDeletesIt) {
    auto icon = MakeIcon();
    EXPECT_FALSE(icon->Visible());
    EXPECT_TRUE(calls.empty());
    icon->SetVisible(true);
    ASSERT_EQ(calls.size(), 1u);
    const ShellCall& add = calls[0];
    EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(add.data.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
    EXPECT_EQ(add.data.hWnd, CallbackWindowOf(form));
    EXPECT_EQ(add.data.uID, static_cast<UINT>(icon->ID()));
    EXPECT_EQ(add.data.uCallbackMessage, 0x4C8u);
    EXPECT_EQ(add.data.uFlags, 7u);
    EXPECT_STREQ(add.data.szTip, "TipHelp");
    EXPECT_EQ(add.data.hIcon, icon->Icon());

    icon->SetVisible(true); // no change, no call
    EXPECT_EQ(calls.size(), 1u);
    icon->SetVisible(false);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].message, static_cast<DWORD>(NIM_DELETE));
}

TEST_F(TrayIconTest, TipsAreCutAndOnlyAChangedTipReachesTheShell) {
    auto icon = MakeIcon();
    icon->SetTipHelp(std::string(70, 'x')); // hidden: stored only
    EXPECT_EQ(icon->TipHelp(), std::string(62, 'x'));
    EXPECT_TRUE(calls.empty());
    icon->SetVisible(true);
    icon->SetTipHelp(std::string(62, 'x') + "more"); // the same 62 bytes
    EXPECT_EQ(calls.size(), 1u);
    icon->SetTipHelp("\x8E\xA9\x93\xAE\x95\xCF\x8D\x58"); // 自動変更
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_STREQ(calls[1].data.szTip, "\x8E\xA9\x93\xAE\x95\xCF\x8D\x58");
    icon->SetTipHelp("");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[2].data.uFlags, 3u); // no tip, no NIF_TIP
}

TEST_F(TrayIconTest, ANewPictureReachesTheShellOnlyWhileShown) {
    auto icon = MakeIcon();
    icon->SetIcon(LoadIconW(nullptr, IDI_QUESTION));
    EXPECT_TRUE(calls.empty());
    icon->SetVisible(true);
    icon->SetIcon(LoadIconW(nullptr, IDI_WARNING));
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(calls[1].data.hIcon, icon->Icon());
    icon->SetIcon(nullptr); // no picture: the icon goes
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[2].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_FALSE(icon->Visible());
    icon->SetVisible(true); // nothing to show
    EXPECT_FALSE(icon->Visible());
    EXPECT_EQ(calls.size(), 3u);
}

TEST_F(TrayIconTest, ARefusedAddIsAnErrorAndLeavesTheIconHidden) {
    auto icon = MakeIcon();
    shellAgrees = false;
    try {
        icon->SetVisible(true);
        FAIL() << "no error";
    } catch (const EAppError& e) {
        EXPECT_EQ(e.Message(), L"タスクトレイにアイコンを登録できません。");
    }
    EXPECT_TRUE(icon->Visible());
    // Never added, so hiding it asks nothing of the shell.
    shellAgrees = true;
    icon->SetVisible(false);
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(TrayIconTest, ALeftPressPopsUpTheMenuAndTheReleaseStillReports) {
    TMenu menu(TMenu::Kind::Popup, kMenu, 500);
    auto icon = MakeIcon();
    icon->LBPopupMenu = &menu;
    int downs = 0, ups = 0, doubles = 0;
    TMouseButton released = TMouseButton::mbMiddle;
    icon->OnMouseDown = [&](TTrayIcon&, TMouseButton, unsigned, int, int) { ++downs; };
    icon->OnMouseUp = [&](TTrayIcon&, TMouseButton button, unsigned shift, int, int) {
        ++ups;
        released = button;
        EXPECT_EQ(shift, static_cast<unsigned>(ssLeft));
    };
    icon->OnDblClick = [&](TTrayIcon&) { ++doubles; };
    {
        PopupWatcher watcher;
        Post(*icon, WM_LBUTTONDOWN);
        EXPECT_TRUE(WaitFor([&] { return watcher.shown.load() != nullptr; }, 5000));
        EXPECT_EQ(watcher.shown.load(), menu.Handle());
    }
    EXPECT_EQ(downs, 0);
    Post(*icon, WM_LBUTTONUP);
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(released, TMouseButton::mbLeft);
    Post(*icon, WM_LBUTTONDBLCLK);
    EXPECT_EQ(doubles, 1);

    icon->SetAutoPopup(false); // no popup: the press is reported instead
    Post(*icon, WM_LBUTTONDOWN);
    EXPECT_EQ(downs, 1);
    Post(*icon, WM_RBUTTONDBLCLK); // not handled at all
    EXPECT_EQ(downs + ups + doubles, 3);
}

TEST_F(TrayIconTest, TheSystemsNotificationAreaTakesAndGivesBackTheIcon) {
    TTrayIcon icon(form); // the real Shell_NotifyIconA
    icon.SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
    icon.Loaded();
    // A refused add or modify would raise the error.
    EXPECT_NO_THROW(icon.SetVisible(true));
    EXPECT_NO_THROW(icon.SetTipHelp("Pelmira32"));
    icon.SetVisible(false);
}
