#pragma once

#include <CLI/CLI.hpp>

#include <string>

namespace fenwake::cli {

// How --help-all shows each command: a line with its usage and what it does,
// then a line for each of its arguments, every line a term, two blanks and
// its text. help2man makes fenwake-cli(1) of that, one entry per line.
class HelpAllFormatter : public CLI::Formatter {
public:
    std::string make_expanded(const CLI::App* sub) const override;
};

} // namespace fenwake::cli
