#include "BenchPlatform.h"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fenwake::bench {

std::filesystem::path MakeTempDir()
{
    std::string tmpl = (std::filesystem::temp_directory_path() / "fenwake-bench-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) throw std::system_error(errno, std::generic_category(), "mkdtemp");
    return tmpl;
}

std::size_t ReadPlain(const char* name, std::unique_ptr<char[]>& buf)
{
    const int fd = ::open(name, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return 0;
    }
    const auto size = static_cast<std::size_t>(st.st_size);
    buf.reset(new char[size]);
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, buf.get() + got, size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return got;
}

bool ReplacePlain(const char* name, const char* bytes, std::size_t size, bool durable)
{
    std::string temp(1, '.');
    temp.append(name).append(".tmp");
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = true;
    while (ok && size > 0) {
        const ssize_t n = ::write(fd, bytes, size);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) {
            bytes += n;
            size -= static_cast<std::size_t>(n);
        }
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), name) == 0;
    if (ok && durable) {
        const int dfd = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ok = dfd >= 0 && ::fsync(dfd) == 0;
        if (dfd >= 0) ::close(dfd);
    }
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

std::size_t ListProcessesPlain()
{
    DIR* proc = ::opendir("/proc");
    if (!proc) return 0;
    std::size_t count = 0;
    char path[sizeof(dirent::d_name) + 16];
    char name[16];
    while (const dirent* e = ::readdir(proc)) {
        if (e->d_name[0] < '0' || e->d_name[0] > '9') continue;
        std::snprintf(path, sizeof path, "%s/comm", e->d_name);
        const int fd = ::openat(::dirfd(proc), path, O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        if (::read(fd, name, sizeof name) > 0) ++count;
        ::close(fd);
    }
    ::closedir(proc);
    return count;
}

bool AppendPlain(const char* name, const char* bytes, std::size_t size)
{
    const int fd = ::open(name, O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = ::write(fd, bytes, size) == static_cast<ssize_t>(size) && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

} // namespace fenwake::bench
