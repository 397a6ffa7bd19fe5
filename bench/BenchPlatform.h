#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>

// The baselines' file access, the plainest way each platform offers
// (BenchPlatform_posix.cpp, BenchPlatform_win.cpp).
namespace fenwake::bench {

// A new, empty directory under the system's temporary folder.
std::filesystem::path MakeTempDir();

// The whole file into a buffer of its size: open, read, close. The number
// of bytes read, 0 on failure.
std::size_t ReadPlain(const char* name, std::unique_ptr<char[]>& buf);

// Writes the bytes to a temporary beside the file, flushes it and renames
// it over the file. durable also makes the rename itself survive a power
// cut (a flush of the directory, or a write-through move). False on failure.
bool ReplacePlain(const char* name, const char* bytes, std::size_t size, bool durable);

// The bare process list: every process's program name read once (each
// /proc/<id>/comm on Linux; a Toolhelp snapshot walked on Windows). The
// number of processes.
std::size_t ListProcessesPlain();

// Adds the bytes to the end of an existing file and flushes them: open for
// appending, write, flush, close. False on failure.
bool AppendPlain(const char* name, const char* bytes, std::size_t size);

} // namespace fenwake::bench
