// Players' and mod makers' own files (kept outside the repository): every
// entry reads as a careful reading of its line gives it, and every kind of
// write changes what it should and not one other byte.
#include "TempDir.h"
#include "config/ConfigFile.h"
#include "config/IniText.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <vector>

namespace fenwake {
namespace {
namespace fs = std::filesystem;

constexpr const char* kMissing = "\x01missing";
constexpr std::string_view kNewValue = "Fenwake test value | onrelease 1";

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::string Lower(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

struct Entry {
    std::string section;
    std::string key;
    std::string value;      // trimmed, as on the line
    std::size_t valueBegin; // just past the "="
    std::size_t valueEnd;   // where the line break starts
};

struct Section {
    std::string name;
    std::size_t insertAt; // just past the break of the header or of its last entry line
};

// A plain reading of the file: the first section of each name, the first
// entry of each key in it.
struct Parsed {
    std::vector<Entry> entries;
    std::vector<Section> sections;
    std::string eol;
};

Parsed Parse(std::string_view text)
{
    Parsed out;
    std::map<std::string, bool> seenSections; // name -> is the first one
    std::map<std::pair<std::string, std::string>, bool> seenKeys;
    Section* current = nullptr;
    bool ignoring = true; // before any section, or in a repeated one
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t end = pos;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        std::size_t next = end;
        if (end < text.size()) next += (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
        if (out.eol.empty() && next > end) out.eol = std::string(text.substr(end, next - end));

        const std::string_view line = text.substr(pos, end - pos);
        const std::string_view content = Trim(line);
        if (content.starts_with('[')) {
            std::string_view name = content.substr(1);
            if (const auto close = name.rfind(']'); close != std::string_view::npos) name = name.substr(0, close);
            const bool first = seenSections.emplace(Lower(Trim(name)), true).second;
            ignoring = !first;
            if (first) {
                out.sections.push_back({std::string(Trim(name)), next});
                current = &out.sections.back();
            }
        } else if (const auto eq = line.find('='); eq != std::string_view::npos && !ignoring) {
            current->insertAt = next;
            const std::string key(Trim(line.substr(0, eq)));
            if (!key.empty() && seenKeys.emplace(std::pair{Lower(current->name), Lower(key)}, true).second)
                out.entries.push_back({current->name, key, std::string(Trim(line.substr(eq + 1))), pos + eq + 1, end});
        }
        pos = next;
    }
    if (out.eol.empty()) out.eol = "\r\n";
    return out;
}

// What a read gives: trimmed, one pair of enclosing quotes dropped, cut.
std::string Expected(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, 2047));
}

class RealWorld : public test::TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        const fs::path source = FENWAKE_REAL_WORLD_DIR;
        if (!fs::is_directory(source)) GTEST_SKIP() << "no real-world files at " << source;
        for (const auto& e : fs::directory_iterator(source))
            if (e.path().extension() == ".ini") sources_.push_back(e.path());
        std::sort(sources_.begin(), sources_.end());
        ASSERT_FALSE(sources_.empty());
    }

    // Each file in turn, copied fresh into the temporary directory.
    template <typename Check>
    void ForEachFile(Check check)
    {
        for (const auto& source : sources_) {
            const std::string name = source.filename().string();
            SCOPED_TRACE(name);
            const std::string bytes = Get(source);
            Put(name, bytes);
            check(ConfigFile(".\\" + name), name, bytes, Parse(bytes));
            fs::remove(name);
            EXPECT_EQ(EntryCount(), 0u) << "a write left a file behind";
        }
    }

    std::vector<fs::path> sources_;
};

TEST_F(RealWorld, EveryEntryReadsAsItsLineSays)
{
    ForEachFile([](const ConfigFile& ini, const std::string&, const std::string&, const Parsed& parsed) {
        EXPECT_GT(parsed.entries.size(), 100u);
        for (const Entry& e : parsed.entries) {
            EXPECT_EQ(ini.ReadText(e.section, e.key, kMissing), Expected(e.value)) << "[" << e.section << "] " << e.key;
            // the other spelling of the names finds the same entry
            EXPECT_EQ(ini.ReadText(Lower(e.section), Lower(e.key), kMissing), Expected(e.value));
        }
        for (const Section& s : parsed.sections)
            EXPECT_EQ(ini.ReadText(s.name, "FenwakeNoSuchKey", "dflt"), "dflt") << s.name;
    });
}

TEST_F(RealWorld, NumbersAndFlagsFollowTheirRules)
{
    ForEachFile([](const ConfigFile& ini, const std::string&, const std::string&, const Parsed& parsed) {
        for (const Entry& e : parsed.entries) {
            SCOPED_TRACE("[" + e.section + "] " + e.key + "=" + e.value);
            const std::string v = Expected(e.value);
            const std::int32_t low = ini.ReadNumber(e.section, e.key, -12345);
            const std::int32_t high = ini.ReadNumber(e.section, e.key, 12345);
            const bool flagDefaultTrue = ini.ReadFlag(e.section, e.key, true);
            const bool flagDefaultFalse = ini.ReadFlag(e.section, e.key, false);

            const std::string_view digits = std::string_view(v).substr(v.starts_with('-') ? 1 : 0);
            const bool plainDecimal =
                !digits.empty() && digits.size() <= 9 &&
                std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
            // a character no number can hold: a word, a decimal point, a blank
            const bool noNumber = v.empty() || v.find_first_not_of("0123456789abcdefABCDEFxX$+-") != std::string::npos;
            if (plainDecimal) {
                std::int32_t n = 0;
                std::from_chars(v.data(), v.data() + v.size(), n);
                EXPECT_EQ(low, n);
                EXPECT_EQ(high, n);
                EXPECT_EQ(flagDefaultTrue, n != 0);
                EXPECT_EQ(flagDefaultFalse, n != 0);
            } else if (noNumber) {
                EXPECT_EQ(low, -12345);
                EXPECT_EQ(high, 12345);
                EXPECT_TRUE(flagDefaultTrue);
                EXPECT_FALSE(flagDefaultFalse);
            } else {
                // whatever it parses to, it does so whatever the default
                EXPECT_TRUE(low == high || (low == -12345 && high == 12345));
            }
        }
    });
}

// Through the engine's text rules, so every entry of every file can be
// tried without a disk write each.
TEST_F(RealWorld, ChangingAnEntryChangesOnlyItsValue)
{
    ForEachFile([](const ConfigFile&, const std::string&, const std::string& bytes, const Parsed& parsed) {
        for (const Entry& e : parsed.entries) {
            const std::string expected =
                bytes.substr(0, e.valueBegin) + std::string(kNewValue) + bytes.substr(e.valueEnd);
            ASSERT_EQ(ini::ApplyWrite(bytes, e.section, e.key, kNewValue), expected)
                << "[" << e.section << "] " << e.key;
            // another spelling of the names changes the same line
            ASSERT_EQ(ini::ApplyWrite(bytes, Lower(e.section), Lower(e.key), kNewValue), expected);
        }
    });
}

TEST_F(RealWorld, ANewKeyIsOneLineAfterItsSectionsLastEntry)
{
    ForEachFile([](const ConfigFile&, const std::string&, const std::string& bytes, const Parsed& parsed) {
        for (const Section& s : parsed.sections) {
            const std::string expected =
                bytes.substr(0, s.insertAt) + "FenwakeNewKey=v" + parsed.eol + bytes.substr(s.insertAt);
            ASSERT_EQ(ini::ApplyWrite(bytes, s.name, "FenwakeNewKey", "v"), expected) << s.name;
        }
    });
}

// And through the files themselves, the way the program writes them.
TEST_F(RealWorld, WritesOnDiskTouchNothingElse)
{
    ForEachFile([](const ConfigFile& ini, const std::string& name, const std::string& bytes, const Parsed& parsed) {
        // the first and last entries, and a few in between
        const std::size_t n = parsed.entries.size();
        ASSERT_GT(n, 0u);
        for (const std::size_t i : {std::size_t{0}, n / 3, n / 2, 2 * n / 3, n - 1}) {
            const Entry& e = parsed.entries[i];
            ini.WriteText(e.section, e.key, kNewValue);
            EXPECT_EQ(Get(name), bytes.substr(0, e.valueBegin) + std::string(kNewValue) + bytes.substr(e.valueEnd))
                << "[" << e.section << "] " << e.key;
            EXPECT_EQ(ini.ReadText(e.section, e.key, kMissing), kNewValue);
            Put(name, bytes);
        }

        const Section& last = parsed.sections.back();
        ini.WriteNumber(last.name, "FenwakeNewKey", -7);
        EXPECT_EQ(Get(name),
                  bytes.substr(0, last.insertAt) + "FenwakeNewKey=-7" + parsed.eol + bytes.substr(last.insertAt));
        Put(name, bytes);

        // a section of our own goes at the very end
        ini.WriteNumber("Fenwake", "ColorThemeIndex", 3);
        const bool broken = !bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r';
        EXPECT_EQ(Get(name),
                  bytes + (broken ? parsed.eol : "") + "[Fenwake]" + parsed.eol + "ColorThemeIndex=3" + parsed.eol);
        EXPECT_EQ(ini.ReadNumber("fenwake", "colorthemeindex", 0), 3);
    });
}

} // namespace
} // namespace fenwake
