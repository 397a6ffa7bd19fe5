// The INI engine against the platform's own profile functions: every read
// case goes through both ConfigFile and GetPrivateProfileStringA, and they
// must agree except where a case names why we differ on purpose.
#include "TempDir.h"
#include "config/ConfigFile.h"

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

namespace fenwake {
namespace {
using namespace std::string_literals;

struct ReadCase {
    const char* name;
    std::string file;
    const char* section;
    const char* key;
    std::string def;
    // Set where we differ from the platform on purpose: our result, and why.
    std::optional<std::string> ours = std::nullopt;
    const char* why = nullptr;
};

std::string PlatformRead(const char* section, const char* key, const std::string& def, const std::string& file)
{
    std::vector<char> buf(2048);
    const DWORD n =
        ::GetPrivateProfileStringA(section, key, def.c_str(), buf.data(), static_cast<DWORD>(buf.size()), file.c_str());
    return std::string(buf.data(), n);
}

// Splits the platform's list form (names ended by NUL, then a final NUL).
std::vector<std::string> PlatformNames(const char* section, const std::string& file)
{
    std::vector<char> buf(1 << 16);
    const DWORD n =
        ::GetPrivateProfileStringA(section, nullptr, "", buf.data(), static_cast<DWORD>(buf.size()), file.c_str());
    std::vector<std::string> names;
    for (std::size_t i = 0; i < n;) {
        std::string name(buf.data() + i);
        i += name.size() + 1;
        if (!name.empty()) names.push_back(std::move(name));
    }
    return names;
}

class ProfileDiff : public test::TempDirTest {
protected:
    // Each case gets a file of its own: the platform caches profiles it has read.
    std::string Fresh(const std::string& bytes)
    {
        const std::string name = ".\\case-" + std::to_string(++files_) + ".ini";
        Put(name.substr(2), bytes);
        return name;
    }

    void Check(const ReadCase& c)
    {
        const std::string path = Fresh(c.file);
        const std::string ours = ConfigFile(path).ReadText(c.section, c.key, c.def);
        const std::string platform = PlatformRead(c.section, c.key, c.def, path);
        if (c.ours) {
            EXPECT_EQ(ours, *c.ours) << c.name << " (deliberate: " << c.why << "; platform gives '" << platform << "')";
        } else {
            EXPECT_EQ(ours, platform) << c.name;
        }
    }

    int files_ = 0;
};

TEST_F(ProfileDiff, NamesAndTrimming)
{
    const ReadCase cases[] = {
        {"plain", "[S]\r\nk=v\r\n", "S", "k", "d"},
        {"case of names", "[Engine.Player]\r\nConfiguredInternetSpeed=10000\r\n", "engine.player",
         "CONFIGUREDINTERNETSPEED", "d"},
        {"blanks around", "[S]\r\n  Name =  Bob  \r\n", "S", "Name", "d"},
        {"tabs around", "[S]\r\n\tName\t=\tBob\t\r\n", "S", "name", "d"},
        {"blanks inside kept", "[S]\r\nk=a  b\t c\r\n", "S", "k", "d"},
        {"empty value", "[S]\r\nk=\r\n", "S", "k", "d"},
        {"blank value", "[S]\r\nk=   \r\n", "S", "k", "d"},
        {"semicolon in value", "[S]\r\nk=a;b=c\r\n", "S", "k", "d"},
        {"brackets in key", "[Extension.InputExt]\r\nAliases[12]=(Command=\"x\",Alias=y)\r\n", "extension.inputext",
         "aliases[12]", "d"},
        {"first section wins", "[A]\r\nk=1\r\n[B]\r\nk=2\r\n[a]\r\nk=3\r\n", "A", "k", "d"},
        {"first key wins", "[A]\r\nk=1\r\nK=2\r\n", "A", "k", "d"},
        {"spaced header", "[ Spaced ]\r\nk=v\r\n", "Spaced", "k", "d"},
        {"indented header", "  [S]\r\nk=v\r\n", "S", "k", "d"},
        {"text after header", "[S] trailing\r\nk=v\r\n", "S", "k", "d"},
        {"line without =", "[S]\r\nk\r\nj=1\r\n", "S", "j", "d"},
        {"comment line", "[S]\r\n; k=commented\r\nk=v\r\n", "S", "k", "d"},
        {"missing key", "[S]\r\nk=v\r\n", "S", "other", "dflt"},
        {"missing section", "[S]\r\nk=v\r\n", "T", "k", "dflt"},
        {"default loses trailing blanks", "[S]\r\n", "S", "k", "dflt  "},
        {"default keeps leading blanks", "[S]\r\n", "S", "k", "  dflt"},
        {"blank-only default", "[S]\r\n", "S", "k", "   ", "",
         "a default loses all its trailing blanks; the platform keeps one of a default of blanks only"},
        {"key asked with blanks", "[S]\r\nk=v\r\n", "S", " k ", "d"},
        {"section asked with blanks", "[S]\r\nk=v\r\n", " S ", "k", "d"},
        {"later section of the same name", "[A]\r\nx=1\r\n[B]\r\n[A]\r\nk=2\r\n", "A", "k", "d"},
        {"header without ]", "[S\r\nk=v\r\n", "S", "k", "d"},
        {"entries after a header without ]", "[A]\r\n[S\r\nk=v\r\n", "A", "k", "d"},
        {"header with ]]", "[S]]\r\nk=v\r\n", "S]", "k", "d"},
        {"header with tabs", "[\tS\t]\r\nk=v\r\n", "S", "k", "d"},
        {"empty section name", "[]\r\nk=v\r\n", "", "k", "d", "v",
         "entries before the first header form no section, so none can hide the one named \"\""},
        {"empty key", "[S]\r\n=v\r\n", "S", "", "d"},
        {"blanks inside key", "[S]\r\nmy key=v\r\n", "S", "MY KEY", "d"},
        {"= in header", "[S=1]\r\nk=v\r\n", "S=1", "k", "d"},
        {"non-ASCII names", "[\xc4]\r\n\xd6=v\r\n", "\xe4", "\xf6", "d"},
        {"vertical tab and form feed", "[S]\r\nk=\vv\f\r\n", "S", "k", "d", "\vv\f",
         "only blanks and tabs are trimmed"},
        {"control-Z", "[S]\r\nk=v\x1a\r\n", "S", "k", "d", "v\x1a", "only blanks and tabs are trimmed"},
        {"entry before any section", "orphan=1\r\n[S]\r\n", "", "orphan", "d", "d",
         "entries before the first section belong to no section"},
    };
    for (const auto& c : cases) Check(c);
}

TEST_F(ProfileDiff, QuotesAndLengths)
{
    const ReadCase cases[] = {
        {"double quotes", "[S]\r\nk=\"quoted\"\r\n", "S", "k", "d"},
        {"single quotes", "[S]\r\nk='quoted'\r\n", "S", "k", "d"},
        {"quotes keep inner blanks", "[S]\r\nk=  \" a \"  \r\n", "S", "k", "d"},
        {"opening quote only", "[S]\r\nk=\"open\r\n", "S", "k", "d"},
        {"mixed quotes", "[S]\r\nk=\"x'\r\n", "S", "k", "d"},
        {"one quote", "[S]\r\nk=\"\r\n", "S", "k", "d"},
        {"two pairs", "[S]\r\nk=\"\"\"\"\r\n", "S", "k", "d"},
        {"alias line", "[S]\r\nk=(Command=\"say hi\",Alias=hi)\r\n", "S", "k", "d"},
        {"long value", "[S]\r\nk=" + std::string(3000, 'a') + "\r\n", "S", "k", "d"},
        {"value of 2047", "[S]\r\nk=" + std::string(2047, 'b') + "\r\n", "S", "k", "d"},
        {"quoted long value", "[S]\r\nk=\"" + std::string(2100, 'q') + "\"\r\n", "S", "k", "d"},
        {"value of 2048", "[S]\r\nk=" + std::string(2048, 'e') + "\r\n", "S", "k", "d"},
        {"long default", "[S]\r\n", "S", "k", std::string(2100, 'c')},
    };
    for (const auto& c : cases) Check(c);
}

TEST_F(ProfileDiff, LineEndingsAndBytes)
{
    const ReadCase cases[] = {
        {"LF only", "[S]\nk=v\nj=w\n", "S", "j", "d"},
        {"no final break", "[S]\r\nk=v", "S", "k", "d"},
        {"CR only", "[S]\rk=v\rj=w\r", "S", "j", "d"},
        {"mixed breaks", "[S]\r\na=1\nb=2\rc=3\r\n", "S", "c", "d"},
        {"Western bytes", "[S]\r\nname=J\xe9r\xf4me \xa9\r\n", "S", "name", "d"},
        {"upper half", "[S]\r\nk=\x80\x9f\xa0\xff\r\n", "S", "k", "d"},
        {"NUL in value", "[S]\r\nk=a\0b\r\n"s, "S", "k", "d", "a\0b"s,
         "bytes are passed through; the platform stops at the NUL"},
        {"UTF-8 byte order mark", "\xef\xbb\xbf[S]\r\nk=v\r\n", "S", "k", "d", "d",
         "single-byte text, as Windows reads it: the mark is part of the first line"},
        {"UTF-16 file", "\xff\xfe[\0S\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0"s, "S", "k", "d", "d", "single-byte text only"},
    };
    for (const auto& c : cases) Check(c);
}

struct WriteCase {
    const char* name;
    std::string file; // empty: no file before the write
    const char* section;
    const char* key;
    const char* value;
};

// Deliberate: the platform rewrites the whole file from what it parsed
// (blanks around "=" and blank lines go, LF becomes CR LF, a new key lands
// after trailing comments, leading blanks of the value are dropped), while
// we change the one entry and replace the file through a flushed temporary.
// What either reader then reads must be the same in both files.
TEST_F(ProfileDiff, WritesReadBackAlike)
{
    const WriteCase cases[] = {
        {"update spaced entry", "; c\r\n[S]\r\n  Name =  Bob  \r\nother = 1 \r\n\r\n[T]\r\nx=1\r\n", "s", "NAME",
         "Alice"},
        {"add key before trailing comment", "[S]\r\na=1\r\n\r\n; c\r\n[T]\r\nx=1\r\n", "S", "b", "2"},
        {"add section, no final break", "[S]\r\na=1", "New", "k", "v"},
        {"LF file", "[S]\na=1\n[T]\nb=2\n", "S", "a", "9"},
        {"new file", "", "Extension.InputExt", "F1", "say hi"},
        {"value with blanks", "[S]\r\n", "S", "k", "  v  "},
        {"section behind a header without ]", "[A]\r\n[S\r\nk=1\r\n", "S", "k", "2"},
        {"first of two sections", "[A]\r\nk=1\r\n[B]\r\n[a]\r\nk=2\r\nj=3\r\n", "A", "j", "4"},
        {"value with quotes and =", "[S]\r\n", "S", "Aliases[3]", "(Command=\"say x\",Alias=x)"},
    };
    for (const auto& c : cases) {
        const std::string ours = ".\\ours-" + std::to_string(++files_) + ".ini";
        const std::string platform = ".\\platform-" + std::to_string(files_) + ".ini";
        if (!c.file.empty()) {
            Put(ours.substr(2), c.file);
            Put(platform.substr(2), c.file);
        }
        ConfigFile(ours).WriteText(c.section, c.key, c.value);
        ASSERT_TRUE(::WritePrivateProfileStringA(c.section, c.key, c.value, platform.c_str())) << c.name;
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, platform.c_str()); // flush its cache

        std::vector<std::pair<std::string, std::string>> entries{{c.section, c.key}};
        for (const auto& file : {ours, platform})
            for (const auto& section : PlatformNames(nullptr, file))
                for (const auto& key : PlatformNames(section.c_str(), file)) entries.emplace_back(section, key);
        for (const auto& [section, key] : entries) {
            const std::string expected = PlatformRead(section.c_str(), key.c_str(), "<none>", platform);
            EXPECT_EQ(PlatformRead(section.c_str(), key.c_str(), "<none>", ours), expected)
                << c.name << ": [" << section << "] " << key;
            EXPECT_EQ(ConfigFile(ours).ReadText(section, key, "<none>"), expected)
                << c.name << ": [" << section << "] " << key;
            EXPECT_EQ(ConfigFile(platform).ReadText(section, key, "<none>"), expected)
                << c.name << ": [" << section << "] " << key;
        }
    }
}

// Real players' files: every value the platform enumerates must read the same.
TEST_F(ProfileDiff, RealWorldFiles)
{
    const std::filesystem::path dir = FENWAKE_REAL_WORLD_DIR;
    if (!std::filesystem::is_directory(dir)) GTEST_SKIP() << "no real-world files at " << dir;
    int compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".ini") continue;
        const std::string path = Fresh(Get(entry.path()));
        const ConfigFile ours(path);
        for (const auto& section : PlatformNames(nullptr, path)) {
            for (const auto& key : PlatformNames(section.c_str(), path)) {
                EXPECT_EQ(ours.ReadText(section, key, "<none>"),
                          PlatformRead(section.c_str(), key.c_str(), "<none>", path))
                    << entry.path().filename() << " [" << section << "] " << key;
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 1000);
}

} // namespace
} // namespace fenwake
