// A stand-in for the game, started by the tests under the game's program
// name: it runs until the stop file appears and then, as the game does when
// it exits, writes its settings back whole from what it had in memory (the
// saved copy), undoing whatever was saved in the meantime.
//
//   stand_in <stop file> [<settings file> <saved copy>]
//
// Ends by itself after two minutes, so that none outlives a broken test.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    if (argc != 2 && argc != 4) return 2;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (!fs::exists(argv[1]) && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (argc == 4) {
        std::ifstream in(argv[3], std::ios::binary);
        const std::string saved{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::ofstream(argv[2], std::ios::binary | std::ios::trunc) << saved;
    }
    return 0;
}
