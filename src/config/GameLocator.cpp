#include "config/GameLocator.h"

#include "config/Ascii.h"
#include "config/FileSystem.h"
#include "config/GameFiles.h"
#include "config/IniText.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <limits>
#include <map>
#include <set>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace fenwake::locate {
namespace fs = std::filesystem;
namespace {

// The game's files, named as its installers spell them (game::kUserIni
// without the leading ".\").
constexpr std::string_view kSystemFolder = "System";
constexpr std::string_view kGameProgram = game::kGameProgram;
constexpr std::string_view kGamePackage = "DeusEx.u";
constexpr std::string_view kUserIni = game::kUserIni.substr(2);
constexpr std::string_view kSystemIni = game::kSystemIni.substr(2);

// Kentie's launcher: its program, the section it keeps in DeusEx.ini (its
// project name), and the folder under Documents that it rebases the game's
// files to, the game's own folder layout kept below it.
constexpr std::string_view kLauncherProgram = game::kLauncherProgram;
constexpr std::string_view kLauncherSection = "DeusExe";
constexpr std::string_view kLauncherFolder = "Deus Ex";

constexpr std::string_view kVirtualStore = "VirtualStore";

// Steam installs app 6910 into steamapps/common/Deus Ex of a library; Proton
// runs it in the prefix steamapps/compatdata/6910/pfx of the same library.
constexpr std::string_view kSteamApps = "steamapps";
constexpr std::string_view kSteamCommon = "common";
constexpr std::string_view kSteamGameFolder = "Deus Ex";
constexpr std::string_view kSteamAppId = "6910";
constexpr std::string_view kLibraryList = "libraryfolders.vdf";
constexpr std::string_view kCompatData = "compatdata";
constexpr std::string_view kProtonPrefix = "pfx";
constexpr std::string_view kSteamFolder = "Steam"; // Steam for Windows in Program Files
// A library list is a few kilobytes; anything much larger is not one.
constexpr std::uintmax_t kLargestLibraryList = 1 << 20;
constexpr int kDeepestBlock = 16;

// A Wine prefix's layout. Wine names Documents "My Documents" up to 5.x.
constexpr std::string_view kWineDrive = "drive_c";
constexpr std::string_view kWineDevices = "dosdevices";
constexpr std::string_view kWineUsers = "users";
constexpr std::string_view kWineSharedUser = "Public";
constexpr std::array<std::string_view, 2> kDocuments = {"Documents", "My Documents"};
constexpr std::array<std::string_view, 2> kProgramFiles = {"Program Files", "Program Files (x86)"};

// Where the GOG installers put games, and what they leave beside them
// (goggame-<id>.info; older installers gog.ico and goglog.ini).
constexpr std::string_view kGogGames = "GOG Games";
constexpr std::array<std::string_view, 2> kGogGalaxyGames = {"GOG Galaxy", "Games"};
constexpr std::string_view kGogMark = "gog";
// Of the folders in Program Files and the like, only those whose name says
// so are looked into ("Deus Ex", "DeusEx", "Deus Ex GOTY").
constexpr std::string_view kGameNameMark = "deus";

bool StartsNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && ascii::EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool ContainsNoCase(std::string_view text, std::string_view part)
{
    for (std::size_t i = 0; i + part.size() <= text.size(); ++i)
        if (ascii::EqualsNoCase(text.substr(i, part.size()), part)) return true;
    return false;
}

// Names travel as UTF-8 whatever the platform's own path encoding.
std::string Utf8(const fs::path& p)
{
    const std::u8string text = p.u8string();
    return {text.begin(), text.end()};
}

std::string NameOf(const fs::path& p) { return Utf8(p.filename()); }

fs::path FromUtf8(std::string_view s) { return fs::path(std::u8string(s.begin(), s.end())); }

bool IsDirectory(const fs::path& p)
{
    std::error_code ec;
    return fs::is_directory(p, ec);
}

std::optional<fs::path> Canonical(const fs::path& p)
{
    std::error_code ec;
    fs::path c = fs::canonical(p, ec);
    if (ec) return std::nullopt;
    return c;
}

// The subfolders of dir in byte order; none where it cannot be read.
std::vector<fs::path> Subfolders(const fs::path& dir)
{
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (std::error_code typeError; it->is_directory(typeError)) found.push_back(it->path());
    std::sort(found.begin(), found.end());
    return found;
}

// The root of the file system, or of a drive.
bool IsRoot(const fs::path& p) { return !p.empty() && p == p.root_path(); }

// Where p lies below base, compared without regard to ASCII case as Windows
// compares; nothing when it does not.
std::optional<fs::path> RelativeBelow(const fs::path& p, const fs::path& base)
{
    auto in = p.begin();
    for (const fs::path& part : base) {
        if (part.empty()) continue;                                                            // a trailing separator
        if (in == p.end() || !ascii::EqualsNoCase(Utf8(*in), Utf8(part))) return std::nullopt; // C: and \ too
        ++in;
    }
    fs::path rest;
    for (; in != p.end(); ++in) rest /= *in;
    return rest;
}

// A section header of that name in an INI file's text.
bool HasSection(std::string_view text, std::string_view name)
{
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
            line.remove_suffix(1);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']' &&
            ascii::EqualsNoCase(line.substr(1, line.size() - 2), name))
            return true;
    }
    return false;
}

struct VdfError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Valve's KeyValues text: "key" "value" pairs and "key" { ... } blocks, with
// // comments, [$PLATFORM] conditions and backslash escapes.
class Vdf {
public:
    struct Node {
        std::string key;
        std::string value;
        std::vector<Node> children;
        bool block = false;
    };

    static std::vector<Node> Parse(std::string_view text)
    {
        Vdf vdf(text);
        return vdf.Block(0);
    }

private:
    enum class Token { End, Open, Close, Text };

    explicit Vdf(std::string_view text) : text_(text) {}

    std::vector<Node> Block(int depth)
    {
        if (depth > kDeepestBlock) throw VdfError("blocks nested too deep");
        std::vector<Node> nodes;
        for (;;) {
            Node node;
            switch (Next(node.key)) {
            case Token::End:
                if (depth > 0) throw VdfError("a block is not closed");
                return nodes;
            case Token::Close:
                if (depth == 0) throw VdfError("a block is closed twice");
                return nodes;
            case Token::Open:
                throw VdfError("a block without a name");
            case Token::Text:
                break;
            }
            const Token value = Next(node.value);
            if (value == Token::Open) {
                node.block = true;
                node.children = Block(depth + 1);
            } else if (value != Token::Text) {
                throw VdfError("a name without a value");
            }
            nodes.push_back(std::move(node));
        }
    }

    void SkipBlanks()
    {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                ++pos_;
            } else if (text_.substr(pos_).starts_with("//")) {
                pos_ = std::min(text_.find('\n', pos_), text_.size());
            } else if (c == '[') { // a platform condition: not part of the data
                pos_ = std::min(text_.find(']', pos_), text_.size() - 1) + 1;
            } else {
                return;
            }
        }
    }

    Token Next(std::string& out)
    {
        SkipBlanks();
        out.clear();
        if (pos_ >= text_.size()) return Token::End;
        const char c = text_[pos_];
        if (c == '{' || c == '}') {
            ++pos_;
            return c == '{' ? Token::Open : Token::Close;
        }
        if (c != '"') {
            while (pos_ < text_.size() && std::string_view(" \t\r\n{}\"").find(text_[pos_]) == std::string_view::npos)
                out += text_[pos_++];
            return Token::Text;
        }
        for (++pos_; pos_ < text_.size(); ++pos_) {
            char ch = text_[pos_];
            if (ch == '"') {
                ++pos_;
                return Token::Text;
            }
            if (ch == '\\' && pos_ + 1 < text_.size()) {
                ch = text_[++pos_];
                if (ch == 'n') ch = '\n';
                if (ch == 't') ch = '\t';
            }
            out += ch;
        }
        throw VdfError("a quoted string is not closed");
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

bool IsNumber(std::string_view s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The libraries a Steam library list names, in its old form ("1" "D:\\Games")
// and its new one ("0" { "path" "D:\\Games" ... }).
std::vector<std::string> LibraryPaths(std::string_view text)
{
    std::vector<std::string> paths;
    for (const Vdf::Node& top : Vdf::Parse(text)) {
        if (!top.block || !ascii::EqualsNoCase(top.key, "libraryfolders")) continue;
        for (const Vdf::Node& entry : top.children) {
            if (!entry.block) {
                if (IsNumber(entry.key)) paths.push_back(entry.value);
                continue;
            }
            const auto path = std::find_if(entry.children.begin(), entry.children.end(), [](const Vdf::Node& field) {
                return !field.block && ascii::EqualsNoCase(field.key, "path");
            });
            if (path != entry.children.end()) paths.push_back(path->value);
        }
    }
    return paths;
}

// A folder as Steam for Windows wrote it ("D:\Games"), where this program
// reaches it: inside a Wine prefix, through its drive letters.
fs::path Reachable(std::string_view written, const Machine* machine)
{
    const bool lettered = written.size() >= 2 && written[1] == ':' &&
                          ((written[0] >= 'A' && written[0] <= 'Z') || (written[0] >= 'a' && written[0] <= 'z'));
    if (!lettered || machine == nullptr || machine->dosDevices.empty()) return FromUtf8(written);
    const char letter[] = {static_cast<char>(written[0] | 0x20), ':', '\0'};
    fs::path p = machine->dosDevices / letter;
    std::string_view rest = written.substr(2);
    while (!rest.empty()) {
        const std::size_t cut = rest.find_first_of("\\/");
        if (cut != 0) p /= FromUtf8(rest.substr(0, cut));
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    }
    return p;
}

// Names looked up as files::Resolve matches them: the exact name first, then
// the first entry in byte order that differs only in ASCII case (a Wine
// prefix keeps whatever case each installer gave its names). Each folder is
// listed at most once.
class Lookup {
public:
    std::optional<fs::path> Child(const fs::path& dir, std::string_view name)
    {
        fs::path exact = dir / FromUtf8(name);
        std::error_code ec;
        if (fs::exists(fs::symlink_status(exact, ec))) return exact;
        auto [listed, fresh] = listings_.try_emplace(dir);
        if (fresh) {
            for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
                listed->second.push_back(NameOf(it->path()));
            std::sort(listed->second.begin(), listed->second.end());
        }
        for (const std::string& entry : listed->second)
            if (ascii::EqualsNoCase(entry, name)) return dir / FromUtf8(entry);
        return std::nullopt;
    }

    std::optional<fs::path> Walk(fs::path dir, std::initializer_list<std::string_view> names)
    {
        for (std::string_view name : names) {
            auto next = Child(dir, name);
            if (!next) return std::nullopt;
            dir = std::move(*next);
        }
        return dir;
    }

    std::optional<fs::path> Folder(const fs::path& dir, std::string_view name)
    {
        auto found = Child(dir, name);
        if (found && !IsDirectory(*found)) return std::nullopt;
        return found;
    }

    bool Has(const fs::path& dir, std::string_view name)
    {
        auto found = Child(dir, name);
        std::error_code ec;
        return found && fs::is_regular_file(*found, ec);
    }

    // The game's program or its main package: a folder merely named like
    // the game is no install.
    bool IsGameSystem(const fs::path& dir) { return Has(dir, kGameProgram) || Has(dir, kGamePackage); }
    bool HasSettings(const fs::path& dir) { return Has(dir, kUserIni); }

private:
    std::map<fs::path, std::vector<std::string>> listings_;
};

// The Windows inside a Wine prefix (Proton's pfx folders are such prefixes).
Machine PrefixMachine(Lookup& look, const fs::path& prefix)
{
    Machine m;
    const auto drive = look.Folder(prefix, kWineDrive);
    if (!drive) return m;
    m.drive = *drive;
    for (std::string_view name : kProgramFiles)
        if (auto folder = look.Folder(*drive, name)) m.programFiles.push_back(*folder);
    if (auto users = look.Folder(*drive, kWineUsers)) {
        for (const fs::path& user : Subfolders(*users)) {
            if (ascii::EqualsNoCase(NameOf(user), kWineSharedUser)) continue;
            for (std::string_view name : kDocuments)
                if (auto documents = look.Folder(user, name)) m.documents.push_back(*documents);
        }
    }
    if (auto devices = look.Folder(prefix, kWineDevices)) m.dosDevices = *devices;
    return m;
}

class Search {
public:
    explicit Search(const Places& places) : places_(places) {}

    std::vector<Install> Run(const fs::path& start)
    {
        FromStart(start);
        if (places_.host) FromMachine(*places_.host);
        for (const fs::path& prefix : places_.winePrefixes)
            if (const Machine* m = Prefix(prefix)) FromMachine(*m);
        for (const fs::path& root : places_.steamRoots) FromSteam(root, nullptr);
        if (places_.host) FromDocuments(*places_.host);
        for (const Machine& m : prefixes_) FromDocuments(m);
        return std::move(found_);
    }

    std::optional<Install> Elsewhere(const fs::path& start)
    {
        const fs::path folder = Absolute(start);
        std::string mod;
        if (!look_.IsGameSystem(folder)) {
            // A mod's own System folder beside the game's.
            const fs::path modRoot = folder.parent_path();
            const auto gameSystem = look_.Folder(modRoot.parent_path(), kSystemFolder);
            if (!ascii::EqualsNoCase(NameOf(folder), kSystemFolder) || !gameSystem ||
                !look_.IsGameSystem(*gameSystem) || ascii::EqualsNoCase(NameOf(modRoot), kSystemFolder))
                return std::nullopt;
            mod = NameOf(modRoot);
        }
        const auto system = Canonical(folder);
        if (!system) return std::nullopt;
        const Machine* machine = MachineOf(*system);
        Install install = Settle(*system, mod.empty() ? KindOf(*system, machine) : Kind::Mod, mod, machine);
        if (install.reason == Reason::GameFolder) return std::nullopt;
        return install;
    }

private:
    static fs::path Absolute(const fs::path& p)
    {
        std::error_code ec;
        fs::path a = fs::absolute(p, ec);
        return (ec ? p : a).lexically_normal();
    }

    // The starting folder, or the first of its parents, that is the game's
    // System folder or holds it.
    void FromStart(const fs::path& start)
    {
        for (fs::path at = Absolute(start);; at = at.parent_path()) {
            const auto system = look_.IsGameSystem(at) ? std::optional<fs::path>(at) : look_.Folder(at, kSystemFolder);
            if (system && look_.IsGameSystem(*system)) {
                if (auto canonical = Canonical(*system)) {
                    const Machine* machine = MachineOf(*canonical);
                    Add(*canonical, KindOf(*canonical, machine), {}, machine);
                }
                return;
            }
            if (at == at.parent_path() || at.empty()) return;
        }
    }

    void FromMachine(const Machine& m)
    {
        std::vector<fs::path> steamRoots = m.steamRoots;
        std::vector<fs::path> parents;
        if (!m.drive.empty()) {
            parents.push_back(m.drive);
            if (auto gog = look_.Folder(m.drive, kGogGames)) parents.push_back(*gog);
        }
        for (const fs::path& programFiles : m.programFiles) {
            if (auto steam = look_.Folder(programFiles, kSteamFolder)) steamRoots.push_back(*steam);
            parents.push_back(programFiles);
            if (auto galaxy = look_.Walk(programFiles, {kGogGalaxyGames[0], kGogGalaxyGames[1]}))
                parents.push_back(*galaxy);
        }
        for (const fs::path& root : steamRoots) FromSteam(root, &m);
        for (const fs::path& parent : parents) {
            for (const fs::path& folder : Subfolders(parent)) {
                if (!ContainsNoCase(NameOf(folder), kGameNameMark)) continue;
                const auto system = look_.Folder(folder, kSystemFolder);
                if (!system || !look_.IsGameSystem(*system)) continue;
                if (auto canonical = Canonical(*system)) Add(*canonical, KindOf(*canonical, &m), {}, &m);
            }
        }
    }

    // machine: the Windows that this Steam for Windows runs in; none for
    // Steam for Linux, whose games run in their library's Proton prefix.
    void FromSteam(const fs::path& root, const Machine* machine)
    {
        const auto canonicalRoot = Canonical(root);
        if (!canonicalRoot || !steamRoots_.insert(*canonicalRoot).second) return;
        std::vector<fs::path> libraries = {*canonicalRoot};
        if (auto list = look_.Walk(*canonicalRoot, {kSteamApps, kLibraryList})) {
            for (const std::string& written : LibraryList(*list)) libraries.push_back(Reachable(written, machine));
        }
        for (const fs::path& library : libraries) {
            const auto canonical = Canonical(library);
            if (!canonical || !libraries_.insert(*canonical).second) continue;
            const auto system = look_.Walk(*canonical, {kSteamApps, kSteamCommon, kSteamGameFolder, kSystemFolder});
            if (!system || !look_.IsGameSystem(*system)) continue;
            if (auto game = Canonical(*system))
                Add(*game, Kind::Steam, {}, machine ? machine : Proton(*canonical, *canonicalRoot));
        }
    }

    // An unreadable or malformed list is passed over: the Steam folder
    // itself is still a library.
    std::vector<std::string> LibraryList(const fs::path& file)
    {
        std::error_code ec;
        const std::uintmax_t size = fs::file_size(file, ec);
        if (ec || size > kLargestLibraryList) return {};
        const auto text = files::ReadAll(file);
        if (!text) return {};
        try {
            return LibraryPaths(*text);
        } catch (const VdfError&) {
            return {};
        }
    }

    // Copies that Kentie's launcher keeps in Documents for an install this
    // search did not find (the game lies where nothing looks).
    void FromDocuments(const Machine& m)
    {
        for (const fs::path& documents : m.documents) {
            const auto folder = look_.Folder(documents, kLauncherFolder);
            if (!folder) continue;
            for (const fs::path& sub : Subfolders(*folder)) {
                const bool game = ascii::EqualsNoCase(NameOf(sub), kSystemFolder);
                const auto live = game ? std::optional<fs::path>(sub) : look_.Folder(sub, kSystemFolder);
                if (!live || !look_.HasSettings(*live)) continue;
                const auto canonical = Canonical(*live);
                if (!canonical || !lives_.insert(*canonical).second) continue;
                found_.push_back({{},
                                  game ? Kind::Plain : Kind::Mod,
                                  game ? std::string() : NameOf(sub),
                                  *canonical,
                                  Reason::LauncherDocuments});
            }
        }
    }

    // An install once, with its mods, when it has settings to edit.
    void Add(const fs::path& system, Kind kind, const std::string& mod, const Machine* machine)
    {
        if (!systems_.insert(system).second) return;
        Install install = Settle(system, kind, mod, machine);
        if (look_.HasSettings(install.live)) {
            lives_.insert(install.live);
            found_.push_back(std::move(install));
        }
        if (kind == Kind::Mod) return;
        for (const fs::path& folder : Subfolders(system.parent_path())) {
            const std::string name = NameOf(folder);
            if (ascii::EqualsNoCase(name, kSystemFolder)) continue;
            if (auto modSystem = look_.Folder(folder, kSystemFolder))
                if (auto canonical = Canonical(*modSystem)) Add(*canonical, Kind::Mod, name, machine);
        }
    }

    // Where the game reads the install's User.ini: the launcher's Documents
    // copy once there is one, else the VirtualStore's copy, else its own.
    Install Settle(const fs::path& system, Kind kind, const std::string& mod, const Machine* machine)
    {
        Install install{system, kind, mod, system, Reason::GameFolder};
        if (machine == nullptr) return install;
        // A mod is started through the game's own launcher, or one of its own.
        const auto gameSystem = kind == Kind::Mod ? look_.Folder(system.parent_path().parent_path(), kSystemFolder)
                                                  : std::optional<fs::path>(system);
        const bool launcher =
            look_.Has(system, kLauncherProgram) || (gameSystem && look_.Has(*gameSystem, kLauncherProgram));
        for (const fs::path& documents : machine->documents) {
            auto copy = mod.empty() ? look_.Walk(documents, {kLauncherFolder, kSystemFolder})
                                    : look_.Walk(documents, {kLauncherFolder, mod, kSystemFolder});
            if (!copy || !look_.HasSettings(*copy) || !(launcher || WrittenByLauncher(*copy))) continue;
            if (auto canonical = Canonical(*copy)) {
                install.live = *canonical;
                install.reason = Reason::LauncherDocuments;
                return install;
            }
        }
        if (machine->localAppData.empty()) return install;
        const auto drive = Canonical(machine->drive);
        const auto below = drive ? RelativeBelow(system, *drive) : std::nullopt;
        if (!below) return install;
        const fs::path copy = machine->localAppData / kVirtualStore / *below;
        if (look_.HasSettings(copy)) {
            install.live = Canonical(copy).value_or(copy);
            install.reason = Reason::VirtualStore;
        }
        return install;
    }

    // The launcher renamed to DeusEx.exe, as Steam players do so that Steam
    // starts it, still leaves its section in the DeusEx.ini it writes.
    bool WrittenByLauncher(const fs::path& copy)
    {
        const auto ini = look_.Child(copy, kSystemIni);
        const auto text = ini ? files::ReadAll(*ini) : std::nullopt;
        return text && HasSection(*text, kLauncherSection);
    }

    Kind KindOf(const fs::path& system, const Machine* machine)
    {
        const fs::path root = system.parent_path();
        const fs::path common = root.parent_path();
        if (ascii::EqualsNoCase(NameOf(common), kSteamCommon) &&
            ascii::EqualsNoCase(NameOf(common.parent_path()), kSteamApps))
            return Kind::Steam;
        std::error_code ec;
        for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
            if (StartsNoCase(NameOf(it->path()), kGogMark)) return Kind::Gog;
        // The CD's installer puts the game straight below a drive (C:\DeusEx).
        const fs::path parent = root.parent_path();
        const auto drive = machine ? Canonical(machine->drive) : std::nullopt;
        return IsRoot(parent) || (drive && parent == *drive) ? Kind::Cd : Kind::Plain;
    }

    // The Windows a game found by its folder runs in: Windows itself; the
    // Wine prefix it lies in; its Steam library's Proton prefix; else the
    // prefix that wine uses when none is named.
    const Machine* MachineOf(const fs::path& system)
    {
        if (places_.host) return &*places_.host;
        // Steam for Windows can run inside a prefix too: the prefix decides.
        for (fs::path at = system; at.has_relative_path(); at = at.parent_path())
            if (ascii::EqualsNoCase(NameOf(at), kWineDrive)) return Prefix(at.parent_path());
        for (fs::path at = system; at.has_relative_path(); at = at.parent_path()) {
            if (ascii::EqualsNoCase(NameOf(at), kSteamCommon) &&
                ascii::EqualsNoCase(NameOf(at.parent_path()), kSteamApps)) {
                const fs::path library = at.parent_path().parent_path();
                return Proton(library, library);
            }
        }
        for (const fs::path& prefix : places_.winePrefixes)
            if (const Machine* m = Prefix(prefix)) return m;
        return nullptr;
    }

    const Machine* Proton(const fs::path& library, const fs::path& steamRoot)
    {
        for (const fs::path& base : {library, steamRoot})
            if (auto prefix = look_.Walk(base, {kSteamApps, kCompatData, kSteamAppId, kProtonPrefix}))
                if (const Machine* m = Prefix(*prefix)) return m;
        return nullptr;
    }

    // Each prefix is looked into once, however often it is reached.
    const Machine* Prefix(const fs::path& prefix)
    {
        const auto canonical = Canonical(prefix);
        if (!canonical) return nullptr;
        auto [at, fresh] = prefixIndex_.try_emplace(*canonical, nullptr);
        if (fresh) {
            Machine m = PrefixMachine(look_, *canonical);
            if (!m.drive.empty()) at->second = &prefixes_.emplace_back(std::move(m));
        }
        return at->second;
    }

    const Places& places_;
    Lookup look_;
    std::deque<Machine> prefixes_; // stays put as it grows: installs point into it
    std::map<fs::path, const Machine*> prefixIndex_;
    std::set<fs::path> systems_, lives_, steamRoots_, libraries_;
    std::vector<Install> found_;
};

} // namespace

std::string_view Describe(Kind kind)
{
    switch (kind) {
    case Kind::Plain:
        return "plain";
    case Kind::Steam:
        return "Steam";
    case Kind::Gog:
        return "GOG";
    case Kind::Cd:
        return "CD";
    case Kind::Mod:
        return "mod";
    }
    return "?";
}

std::string_view Describe(Reason reason)
{
    switch (reason) {
    case Reason::GameFolder:
        return "the game folder";
    case Reason::LauncherDocuments:
        return "Kentie's launcher: Documents copy";
    case Reason::VirtualStore:
        return "VirtualStore copy";
    }
    return "?";
}

std::vector<Install> FindInstalls(const Places& places, const fs::path& start) { return Search(places).Run(start); }

std::vector<Install> FindInstalls(const fs::path& start) { return FindInstalls(PlatformPlaces(), start); }

void NewestSettingsFirst(std::vector<Install>& installs)
{
    const auto written = [](const Install& install) -> std::int64_t {
        std::error_code ec;
        for (fs::directory_iterator it(install.live, ec), end; !ec && it != end; it.increment(ec)) {
            if (!ascii::EqualsNoCase(NameOf(it->path()), kUserIni)) continue;
            if (const auto stamp = files::StampOf(it->path())) return stamp->modified;
        }
        return std::numeric_limits<std::int64_t>::min();
    };
    std::vector<std::pair<std::int64_t, Install>> stamped;
    for (Install& install : installs) stamped.emplace_back(written(install), std::move(install));
    std::stable_sort(stamped.begin(), stamped.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t i = 0; i < installs.size(); ++i) installs[i] = std::move(stamped[i].second);
}

std::optional<Install> LiveElsewhere(const Places& places, const fs::path& start)
{
    return Search(places).Elsewhere(start);
}

std::optional<Install> LiveElsewhere(const fs::path& start) { return LiveElsewhere(PlatformPlaces(), start); }

} // namespace fenwake::locate
