#include "app/InstanceLock.h"

#include <windows.h>

namespace fenwake {

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
