#include "shell/DesktopEntry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fenwake::shell {
namespace {

// Reads an Exec value back the way a desktop does: the key file's string
// escapes first, then "%%", then the quoting of the arguments.
std::vector<std::string> ReadExec(const std::string& stored)
{
    std::string value;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] != '\\' || i + 1 == stored.size()) {
            value += stored[i];
            continue;
        }
        switch (const char c = stored[++i]) {
        case 's':
            value += ' ';
            break;
        case 'n':
            value += '\n';
            break;
        case 't':
            value += '\t';
            break;
        case 'r':
            value += '\r';
            break;
        case '\\':
            value += '\\';
            break;
        default:
            ADD_FAILURE() << "unknown string escape \\" << c << " in " << stored;
        }
    }
    std::string unpercent;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '%') {
            if (i + 1 == value.size() || value[i + 1] != '%') ADD_FAILURE() << "field code in " << stored;
            ++i;
        }
        unpercent += value[i];
    }
    std::vector<std::string> args;
    for (std::size_t i = 0; i < unpercent.size();) {
        if (unpercent[i] == ' ') {
            ++i;
            continue;
        }
        if (unpercent[i] != '"') {
            ADD_FAILURE() << "unquoted argument in " << stored;
            return args;
        }
        std::string arg;
        for (++i; i < unpercent.size() && unpercent[i] != '"'; ++i) {
            if (unpercent[i] == '\\') {
                const char next = i + 1 < unpercent.size() ? unpercent[i + 1] : '\0';
                if (next != '"' && next != '`' && next != '$' && next != '\\')
                    ADD_FAILURE() << "stray backslash in " << stored;
                ++i;
            } else if (unpercent[i] == '`' || unpercent[i] == '$') {
                ADD_FAILURE() << "unescaped " << unpercent[i] << " in " << stored;
            }
            arg += unpercent[i];
        }
        if (i == unpercent.size()) ADD_FAILURE() << "unterminated quote in " << stored;
        args.push_back(arg);
        ++i;
    }
    return args;
}

std::string ExecLine(const std::string& entry)
{
    const auto at = entry.find("\nExec=");
    if (at == std::string::npos) return {};
    const auto start = at + 6;
    return entry.substr(start, entry.find('\n', start) - start);
}

TEST(DesktopEntry, PlainLink)
{
    ShellLink link;
    link.name = "Fenwake";
    link.target = "/games/DeusEx/System/fenwake";
    link.workingDirectory = "/games/DeusEx/System/";
    EXPECT_EQ(DesktopEntry(link), "[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Name=Fenwake\n"
                                  "Exec=\"/games/DeusEx/System/fenwake\"\n"
                                  "Path=/games/DeusEx/System/\n"
                                  "Terminal=false\n");

    link.workingDirectory.clear(); // no Path key rather than an empty one
    EXPECT_EQ(DesktopEntry(link).find("Path="), std::string::npos);
}

TEST(DesktopEntry, AwkwardCharactersAreEscapedAsTheFormatRequires)
{
    // A literal backslash takes four, a dollar sign "\\$", a quote "\\\"".
    EXPECT_EQ(EscapeValue(QuoteExecArgument(R"(/a b/"q"/`c`/$HOME/100%/d\e)")),
              R"("/a b/\\"q\\"/\\`c\\`/\\$HOME/100%%/d\\\\e")");
    EXPECT_EQ(EscapeValue(" lead\tx\ny\rz\\"), "\\slead\\tx\\ny\\rz\\\\");
}

TEST(DesktopEntry, TargetsSurviveTheRoundTrip)
{
    const std::vector<std::string> targets = {
        "/home/p/Deus Ex/System/fenwake",
        R"(C:\Games\Deus Ex\System\Fenwake.exe)",
        R"(/odd/"quoted" name/x)",
        "/odd/`backquote`/$(rm -rf ~)/$HOME/x",
        "/odd/100%/%f %u %%/x",
        R"(/odd/trailing\)",
        R"(/odd/\"/\\"/x)",
        "/odd/'single' ;|&<>~*?#()[]{}=/x",
        " leading blank",
        "/odd/tab\there/new\nline/cr\rx",
        "/odd/ünïcödé/ファイル",
        "",
    };
    for (const auto& target : targets) {
        ShellLink link;
        link.target = target;
        const std::string exec = ExecLine(DesktopEntry(link));
        EXPECT_EQ(exec.find('\n'), std::string::npos);
        EXPECT_EQ(ReadExec(exec), std::vector<std::string>{target}) << "stored as " << exec;
    }
}

TEST(DesktopEntry, ArgumentsAreSplitLikeAWindowsCommandLine)
{
    using Args = std::vector<std::string>;
    EXPECT_EQ(SplitArguments(""), Args{});
    EXPECT_EQ(SplitArguments(" \t "), Args{});
    EXPECT_EQ(SplitArguments("  -a\tb  "), (Args{"-a", "b"}));
    EXPECT_EQ(SplitArguments(R"("C:\Deus Ex\" next)"), (Args{R"(C:\Deus Ex" next)"}));
    EXPECT_EQ(SplitArguments(R"("C:\Deus Ex\\" next)"), (Args{R"(C:\Deus Ex\)", "next"}));
    EXPECT_EQ(SplitArguments(R"(a\\b \"q\" c\\\"d)"), (Args{R"(a\\b)", R"("q")", R"(c\"d)"}));
    EXPECT_EQ(SplitArguments(R"("say ""hi""" x"y z")"), (Args{R"(say "hi")", "xy z"}));
    EXPECT_EQ(SplitArguments(R"("" a)"), (Args{"", "a"}));
    EXPECT_EQ(SplitArguments(R"("open)"), (Args{"open"}));

    ShellLink link;
    link.target = "/bin/x";
    link.arguments = R"(-ini "my file.ini" 50%)";
    const std::string exec = ExecLine(DesktopEntry(link));
    EXPECT_EQ(exec, R"("/bin/x" "-ini" "my file.ini" "50%%")");
    EXPECT_EQ(ReadExec(exec), (Args{"/bin/x", "-ini", "my file.ini", "50%"}));
}

} // namespace
} // namespace fenwake::shell
