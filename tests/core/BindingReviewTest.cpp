// The rules a shared binding set passes through: the command classes, the
// masking of secrets, the engine's key names and the whole-file check, on
// hand-made lines and on players' own files.
#include "TempDir.h"
#include "config/Ascii.h"
#include "config/IniText.h"
#include "rules/BindingCheck.h"
#include "rules/CommandReview.h"
#include "rules/EngineKeys.h"
#include "rules/KeyAliases.h"
#include "rules/KeyBindings.h"
#include "rules/Secrets.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace fenwake::test {
namespace {
namespace fs = std::filesystem;
using namespace std::string_literals;

using check::CheckBindings;
using check::FindingKind;
using review::CommandClass;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The players' files, by name; empty, with a skip, where the folder is absent.
std::map<std::string, std::string> RealFiles()
{
    std::map<std::string, std::string> files;
    const fs::path source = FENWAKE_REAL_WORLD_DIR;
    if (!fs::is_directory(source)) return files;
    for (const auto& e : fs::directory_iterator(source))
        if (e.path().filename().string().ends_with("_User.ini"))
            files[e.path().filename().string()] = ReadAll(e.path());
    return files;
}

#define FENWAKE_REAL_FILES(files)                                                                                      \
    const auto files = RealFiles();                                                                                    \
    if (files.empty()) GTEST_SKIP() << "no real-world files at " << FENWAKE_REAL_WORLD_DIR

TEST(CommandReview, ClassesEveryCommandAndKeepsTheWorst)
{
    using enum CommandClass;
    const struct {
        const char* value;
        std::vector<CommandClass> each;
    } cases[] = {
        {"Jump", {Plain}},
        {"MyOwnAlias | ActivateBelt 0 | onrelease ParseLeftClick", {Plain, Plain, Plain}},
        {"say disconnect", {Plain}}, // only the first word is the command
        {"onreleaseQuit", {Plain}},
        {"  |  | ", {}},
        {"disconnect | open 1.2.3.4:7790", {LeavesGame, LeavesGame}},
        {"OnRelease QUIT", {LeavesGame}},
        {"exit", {LeavesGame}},
        {"start 1.2.3.4?password=x", {LeavesGame}},
        {"reconnect", {LeavesGame}},
        {"set DeusEx.JCDentonMale MaxSpeed 2000", {ChangesSettings}},
        {"set input F5 say hi", {ChangesSettings}},
        {"Preferences|SetSensitivity 3", {ChangesSettings, ChangesSettings}},
        {"adminlogin hunter2", {Admin}},
        {"admin kick bob | KickBan eve | switchlevel DXMP_Cathedral", {Admin, Admin, Admin}},
        {"exec binds.txt", {RunsFile}},
        {"say hi | adminlogin x | exec y | quit", {Plain, Admin, RunsFile, LeavesGame}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const std::string_view value = c.value;
        const auto commands = review::Commands(value);
        std::vector<CommandClass> each;
        for (const auto& command : commands) {
            each.push_back(command.cls);
            EXPECT_EQ(value.substr(command.offset, command.text.size()), command.text);
        }
        EXPECT_EQ(each, c.each);
        const CommandClass worst = each.empty() ? Plain : *std::max_element(each.begin(), each.end());
        EXPECT_EQ(review::Worst(value), worst);
    }
    EXPECT_EQ(review::Describe(review::Commands("say hi | onrelease disconnect | adminlogin pw")),
              "leaves the game: disconnect; admin: adminlogin pw");
}

// Players' bindings and aliases are the game's own commands and their
// aliases, on keys the engine has: none may be taken for anything else.
TEST(BindingReview, FindsNothingInPlayersFiles)
{
    FENWAKE_REAL_FILES(files);
    for (const auto& [name, text] : files) {
        for (std::string_view section : {"Engine.Input", "Extension.Input", "Extension.InputExt"}) {
            for (const ini::Entry& e : ini::SectionEntries(text, section).value_or(std::vector<ini::Entry>{})) {
                SCOPED_TRACE(name + " [" + std::string(section) + "] " + std::string(e.key));
                const std::string value = ini::ShapeValue(e.value);
                const bool alias = aliases::SlotOfKey(e.key).has_value();
                EXPECT_EQ(review::Worst(alias ? aliases::ParseRow(aliases::RowText(0, value)).command : value),
                          CommandClass::Plain);
                if (section == "Extension.InputExt" && !alias && !value.empty()) {
                    EXPECT_TRUE(keys::EngineSpelling(e.key));
                }
            }
        }
    }
}

TEST(Secrets, MasksOnlyTheSecretsAndOnlyOnce)
{
    const struct {
        const char* value;
        const char* masked;
        std::size_t count;
    } cases[] = {
        {"adminlogin hunter2", "adminlogin <secret>", 1},
        {"onrelease AdminLogin  two words |say hi", "onrelease AdminLogin  <secret> |say hi", 1},
        {"open 1.2.3.4:7790?Password=abc?Name=Me", "open 1.2.3.4:7790?Password=<secret>?Name=Me", 1},
        {"say hi|start host?name=x?GAMEPASSWORD=p q", "say hi|start host?name=x?GAMEPASSWORD=<secret> q", 1},
        {"set GameReplicationInfo AdminPassword x", "set GameReplicationInfo AdminPassword <secret>", 1},
        {"admin set Engine.GameInfo GamePassword x y", "admin set Engine.GameInfo GamePassword <secret>", 1},
        {"disconnect | adminlogin a | open x?password=b", "disconnect | adminlogin <secret> | open x?password=<secret>",
         2},
        {"adminlogin a?password=b", "adminlogin <secret>", 1},
        {"set DeusEx.JCDentonMale MaxSpeed 2000", nullptr, 0},
        {"set X AdminPassword", nullptr, 0},
        {"say my password=swordfish", nullptr, 0},
        {"adminlogin", nullptr, 0},
        {"adminlogin <secret>", nullptr, 0},
        {"", nullptr, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const std::string want = c.masked ? c.masked : c.value;
        const review::Masked once = review::MaskSecrets(c.value);
        EXPECT_EQ(once.text, want);
        EXPECT_EQ(once.Count(), c.count);
        EXPECT_EQ(review::HoldsPlaceholder(once.text), want.find("<secret>") != std::string::npos);
        const review::Masked twice = review::MaskSecrets(once.text);
        EXPECT_EQ(twice.text, once.text);
        EXPECT_EQ(twice.Count(), 0u);
    }
    // In an alias line only the command is a command.
    EXPECT_EQ(review::MaskAliasSecrets("(Command=\"adminlogin pw | say hi\",Alias=Login)").text,
              "(Command=\"adminlogin <secret> | say hi\",Alias=Login)");
    EXPECT_EQ(review::MaskAliasSecrets("(Command=\"say hi\",Alias=adminlogin x)").Count(), 0u);
    EXPECT_EQ(review::MaskAliasSecrets("adminlogin pw").Count(), 0u);
}

TEST(EngineKeys, FindsEveryNameInAnyCaseUnderTheSpellingToWrite)
{
    const struct {
        const char* name;
        std::optional<std::string_view> spelling;
    } cases[] = {
        // clang-format off
        {"mouse4", "Unknown05"}, {"MOUSE5", "Unknown06"}, {"unknown05", "Unknown05"}, {"joy16", "Joy16"},
        {"JOYPOVUP", "JoyPovUp"}, {"f24", "F24"}, {"unknown10f", "Unknown10F"}, {"mousewheelup", "MouseWheelUp"},
        // the game's files and the window's list spell these in lower case
        {"HOME", "home"}, {"I", "i"}, {"Period", "period"},
        {"None", std::nullopt}, {"Mouse6", std::nullopt}, {"F1=", std::nullopt}, {"[F1", std::nullopt},
        {" F1", std::nullopt}, {"", std::nullopt},
        // clang-format on
    };
    for (const auto& c : cases) EXPECT_EQ(keys::EngineSpelling(c.name), c.spelling) << c.name;
    EXPECT_EQ(keys::FriendlyNameOf("UNKNOWN05"), "Mouse4");
    EXPECT_EQ(keys::FriendlyNameOf("F1"), std::nullopt);

    // The window's keys are engine keys under the same spelling.
    for (std::string_view key : keys::kKeyNames) EXPECT_EQ(keys::EngineSpelling(key), key);
    std::set<std::string> folded;
    for (std::string_view key : keys::EngineKeys()) {
        std::string f(key);
        std::transform(f.begin(), f.end(), f.begin(),
                       [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
        EXPECT_TRUE(folded.insert(f).second) << key;
    }
}

struct Seen {
    FindingKind kind;
    std::string section;
    std::string key;
    bool operator==(const Seen&) const = default;
};

std::vector<Seen> Kinds(const std::vector<check::Finding>& findings)
{
    std::vector<Seen> out;
    for (const auto& f : findings) out.push_back({f.kind, f.section, f.key});
    return out;
}

void PrintTo(const Seen& s, std::ostream* os) { *os << check::KindName(s.kind) << " [" << s.section << "] " << s.key; }

constexpr std::string_view kExt = "Extension.InputExt";

// Lone CR line ends throughout: read any other way, the file is one line
// and nothing would be found. Whichever class is named, the section the game
// reads gives the findings and the others the notes.
TEST(BindingCheck, FindsInTheSectionTheGameReadsAndNotesTheOthers)
{
    const std::string text = "\xEF\xBB\xBF[DefaultPlayer]\rName=Player\r"
                             "[Engine.Input]\r"
                             "Aliases[0]=(Command=\"Jump\",Alias=Hop)\r"
                             "F1=Hop\rF2=Jump\rF2=Duck\rF5=Fire\r"
                             "[Extension.InputExt]\r"
                             "Aliases[0]=(Command=\"disconnect\",Alias=Bye)\r"
                             "Aliases[1]=(Command=\"say bye\",Alias=bye)\r"
                             "Aliases[2]=(Command=\"\",Alias=None)\r"
                             "Aliases[3]=(Command=\"\",Alias=None)\r"
                             "F1=Hop\rF2=Jump\rF3=onrelease Bye\rF4=adminlogin hunter2\rF5=say gg\r"
                             "Unknown05=Jump\rMouse4=disconnect\r"
                             "[Extension.InputExt]\rF6=quit\r"; // a second section of a name is never read
    using enum FindingKind;
    const std::string ext(kExt);
    const std::string engine = "Engine.Input";
    const struct {
        std::string read;
        std::vector<Seen> findings, notes;
    } cases[] = {
        {ext,
         {{ByteOrderMark, "", ""},
          {UndefinedAlias, ext, "F1"},
          {DuplicateAliasName, ext, "Bye"},
          {RiskyBinding, ext, "F3"},
          {RiskyBinding, ext, "F4"}},
         {{SectionsDisagree, engine, "Unknown05"},
          {SectionsDisagree, engine, "F3"},
          {SectionsDisagree, engine, "F4"},
          {SectionsDisagree, engine, "F5"},
          {DuplicateKey, engine, "F2"}}},
        // Named in another letter case, it is still the same section.
        {"engine.input",
         {{ByteOrderMark, "", ""}, {DuplicateKey, "engine.input", "F2"}},
         {{SectionsDisagree, ext, "Unknown05"},
          {SectionsDisagree, ext, "F3"},
          {SectionsDisagree, ext, "F4"},
          {SectionsDisagree, ext, "F5"}}},
        {"Mod.InputMod",
         {{ByteOrderMark, "", ""}},
         {{MissingSection, "Mod.InputMod", ""}, {DuplicateKey, engine, "F2"}}},
    };
    for (const auto& c : cases) {
        const check::Report report = CheckBindings(text, c.read);
        EXPECT_EQ(Kinds(report.findings), c.findings) << c.read;
        EXPECT_EQ(Kinds(report.notes), c.notes) << c.read;
        // The same file with CR LF finds the same.
        std::string crlf;
        for (char ch : text) crlf += ch == '\r' ? std::string("\r\n") : std::string(1, ch);
        EXPECT_EQ(CheckBindings(crlf, c.read), report) << c.read;
    }
    const check::Report report = CheckBindings(text, kExt);
    ASSERT_EQ(report.findings.size(), 5u);
    EXPECT_EQ(report.findings[3].detail, "leaves the game: disconnect (alias Bye)");
    EXPECT_EQ(report.findings[4].detail, "admin: adminlogin <secret>");
    EXPECT_EQ(report.notes[2].detail, "no line where [Extension.InputExt] has \"adminlogin <secret>\"");
}

// As the engine reads a profile entry: the first section of the name, the
// first line of the key in any letter case, the blanks around it dropped.
TEST(BindingCheck, ReadsTheInputClassAsTheEngineDoes)
{
    using enum check::ClassSource;
    const std::string ext(kExt);
    const struct {
        std::optional<std::string_view> systemIni;
        check::InputClass want;
    } cases[] = {
        {std::nullopt, {ext, NoFile}},
        {"", {ext, NoLine}},
        {"[Engine.Engine]\r\nGameRenderDevice=OpenGLDrv.OpenGLRenderDevice\r\n", {ext, NoLine}},
        {"[Engine.Engine]\r\nInput=Engine.Input\r\nInput=Extension.InputExt\r\n", {"Engine.Input", Named}},
        {"[ engine.ENGINE ]\n \tiNPUT \t=  Engine.Input \t\n", {"Engine.Input", Named}},
        {"[Engine.Engine]\rInput=\"Engine.Input\"\r", {"Engine.Input", Named}},
        {"[Engine.Engine]\nInput=\n", {ext, NoLine}},
        {"[Engine.Engine]\n;Input=Engine.Input\nInputs=Engine.Input\n", {ext, NoLine}},
        {"[Engine.Engine]\n[Engine.Render]\nInput=Engine.Input\n", {ext, NoLine}},
        {"[Engine.Engine]\nRender=Render.Render\n[Engine.Engine]\nInput=Engine.Input\n", {ext, NoLine}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(check::ReadInputClass(c.systemIni), c.want) << c.systemIni.value_or("(no file)");
}

// Each player's User.ini with the DeusEx.ini that came with it, if any:
// every one names the class whose section the rules read by default.
TEST(BindingCheck, CountsWhatPlayersFilesHold)
{
    FENWAKE_REAL_FILES(files);
    std::map<std::string, std::string> systemInis; // by the prefix the pair shares
    for (const auto& e : fs::directory_iterator(FENWAKE_REAL_WORLD_DIR)) {
        const std::string name = e.path().filename().string();
        if (ascii::ToLower(name).ends_with("_deusex.ini"))
            systemInis[name.substr(0, name.rfind('_'))] = ReadAll(e.path());
    }
    ASSERT_FALSE(systemInis.empty());
    for (const auto& [prefix, text] : systemInis)
        EXPECT_EQ(check::ReadInputClass(text), (check::InputClass{std::string(kExt), check::ClassSource::Named}))
            << prefix;

    // Per file: notes (sections that disagree key by key, or the missing
    // section the game reads); no file has a finding. player-a's two sections
    // differ on 54 keys both bind and on three ([Extension.InputExt]'s N,
    // Unknown05, Unknown06) that [Engine.Input] has no line for.
    const std::map<std::string, std::size_t> notes = {
        {"coop-mod", 5},  {"gameplay-mod", 37}, {"nerdmod", 1},     {"player-a", 57},
        {"player-b", 10}, {"player-c", 14},     {"ut99-player", 1},
    };
    for (const auto& [name, text] : files) {
        const std::string prefix = name.substr(0, name.rfind('_'));
        const auto beside = systemInis.find(prefix);
        const check::InputClass input = check::ReadInputClass(
            beside == systemInis.end() ? std::nullopt : std::optional<std::string_view>(beside->second));
        const check::Report report = CheckBindings(text, input.name);
        ASSERT_TRUE(notes.contains(prefix)) << name;
        EXPECT_EQ(Kinds(report.findings), std::vector<Seen>()) << name;
        EXPECT_EQ(report.notes.size(), notes.at(prefix)) << name;
    }
}

TEST(BindingCheck, SurvivesHostileInput)
{
    std::string many = "[Extension.InputExt]\n";
    for (int i = 0; i < 100000; ++i) many += "F1=disconnect\n";
    const auto findings = CheckBindings(many, kExt).findings;
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].detail, "100000 lines; the game reads the first");
    EXPECT_EQ(findings[1].kind, FindingKind::RiskyBinding);

    const std::string huge(1 << 20, 'x');
    const std::string nul = "[Extension.InputExt]\nF1=dis\0connect\nF2=\0\n\0[Engine.Input]\nF2=\0\n"s;
    // A NUL before the bracket makes no header: both F2 lines are in one section.
    EXPECT_EQ(Kinds(CheckBindings(nul, kExt).findings),
              std::vector<Seen>({{FindingKind::DuplicateKey, "Extension.InputExt", "F2"}}));
    const auto big = CheckBindings("[Extension.InputExt]\nF1=adminlogin " + huge + "\n", kExt).findings;
    ASSERT_EQ(big.size(), 1u);
    EXPECT_EQ(big[0].detail, "admin: adminlogin <secret>");
    EXPECT_LT(CheckBindings("[Engine.Input]\nF1=" + huge + "\n[Extension.InputExt]\n", kExt).notes[0].detail.size(),
              200u);
    EXPECT_EQ(review::MaskSecrets("adminlogin " + huge).text, "adminlogin <secret>");
    EXPECT_EQ(review::Worst("say " + huge + "|quit"), CommandClass::LeavesGame);
    // Names the engine has no key for are not bindings.
    EXPECT_EQ(CheckBindings("[Extension.InputExt]\n[F1=quit\nF[2=quit\nF=1=quit\n", kExt), check::Report());
}

} // namespace
} // namespace fenwake::test
