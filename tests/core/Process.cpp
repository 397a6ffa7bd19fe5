#include "Process.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fenwake::test {
namespace fs = std::filesystem;
namespace {

std::string Slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

RunResult RunProgram(const fs::path& program, const std::vector<std::string>& args, const std::string& input,
                     const fs::path& scratch)
{
    const StreamFiles streams{scratch / "stdin", scratch / "stdout", scratch / "stderr"};
    std::ofstream(streams.in, std::ios::binary) << input;
    std::optional<int> code;
    {
        ChildProcess child(program, args, &streams);
        code = child.Wait(std::chrono::seconds(60));
    }
    if (!code) throw std::runtime_error(program.string() + " did not end within a minute");
    return {*code, Slurp(streams.out), Slurp(streams.err)};
}

} // namespace fenwake::test
