#include "rules/CommandReview.h"

#include "config/Ascii.h"
#include "config/IniText.h"

#include <algorithm>
#include <array>
#include <span>

namespace fenwake::review {
namespace {

// Console commands of Unreal Engine 1 and the game's player class (its
// "exec function"s) that reach beyond the game being played. "open" and
// "start" travel to whatever address or map they name; "switchlevel" needs
// admin rights on a server, where "servertravel" is the engine's own
// command; "ban" is the admin mods' name for a kick that lasts. A binding
// that rebinds keys does so with "set input ...".
// A table: several names to a line.
// clang-format off
constexpr std::array<std::string_view, 6> kLeaving = {"disconnect", "quit", "exit", "open", "start", "reconnect"};
constexpr std::array<std::string_view, 8> kSettings = {
    "set", "preferences", "setsensitivity", "invertmouse", "setmousesmooththreshold", "setmaxmousesmoothing",
    "neverswitchonpickup", "setres"};
constexpr std::array<std::string_view, 7> kAdmin = {
    "admin", "adminlogin", "kick", "kickban", "ban", "switchlevel", "servertravel"};
constexpr std::array<std::string_view, 1> kFiles = {"exec"};
// clang-format on

struct ClassRow {
    CommandClass cls;
    std::string_view label;
    std::span<const std::string_view> words;
};

// The one table of classes: their labels and their commands.
constexpr std::array<ClassRow, 5> kClasses = {{
    {CommandClass::Plain, "plain", {}},
    {CommandClass::LeavesGame, "leaves the game", kLeaving},
    {CommandClass::ChangesSettings, "changes settings", kSettings},
    {CommandClass::Admin, "admin", kAdmin},
    {CommandClass::RunsFile, "runs a file", kFiles},
}};

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }

constexpr std::string_view kOnRelease = "onrelease";

// Longer command texts are cut in messages, so a huge value stays readable.
constexpr std::size_t kShownLength = 60;

// Up to the first blank.
std::string_view FirstWord(std::string_view s)
{
    std::size_t end = 0;
    while (end < s.size() && !IsBlank(s[end])) ++end;
    return s.substr(0, end);
}

} // namespace

std::string_view Label(CommandClass c)
{
    for (const ClassRow& row : kClasses)
        if (row.cls == c) return row.label;
    return kClasses.front().label;
}

CommandClass ClassOf(std::string_view word)
{
    for (const ClassRow& row : kClasses)
        for (std::string_view w : row.words)
            if (ascii::EqualsNoCase(w, word)) return row.cls;
    return CommandClass::Plain;
}

std::vector<Command> Commands(std::string_view value)
{
    std::vector<Command> commands;
    std::size_t begin = 0;
    while (begin <= value.size()) {
        const std::size_t bar = std::min(value.find('|', begin), value.size());
        std::size_t b = begin;
        std::size_t e = bar;
        while (b < e && IsBlank(value[b])) ++b;
        while (e > b && IsBlank(value[e - 1])) --e;
        Command c;
        if (ascii::EqualsNoCase(FirstWord(value.substr(b, e - b)), kOnRelease)) {
            c.onRelease = true;
            b += kOnRelease.size();
            while (b < e && IsBlank(value[b])) ++b;
        }
        if (b < e) {
            c.offset = b;
            c.text = value.substr(b, e - b);
            c.word = FirstWord(c.text);
            c.cls = ClassOf(c.word);
            commands.push_back(c);
        }
        begin = bar + 1;
    }
    return commands;
}

CommandClass Worst(std::string_view value)
{
    CommandClass worst = CommandClass::Plain;
    for (const Command& c : Commands(value)) worst = std::max(worst, c.cls);
    return worst;
}

std::string Describe(const std::vector<Command>& commands)
{
    std::string out;
    for (const Command& c : commands) {
        if (c.cls == CommandClass::Plain) continue;
        if (!out.empty()) out += "; ";
        out.append(Label(c.cls)).append(": ").append(c.text.substr(0, kShownLength));
        if (c.text.size() > kShownLength) out += "...";
    }
    return out;
}

} // namespace fenwake::review
