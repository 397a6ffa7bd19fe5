#include "app/OneInst.h"

#include <windows.h>

namespace fenwake {

std::string ExecutablePath()
{
    char buf[256] = {};
    const DWORD n = ::GetModuleFileNameA(nullptr, buf, sizeof buf);
    return std::string(buf, n);
}

bool AcquireInstanceLock(const std::string& lockName)
{
    // The handle is never closed: the system releases it when the process ends.
    HANDLE mutex = ::CreateMutexA(nullptr, FALSE, lockName.c_str());
    if (mutex == nullptr) return false;
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        return false;
    }
    return true;
}

} // namespace fenwake
