#include "app/InstanceLock.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace fenwake {
namespace {

std::uint64_t Fnv1a(std::string_view s)
{
    std::uint64_t h = 14695981039346656037ull;
    for (const char c : s) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

std::string LockDirectory()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime && ::access(runtime, W_OK) == 0) return runtime;
    const char* tmp = std::getenv("TMPDIR");
    return (tmp && *tmp) ? tmp : "/tmp";
}

} // namespace

bool AcquireInstanceLock(const std::string& lockName)
{
    // A file lock is released by the kernel when the process ends, crash
    // included; the user id keeps users of a shared /tmp apart.
    char file[64];
    std::snprintf(file, sizeof file, "/fenwake-%u-%016llx.lock", static_cast<unsigned>(::getuid()),
                  static_cast<unsigned long long>(Fnv1a(lockName)));
    const std::string path = LockDirectory() + file;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        ::close(fd);
        return false;
    }
    return true; // the descriptor stays open, and so the lock held, until exit
}

} // namespace fenwake
