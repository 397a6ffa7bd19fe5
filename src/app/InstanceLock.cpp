#include "app/InstanceLock.h"

#include <algorithm>

namespace fenwake {

std::string InstanceLockName(std::string_view executablePath)
{
    std::string name(executablePath.substr(0, 255));
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

} // namespace fenwake
