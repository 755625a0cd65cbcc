// The standard message dialog and the message box component, driven from a
// second thread as a user would: found by its window text, answered with a
// button or with Esc.
#include <windows.h>

#include "DialogWatcher.h"
#include "WaitFor.h"
#include "shell/MsgDlg.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

using namespace pelmira;

namespace {

struct SeenBox {
    std::wstring caption;
    RECT window{};
    RECT text{}; // the text's control, in client coordinates
    std::vector<std::wstring> buttons;
    int defaultId = 0;
    bool iconShown = false;
};

std::wstring TextOf(HWND hwnd) {
    wchar_t buffer[512] = {};
    GetWindowTextW(hwnd, buffer, 512);
    return buffer;
}

// Waits on a second thread for this process's dialog, reads it, then lets
// `answer` act on it; Result() joins.
class BoxDriver {
public:
    explicit BoxDriver(std::function<void(HWND)> answer)
        : thread_([this, answer] {
              const DWORD start = GetTickCount();
              while (GetTickCount() - start < 15000) {
                  HWND box = FindWindowW(L"#32770", nullptr);
                  DWORD pid = 0;
                  GetWindowThreadProcessId(box, &pid);
                  if (box && pid == GetCurrentProcessId() && IsWindowVisible(box)) {
                      WaitUntilIdle(box); // laid out: its thread is back in its loop
                      seen_ = Read(box);
                      answer(box);
                      return;
                  }
                  Sleep(20);
              }
          }) {}
    ~BoxDriver() {
        if (thread_.joinable())
            thread_.join();
    }
    std::optional<SeenBox> Result() {
        thread_.join();
        return seen_;
    }

private:
    static SeenBox Read(HWND box) {
        SeenBox seen;
        seen.caption = TextOf(box);
        GetWindowRect(box, &seen.window);
        seen.defaultId = LOWORD(SendMessageW(box, DM_GETDEFID, 0, 0));
        for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            wchar_t cls[32] = {};
            GetClassNameW(c, cls, 32);
            if (std::wstring(cls) == L"Button") {
                seen.buttons.push_back(TextOf(c));
            } else if ((GetWindowLongPtrW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                seen.iconShown = SendMessageW(c, STM_GETICON, 0, 0) != 0;
            } else {
                GetWindowRect(c, &seen.text);
                MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&seen.text), 2);
            }
        }
        return seen;
    }

    std::optional<SeenBox> seen_;
    std::thread thread_;
};

void Press(HWND box, int id) {
    PostMessageW(GetDlgItem(box, id), BM_CLICK, 0, 0);
}

void PressEscape(HWND box) {
    HWND focus = GetDlgItem(box, LOWORD(SendMessageW(box, DM_GETDEFID, 0, 0)));
    PostMessageW(focus ? focus : box, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(focus ? focus : box, WM_KEYUP, VK_ESCAPE, 0);
}

int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

} // namespace

TEST(MessageDialog, TheComponentsDefaultsShowAnInformationBoxWithOneOk) {
    TMsgDlg dialog;
    dialog.Sound = true;
    dialog.DisplayMsg = L"壁紙の変更に失敗しました。";
    int reported = -1;
    dialog.OnButtonClick = [&](TMsgDlg& sender, int result) {
        EXPECT_EQ(&sender, &dialog);
        reported = result;
    };
    BoxDriver driver([](HWND box) { Press(box, IDOK); });
    dialog.Execute();
    const auto seen = driver.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->caption, L"情報");
    EXPECT_EQ(seen->buttons, std::vector<std::wstring>{L"OK"});
    EXPECT_EQ(seen->defaultId, IDOK);
    EXPECT_TRUE(seen->iconShown);
    EXPECT_EQ(dialog.DlgResult, mrOk);
    EXPECT_EQ(reported, mrOk);
    // Centred on the screen.
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(seen->window.left, (screenWidth - Width(seen->window)) / 2, 1);
    EXPECT_NEAR(seen->window.top, (screenHeight - Height(seen->window)) / 2, 1);
}

TEST(MessageDialog, ConfirmationWithYesAndNoCancelsToNo) {
    BoxDriver driver([](HWND box) { PressEscape(box); });
    const int result = MessageDlgPos(nullptr, L"よろしいですか？", TMsgDlgType::mtConfirmation,
                                     mbYes | mbNo, 0, -1, -1);
    const auto seen = driver.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->caption, L"確認");
    EXPECT_EQ(seen->buttons, (std::vector<std::wstring>{L"はい(&Y)", L"いいえ(&N)"}));
    EXPECT_EQ(seen->defaultId, IDYES);
    EXPECT_EQ(result, mrNo);
}

TEST(MessageDialog, EscapeWithoutACancellingButtonKeepsTheBoxOpen) {
    BoxDriver driver([](HWND box) {
        // Taken in order: a box that Esc closed would never see the click.
        PressEscape(box);
        Press(box, IDRETRY);
    });
    const int result = MessageDlgPos(nullptr, L"続けますか", TMsgDlgType::mtWarning,
                                     mbAbort | mbRetry | mbIgnore, 0, -1, -1);
    const auto seen = driver.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->caption, L"警告");
    EXPECT_EQ(seen->buttons, (std::vector<std::wstring>{L"中止(&A)", L"再試行(&R)", L"無視(&I)"}));
    EXPECT_EQ(seen->defaultId, IDRETRY);
    EXPECT_EQ(result, mrRetry);
}

TEST(MessageDialog, ButtonsComeInTheirFixedOrderWithTheirResults) {
    const std::pair<int, int> presses[] = {
        {IDCANCEL, mrCancel}, {IDIGNORE, mrIgnore}, {8, mrAll}, {IDYES, mrYes}};
    for (const auto& [id, expected] : presses) {
        BoxDriver driver([id = id](HWND box) { Press(box, id); });
        const int result = MessageDlgPos(nullptr, L"?", TMsgDlgType::mtError,
                                         mbAll | mbIgnore | mbCancel | mbYes, 0, -1, -1);
        const auto seen = driver.Result();
        ASSERT_TRUE(seen.has_value());
        EXPECT_EQ(seen->caption, L"ｴﾗｰ");
        EXPECT_EQ(seen->buttons,
                  (std::vector<std::wstring>{L"はい(&Y)", L"ｷｬﾝｾﾙ", L"無視(&I)", L"すべて"}));
        EXPECT_EQ(result, expected);
    }
}

TEST(MessageDialog, DesignedPositionPlacesTheBoxWhereAsked) {
    TMsgDlg dialog;
    dialog.DisplayMsg = L"位置";
    dialog.MsgPosition = TMsgPosition::poDesigned;
    dialog.MsgLeft = 100;
    dialog.MsgTop = -1;
    BoxDriver driver([](HWND box) { Press(box, IDOK); });
    dialog.Execute();
    const auto seen = driver.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->window.left, 100);
    EXPECT_NEAR(seen->window.top, (GetSystemMetrics(SM_CYSCREEN) - Height(seen->window)) / 2, 1);
}

TEST(MessageDialog, TheBoxFitsItsTextAndWrapsAtHalfTheScreen) {
    BoxDriver shortDriver([](HWND box) { Press(box, IDOK); });
    MessageDlgPos(nullptr, L"短い", TMsgDlgType::mtInformation, mbOK, 0, -1, -1);
    const auto small = shortDriver.Result();

    std::wstring longText;
    for (int i = 0; i < 40; ++i)
        longText += L"とても長いメッセージ ";
    BoxDriver longDriver([](HWND box) { Press(box, IDOK); });
    MessageDlgPos(nullptr, longText, TMsgDlgType::mtInformation, mbOK, 0, -1, -1);
    const auto large = longDriver.Result();

    ASSERT_TRUE(small.has_value());
    ASSERT_TRUE(large.has_value());
    EXPECT_LT(Width(small->window), 300); // sized to a short text, not to a fixed width
    EXPECT_LE(Width(large->text), GetSystemMetrics(SM_CXSCREEN) / 2);
    EXPECT_GT(Width(large->text), GetSystemMetrics(SM_CXSCREEN) / 2 - 60);
    EXPECT_GT(Height(large->text), 3 * Height(small->text)); // wrapped over several lines
    EXPECT_GT(Height(large->window), Height(small->window));
}

TEST(MessageDialog, ACustomBoxHasNoIconAndTheOwnersTitle) {
    HWND application = CreateWindowW(L"STATIC", L"Pelmira32", WS_POPUP, 0, 0, 0, 0, nullptr,
                                     nullptr, nullptr, nullptr);
    HWND owner = CreateWindowW(L"STATIC", L"main", WS_POPUP, 0, 0, 10, 10, application, nullptr,
                               nullptr, nullptr);
    BoxDriver driver([](HWND box) { Press(box, IDOK); });
    MessageDlgPos(owner, L"独自", TMsgDlgType::mtCustom, mbOK, 0, -1, -1);
    const auto seen = driver.Result();
    DestroyWindow(owner);
    DestroyWindow(application);
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->caption, L"Pelmira32");
    EXPECT_FALSE(seen->iconShown);
}
