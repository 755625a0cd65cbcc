#include "app/HookLibrary.h"

#include "win/AppError.h"
#include "win/DllSearch.h"
#include "win/ModuleProc.h"

namespace pelmira {

THookLibrary::~THookLibrary() {
    if (installed_)
        removeHook_();
}

void THookLibrary::Install(const std::wstring& path, HWND applicationWindow) {
    installed_ = false;
    module_.Reset(LoadLibraryFromPath(path, DllImports::FromSystemOnly));
    if (!module_)
        throw EAppError(L"QMHOOK32.DLLが見つかりません");
    setHook_ = ModuleProc<SetHookFn>(module_.Get(), "SetHook");
    removeHook_ = ModuleProc<RemoveHookFn>(module_.Get(), "RemoveHook");
    setSec_ = ModuleProc<SetSecFn>(module_.Get(), "SetSec");
    if (!setHook_ || !removeHook_ || !setSec_)
        throw EAppError(L"QMHOOK32のアドレスを取得できません");
    if (!setHook_(applicationWindow))
        throw EAppError(L"キーボード入力監視は使用不可能です");
    installed_ = true;
}

LONG THookLibrary::SetSec() const {
    return setSec_ ? setSec_() : 0;
}

} // namespace pelmira
