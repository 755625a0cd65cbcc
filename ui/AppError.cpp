#include "ui/AppError.h"

#include "ui/WideText.h"

#include <new>

namespace pelmira {

std::wstring CurrentExceptionMessage() {
    try {
        throw;
    } catch (const EAppError& e) {
        return e.Message();
    } catch (const std::bad_alloc&) {
        return L"メモリが不足しています";
    } catch (const std::exception& e) {
        return AnsiToWide(e.what());
    } catch (...) {
        return L"不明なエラーです";
    }
}

} // namespace pelmira
