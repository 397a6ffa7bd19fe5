#include "cli/HelpAll.h"

#include <sstream>
#include <vector>

namespace fenwake::cli {
namespace {

// The arguments a player gives: no help flags.
std::vector<const CLI::Option*> Arguments(const CLI::App* sub)
{
    return sub->get_options(
        [sub](const CLI::Option* o) { return o != sub->get_help_ptr() && o != sub->get_help_all_ptr(); });
}

constexpr std::size_t kColumn = 30;

void Entry(std::ostream& out, const std::string& indent, const std::string& term, const std::string& text)
{
    const std::string lead = indent + term;
    out << lead << std::string(lead.size() + 2 <= kColumn ? kColumn - lead.size() : 2, ' ') << text << '\n';
}

} // namespace

std::string HelpAllFormatter::make_expanded(const CLI::App* sub) const
{
    std::string usage = sub->get_name();
    for (const CLI::Option* o : Arguments(sub)) {
        const std::string name = o->get_positional() ? o->get_name(true, false) : o->get_name(false, true);
        usage += " " + (o->get_required() ? name : "[" + name + "]");
    }
    std::ostringstream out;
    // A footer goes on in the command's own text, a sentence of its own.
    std::istringstream footer(sub->get_footer());
    Entry(out, "  ", usage, sub->get_description() + (footer.str().empty() ? "" : "."));
    for (std::string line; std::getline(footer, line);) out << std::string(kColumn, ' ') << line << '\n';
    for (const CLI::Option* o : Arguments(sub))
        Entry(out, "    ", o->get_positional() ? o->get_name(true, false) : o->get_name(false, true),
              o->get_description());
    return out.str();
}

} // namespace fenwake::cli
