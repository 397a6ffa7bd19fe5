// Another program that saves User.ini over and over while the tests write
// it, the way the game or a text editor does ("truncate": empty the file,
// then write it in two pieces) or the way careful tools do ("rename": write
// a temporary, rename it over the file). Each save stores its number in
// entries of its own (OtherWriter.h); a save that finds a lower number than
// its last one has been undone by someone else.
//
//   other_writer <file> <truncate|rename> <stop file> <report file> <seconds>
//
// Saves until the stop file appears or the seconds are up, then writes
// "<saves> <last number> <undone>" to the report file.
#include "OtherWriter.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <thread>

namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::optional<std::string> Load(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool SaveTruncating(const fs::path& file, const std::string& text)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    const std::size_t half = text.size() / 2;
    out.write(text.data(), static_cast<std::streamsize>(half)).flush();
    std::this_thread::sleep_for(1ms); // a writer is never sure to run on
    out.write(text.data() + half, static_cast<std::streamsize>(text.size() - half));
    out.close();
    return static_cast<bool>(out);
}

bool SaveRenaming(const fs::path& file, const std::string& text)
{
    const fs::path temp = fs::path(file).concat(".other");
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out.write(text.data(), static_cast<std::streamsize>(text.size()))) return false;
    }
    // On Windows a reader without delete sharing blocks the rename for a moment.
    for (int attempt = 0; attempt < 200; ++attempt) {
        std::error_code ec;
        fs::rename(temp, file, ec);
        if (!ec) return true;
        std::this_thread::sleep_for(1ms);
    }
    fs::remove(temp);
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 6) return 2;
    const fs::path file = argv[1];
    const bool truncating = std::string_view(argv[2]) == "truncate";
    const fs::path stop = argv[3];
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(std::stoi(argv[5]));

    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> pause(1, 40);
    long saves = 0;
    long last = 0;
    long undone = 0;
    while (!fs::exists(stop) && std::chrono::steady_clock::now() < deadline) {
        const auto text = Load(file);
        if (text) {
            if (fenwake::test::other::SavesIn(*text) < last) ++undone;
            if ((truncating ? SaveTruncating : SaveRenaming)(file, fenwake::test::other::WithSave(*text, last + 1))) {
                ++last;
                ++saves;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
    }
    std::ofstream(argv[4]) << saves << ' ' << last << ' ' << undone << '\n';
    return 0;
}
