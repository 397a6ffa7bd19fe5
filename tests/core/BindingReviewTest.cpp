// The rules a shared binding set passes through: the command classes, the
// masking of secrets, the engine's key names and the whole-file check, on
// hand-made lines and on players' own files.
#include "TempDir.h"
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

// Lone CR line ends throughout: read any other way, the file is one line
// and nothing would be found.
TEST(BindingCheck, ReportsWhatTheGameWouldReadOnALoneCrFile)
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
    const auto findings = CheckBindings(text);
    using enum FindingKind;
    const std::string ext = "Extension.InputExt";
    const std::string engine = "Engine.Input";
    const std::vector<Seen> want = {
        {ByteOrderMark, "", ""},          {SectionsDisagree, engine, "Unknown05"}, {SectionsDisagree, engine, "F3"},
        {SectionsDisagree, engine, "F4"}, {SectionsDisagree, engine, "F5"},        {DuplicateKey, engine, "F2"},
        {UndefinedAlias, ext, "F1"},      {DuplicateAliasName, ext, "Bye"},        {RiskyBinding, ext, "F3"},
        {RiskyBinding, ext, "F4"},
    };
    EXPECT_EQ(Kinds(findings), want);
    ASSERT_EQ(findings.size(), want.size());
    EXPECT_EQ(findings[3].detail, "no line where [Extension.InputExt] has \"adminlogin <secret>\"");
    EXPECT_EQ(findings[8].detail, "leaves the game: disconnect (alias Bye)");
    EXPECT_EQ(findings[9].detail, "admin: adminlogin <secret>");

    // The same file with CR LF finds the same.
    std::string crlf;
    for (char c : text) crlf += c == '\r' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(CheckBindings(crlf), findings);
}

TEST(BindingCheck, CountsWhatPlayersFilesHold)
{
    FENWAKE_REAL_FILES(files);
    // Per file: sections disagreeing (key by key), duplicate key lines;
    // nothing else. player-a's two sections differ on 54 keys both bind
    // and on three ([Extension.InputExt]'s N, Unknown05, Unknown06) that
    // [Engine.Input] has no line for.
    const std::map<std::string, std::pair<std::size_t, std::size_t>> want = {
        {"coop-mod_User.ini", {5, 0}},    {"gameplay-mod_User.ini", {37, 0}}, {"nerdmod_User.ini", {0, 0}},
        {"player-a_User.ini", {57, 0}},   {"player-b_User.ini", {10, 0}},     {"player-c_User.ini", {14, 0}},
        {"ut99-player_User.ini", {0, 0}},
    };
    for (const auto& [name, text] : files) {
        std::map<FindingKind, std::size_t> count;
        for (const auto& f : CheckBindings(text)) ++count[f.kind];
        ASSERT_TRUE(want.contains(name)) << name;
        EXPECT_EQ(count[FindingKind::SectionsDisagree], want.at(name).first) << name;
        EXPECT_EQ(count[FindingKind::DuplicateKey], want.at(name).second) << name;
        EXPECT_EQ(count.size() - count.count(FindingKind::SectionsDisagree) - count.count(FindingKind::DuplicateKey),
                  0u)
            << name;
    }
}

TEST(BindingCheck, SurvivesHostileInput)
{
    std::string many = "[Extension.InputExt]\n";
    for (int i = 0; i < 100000; ++i) many += "F1=disconnect\n";
    const auto findings = CheckBindings(many);
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].detail, "100000 lines; the game reads the first");
    EXPECT_EQ(findings[1].kind, FindingKind::RiskyBinding);

    const std::string huge(1 << 20, 'x');
    const std::string nul = "[Extension.InputExt]\nF1=dis\0connect\nF2=\0\n\0[Engine.Input]\nF2=\0\n"s;
    // A NUL before the bracket makes no header: both F2 lines are in one section.
    EXPECT_EQ(Kinds(CheckBindings(nul)), std::vector<Seen>({{FindingKind::DuplicateKey, "Extension.InputExt", "F2"}}));
    const auto big = CheckBindings("[Extension.InputExt]\nF1=adminlogin " + huge + "\n");
    ASSERT_EQ(big.size(), 1u);
    EXPECT_EQ(big[0].detail, "admin: adminlogin <secret>");
    EXPECT_LT(CheckBindings("[Engine.Input]\nF1=" + huge + "\n[Extension.InputExt]\n")[0].detail.size(), 200u);
    EXPECT_EQ(review::MaskSecrets("adminlogin " + huge).text, "adminlogin <secret>");
    EXPECT_EQ(review::Worst("say " + huge + "|quit"), CommandClass::LeavesGame);
    // Names the engine has no key for are not bindings.
    EXPECT_TRUE(CheckBindings("[Extension.InputExt]\n[F1=quit\nF[2=quit\nF=1=quit\n").empty());
}

} // namespace
} // namespace fenwake::test
