// QMHOOK32.DLL as the program uses it: loaded by its bare name, entry points
// found by their plain names, idle seconds counted from the last input.
#include <windows.h>

#include "WaitFor.h"
#include "win/ModuleProc.h"

#include <gtest/gtest.h>

namespace {

using SetHookFn = BOOLEAN(__stdcall*)(HWND);
using RemoveHookFn = void(__stdcall*)();
using SetSecFn = LONG(__stdcall*)();

class HookLibrary : public testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryA("QMHOOK32.DLL");
        ASSERT_NE(module_, nullptr);
        setHook_ = pelmira::ModuleProc<SetHookFn>(module_, "SetHook");
        removeHook_ = pelmira::ModuleProc<RemoveHookFn>(module_, "RemoveHook");
        setSec_ = pelmira::ModuleProc<SetSecFn>(module_, "SetSec");
        ASSERT_TRUE(setHook_ && removeHook_ && setSec_);
        window_ = CreateWindowExW(0, L"STATIC", L"hook owner", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        if (removeHook_)
            removeHook_();
        if (window_)
            DestroyWindow(window_);
        if (module_)
            FreeLibrary(module_);
    }

    HMODULE module_ = nullptr;
    HWND window_ = nullptr;
    SetHookFn setHook_ = nullptr;
    RemoveHookFn removeHook_ = nullptr;
    SetSecFn setSec_ = nullptr;
};

void MoveMouseBy(int dx) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
}

} // namespace

TEST_F(HookLibrary, ExportsCarryNoDecoration) {
    EXPECT_EQ(GetProcAddress(module_, "SetHook@4"), nullptr);
    EXPECT_EQ(GetProcAddress(module_, "_SetHook@4"), nullptr);
}

TEST_F(HookLibrary, SetHookNeedsAWindow) {
    EXPECT_EQ(setHook_(nullptr), 0);
    EXPECT_NE(setHook_(window_), 0);
}

TEST_F(HookLibrary, IdleSecondsGrowAndInputResetsThem) {
    ASSERT_NE(setHook_(window_), 0);
    EXPECT_EQ(setSec_(), 0); // the start itself counts as the last action
    ASSERT_TRUE(WaitFor([&] { return setSec_() >= 2; }, 10000));
    MoveMouseBy(3);
    MoveMouseBy(-3);
    EXPECT_TRUE(WaitFor([&] { return setSec_() == 0; }, 2000));
}

TEST_F(HookLibrary, RemoveHookStopsTheCount) {
    ASSERT_NE(setHook_(window_), 0);
    ASSERT_TRUE(WaitFor([&] { return setSec_() >= 1; }, 10000));
    removeHook_();
    EXPECT_EQ(setSec_(), 0);
}
