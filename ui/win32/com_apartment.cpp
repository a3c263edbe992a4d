#include "ui/win32/com_apartment.h"

#include <objbase.h>

#include "ui/win32/system_function.h"

namespace talmiro::win32 {

bool startCom() {
    static const bool started = [] {
        const auto start =
            systemFunction<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
        const HRESULT result =
            start ? start(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE) : E_FAIL;
        return SUCCEEDED(result) || result == RPC_E_CHANGED_MODE;  // or already up
    }();
    return started;
}

}  // namespace talmiro::win32
