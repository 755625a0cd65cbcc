// The class library under the forms: application window, form base, error
// report, timers, modal loop, minimise/restore and the hourglass.
#include <windows.h>

#include "DialogWatcher.h"
#include "WaitFor.h"
#include "win/AppError.h"
#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/WindowClass.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>
#include <optional>
#include <thread>

using namespace pelmira;

namespace {

class TestForm : public TForm {
public:
    explicit TestForm(TApplication& app, const wchar_t* cls = L"TTestForm") : TForm(app, cls) {}
    std::function<void()> onCreate;
    std::function<bool()> onCloseQuery;
    void Open(int w = 200, int h = 100) {
        FormFrame frame;
        frame.caption = L"テスト";
        frame.clientWidth = w;
        frame.clientHeight = h;
        Create(frame);
    }

protected:
    void FormCreate() override {
        if (onCreate)
            onCreate();
    }
    bool CloseQuery() override { return onCloseQuery ? onCloseQuery() : true; }
};

class Ui : public testing::Test {
protected:
    TApplication app{GetModuleHandleW(nullptr)};
    void SetUp() override { app.SetTitle(L"Pelmira32"); }
};

} // namespace

TEST_F(Ui, ApplicationWindowIsZeroSizedAndCarriesTheTitle) {
    RECT r{};
    GetWindowRect(app.Handle(), &r);
    EXPECT_EQ(r.right - r.left, 0);
    EXPECT_EQ(r.bottom - r.top, 0);
    EXPECT_EQ(app.Title(), L"Pelmira32");
    wchar_t cls[32] = {};
    GetClassNameW(app.Handle(), cls, 32);
    EXPECT_STREQ(cls, L"TApplication");
}

TEST_F(Ui, FormIsOwnedByTheApplicationWindowWithTheAskedClientSize) {
    TestForm form(app);
    bool created = false;
    form.onCreate = [&] {
        created = true;
        EXPECT_FALSE(form.Visible()); // creation runs before the form shows
    };
    form.Open(399, 334);
    EXPECT_TRUE(created);
    EXPECT_EQ(GetWindow(form.Handle(), GW_OWNER), app.Handle());
    RECT client{};
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, 399);
    EXPECT_EQ(client.bottom, 334);
    EXPECT_EQ(TForm::FromHandle(form.Handle()), &form);
    EXPECT_EQ(TForm::FromHandle(app.Handle()), nullptr);
}

TEST_F(Ui, ErrorDuringCreationIsReportedAndTheFormStaysUsable) {
    TestForm form(app);
    form.onCreate = [] { throw EAppError(L"QMHOOK32.DLLが見つかりません"); };
    DialogWatcher watcher;
    form.Open();
    auto seen = watcher.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->caption, L"Pelmira32");
    EXPECT_EQ(seen->text, L"QMHOOK32.DLLが見つかりません.");
    EXPECT_TRUE(seen->hasIcon);
    ASSERT_EQ(seen->buttons.size(), 1u);
    EXPECT_EQ(seen->buttons[0], L"OK");
    EXPECT_NE(form.Handle(), nullptr);
}

TEST_F(Ui, ErrorReportCaptionFollowsTheCurrentTitle) {
    app.SetTitle(L"C:\\WINDOWS");
    DialogWatcher watcher;
    app.ShowException(L"qm.ini に書き込めません");
    auto seen = watcher.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->caption, L"C:\\WINDOWS");
    EXPECT_EQ(seen->text, L"qm.ini に書き込めません.");
}

TEST_F(Ui, TimerTicksArriveAndAFailingTickIsReportedWithoutStoppingTheLoop) {
    TestForm form(app);
    form.Open();
    TTimer timer(form, 20);
    int ticks = 0;
    timer.OnTimer = [&] {
        if (++ticks == 2)
            throw EAppError(L"ﾌｧｲﾙ X は開けません");
    };
    DialogWatcher watcher;
    timer.SetEnabled(true);
    ASSERT_TRUE(WaitFor([&] { return ticks >= 4; }));
    auto seen = watcher.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->text, L"ﾌｧｲﾙ X は開けません.");
    timer.SetEnabled(false);
    const int stopped = ticks;
    WaitFor([] { return false; }, 100);
    EXPECT_EQ(ticks, stopped);
}

TEST_F(Ui, TimerEnabledBeforeTheWindowExistsStartsWithIt) {
    TestForm form(app);
    TTimer timer(form, 20);
    int ticks = 0;
    timer.OnTimer = [&] { ++ticks; };
    timer.SetEnabled(true);
    form.Open();
    EXPECT_TRUE(WaitFor([&] { return ticks >= 2; }));
}

TEST_F(Ui, ModalLoopReturnsTheResultAndKeepsOtherTimersRunning) {
    TestForm owner(app, L"TOwnerForm");
    owner.Open();
    owner.Show();
    TTimer ownerTimer(owner, 20);
    int ownerTicks = 0;
    ownerTimer.OnTimer = [&] { ++ownerTicks; };
    ownerTimer.SetEnabled(true);

    TestForm dialog(app, L"TModalForm");
    dialog.Open();
    TTimer dialogTimer(dialog, 20);
    int dialogTicks = 0;
    bool ownerDisabled = false;
    dialogTimer.OnTimer = [&] {
        ownerDisabled = !IsWindowEnabled(owner.Handle());
        if (++dialogTicks == 5)
            dialog.SetModalResult(IDOK);
    };
    dialogTimer.SetEnabled(true);
    const int ownerBefore = ownerTicks;
    EXPECT_EQ(dialog.ShowModal(), IDOK);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_GT(ownerTicks, ownerBefore);
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    EXPECT_FALSE(dialog.Visible());
}

TEST_F(Ui, ClosingAModalFormCancelsIt) {
    TestForm dialog(app, L"TModalForm");
    dialog.Open();
    TTimer timer(dialog, 20);
    timer.OnTimer = [&] { dialog.Close(); };
    timer.SetEnabled(true);
    EXPECT_EQ(dialog.ShowModal(), IDCANCEL);
}

TEST_F(Ui, MinimiseHidesTheFormsAndRestoreBringsThemBack) {
    TestForm form(app);
    form.Open();
    app.SetMainForm(&form);
    ShowWindow(app.Handle(), SW_SHOW);
    form.Show();
    int restores = 0;
    app.OnRestore = [&] { ++restores; };

    SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(app.Minimized());
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(restores, 0);

    // The taskbar restores the application window, not the form.
    SendMessageW(app.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(app.Minimized());
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(restores, 1);
    app.Restore(); // nothing to restore: no restore event either
    EXPECT_EQ(restores, 1);
}

TEST_F(Ui, ClosingTheMainFormEndsTheLoopUnlessCloseQueryFails) {
    TestForm form(app);
    form.Open();
    int attempts = 0;
    form.onCloseQuery = [&]() -> bool {
        if (++attempts == 1)
            throw EAppError(L"qm.ini に書き込めません");
        return true;
    };
    // A user closes, reads the report, presses OK and closes again.
    DialogWatcher watcher;
    std::optional<SeenDialog> seen;
    const HWND target = form.Handle();
    std::thread user([&] {
        PostMessageW(target, WM_CLOSE, 0, 0);
        seen = watcher.Result();
        PostMessageW(target, WM_CLOSE, 0, 0);
    });
    app.Run(form); // returns once the second close goes through
    user.join();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->text, L"qm.ini に書き込めません.");
    EXPECT_EQ(attempts, 2);
    EXPECT_TRUE(app.Terminated());
    EXPECT_FALSE(form.Visible());
}

TEST_F(Ui, HourglassLastsAsLongAsItsGuardAlsoOnErrors) {
    HCURSOR wait = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT));
    try {
        THourglass outer(app);
        EXPECT_TRUE(app.Busy());
        EXPECT_EQ(GetCursor(), wait);
        { THourglass inner(app); }
        EXPECT_TRUE(app.Busy()); // nested guards keep it until the last ends
        throw EAppError(L"x");
    } catch (const EAppError&) {
    }
    EXPECT_FALSE(app.Busy());
    EXPECT_NE(GetCursor(), wait);
}

TEST_F(Ui, AnErrorThatEscapesTheProgramIsShownLoggedAndEndsItWithCodeOne) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string logPath = std::string(temp) + "pelmira-stderr.txt";
    HANDLE log = CreateFileA(logPath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                             nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(log, INVALID_HANDLE_VALUE);
    const HANDLE stderrBefore = GetStdHandle(STD_ERROR_HANDLE);
    SetStdHandle(STD_ERROR_HANDLE, log);
    MSG pending; // a quit left by an earlier test would end the box at once
    while (PeekMessageW(&pending, nullptr, 0, 0, PM_REMOVE)) {
    }
    DialogWatcher watcher;
    const int code = RunGuarded(L"Pelmira32", []() -> int {
        throw EAppError(L"アプリケーションウィンドウを作成できません");
    });
    SetStdHandle(STD_ERROR_HANDLE, stderrBefore);
    EXPECT_EQ(code, 1);
    auto seen = watcher.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->caption, L"Pelmira32");
    EXPECT_EQ(seen->text, L"アプリケーションウィンドウを作成できません.");
    char text[512] = {};
    DWORD got = 0;
    SetFilePointer(log, 0, nullptr, FILE_BEGIN);
    ReadFile(log, text, sizeof text - 1, &got, nullptr);
    CloseHandle(log);
    wchar_t wide[512] = {};
    MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(got), wide, 511);
    EXPECT_STREQ(wide, L"Pelmira32: アプリケーションウィンドウを作成できません\r\n");
    EXPECT_EQ(RunGuarded(L"Pelmira32", [] { return 0; }), 0);
}

namespace {

// Counts, at WM_DESTROY, the entries of a member that goes with the object.
class DestroyWatchingForm : public TestForm {
public:
    DestroyWatchingForm(TApplication& app, std::vector<std::size_t>& seen)
        : TestForm(app, L"TDestroyWatchingForm"), seen_(seen) {}

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_DESTROY)
            seen_.push_back(entries_.size());
        return TestForm::HandleMessage(msg, wp, lp);
    }

private:
    std::vector<std::size_t>& seen_;
    std::vector<int> entries_{1, 2, 3};
};

} // namespace

TEST_F(Ui, DestroyingAFormsWindowReachesTheWholeFormOrNoneOfIt) {
    std::vector<std::size_t> seen;
    auto form = MakeForm<DestroyWatchingForm>(app, seen);
    form->Open();
    HWND window = form->Handle();
    form.reset();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(seen, std::vector<std::size_t>{3}); // its members were all still there

    // Deleted without the form pointer, the window goes without troubling it.
    auto* plain = new DestroyWatchingForm(app, seen);
    plain->Open();
    window = plain->Handle();
    delete plain;
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(seen.size(), 1u);
}

// A class is registered once and then reused; one the system refuses (an
// empty name) is reported, not left for the window that would need it to
// fail without a word.
TEST(WindowClass, RegisteredOnceReusedAfterwardsAndARefusalIsReported) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterWindowClass(instance, L"TUiTestClass", &DefWindowProcW);
    EXPECT_NO_THROW(RegisterWindowClass(instance, L"TUiTestClass", &DefWindowProcW));
    WNDCLASSEXW found{};
    found.cbSize = sizeof found;
    EXPECT_TRUE(GetClassInfoExW(instance, L"TUiTestClass", &found));
    try {
        RegisterWindowClass(instance, L"", &DefWindowProcW);
        ADD_FAILURE() << "a refused class passed silently";
    } catch (const pelmira::EAppError& e) {
        EXPECT_EQ(e.Message(), L"ウィンドウクラスを登録できません");
    }
}
