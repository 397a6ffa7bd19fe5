#include "rules/ChangeHistory.h"

#include "config/Ascii.h"
#include "config/DataFolder.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <system_error>
#include <utility>

namespace fenwake::history {
namespace fs = std::filesystem;
namespace {

// Format 2 added the mark of a record that carries on the change before it.
constexpr int kFormat = 2;
constexpr std::string_view kHeaderStart = "Fenwake history of changes, format ";
constexpr std::string_view kHeaderFolder = ", game folder: ";
constexpr std::string_view kFileStart = "history-";
constexpr std::string_view kFileEnd = ".txt";
constexpr std::string_view kSetAsideMark = "-set-aside-";
constexpr std::size_t kFields = 6;
// A seventh field, on the records that carry on a run of saves.
constexpr std::string_view kContinuesMark = "continues";

// Past a tenth more records than kept, or past the first size, the oldest
// go (down to the second size); most appends leave the file alone. No file
// of Fenwake's comes near the third size: a value is at most 2047 bytes,
// four times that escaped.
constexpr std::size_t kSlack = kKeptRecords / 10;
constexpr std::uintmax_t kCompactBytes = 8u << 20;
constexpr std::uintmax_t kKeptBytes = 4u << 20;
constexpr std::uintmax_t kLargestBytes = 16u << 20;

constexpr std::array<std::pair<Origin, std::string_view>, 8> kOrigins = {{
    {Origin::Window, "window"},
    {Origin::CliBind, "cli-bind"},
    {Origin::CliAlias, "cli-alias"},
    {Origin::CliImport, "cli-import"},
    {Origin::WindowImport, "window-import"},
    {Origin::Reset, "reset"},
    {Origin::Reapply, "reapply"},
    {Origin::Undo, "undo"},
}};

std::string Utf8(const fs::path& p)
{
    const std::u8string s = p.u8string();
    return {s.begin(), s.end()};
}

std::string_view BareName(std::string_view path)
{
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

void AppendEscaped(std::string& out, std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (u < 0x20 || u == 0x7F) {
            out.append("\\x").append(1, kHex[u >> 4]).append(1, kHex[u & 15]);
        } else {
            out += c;
        }
    }
}

std::optional<int> HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return std::nullopt;
}

// A field as written: control characters only ever as escapes.
std::optional<std::string> Unescaped(std::string_view field)
{
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        const auto u = static_cast<unsigned char>(field[i]);
        if (u < 0x20 || u == 0x7F) return std::nullopt;
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        if (++i == field.size()) return std::nullopt;
        switch (field[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 'x': {
            if (i + 2 >= field.size()) return std::nullopt;
            const auto high = HexDigit(field[i + 1]);
            const auto low = HexDigit(field[i + 2]);
            if (!high || !low) return std::nullopt;
            out += static_cast<char>(*high * 16 + *low);
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return out;
}

bool IsTime(std::string_view s)
{
    constexpr std::string_view kShape = "0000-00-00T00:00:00.000Z";
    if (s.size() != kShape.size()) return false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const bool digit = s[i] >= '0' && s[i] <= '9';
        if (kShape[i] == '0' ? !digit : s[i] != kShape[i]) return false;
    }
    return true;
}

std::optional<Origin> OriginNamed(std::string_view name)
{
    for (const auto& [origin, spelled] : kOrigins)
        if (spelled == name) return origin;
    return std::nullopt;
}

struct Header {
    int format = 0;
    std::string folder; // for the current format only
};

std::optional<Header> ParseHeader(std::string_view line)
{
    if (!line.starts_with(kHeaderStart)) return std::nullopt;
    line.remove_prefix(kHeaderStart.size());
    Header header;
    std::size_t digits = 0;
    for (; digits < line.size() && digits < 6 && line[digits] >= '0' && line[digits] <= '9'; ++digits)
        header.format = header.format * 10 + (line[digits] - '0');
    if (digits == 0 || header.format == 0) return std::nullopt;
    if (header.format > kFormat) return header; // its own business how it goes on
    line.remove_prefix(digits);
    if (!line.starts_with(kHeaderFolder)) return std::nullopt;
    auto folder = Unescaped(line.substr(kHeaderFolder.size()));
    if (!folder) return std::nullopt;
    header.folder = std::move(*folder);
    return header;
}

// The time for a set-aside file's name: "20240501T120000Z".
std::string CompactTime(std::int64_t nanoseconds)
{
    std::string t = TimeOf(nanoseconds);
    std::string out;
    for (const char c : t.substr(0, 19))
        if (c != '-' && c != ':') out += c;
    return out + "Z";
}

std::string HistoryFileName(std::string_view folder)
{
    // FNV-1a of the folder without regard to case: Windows names one folder
    // in any letter case.
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : folder) {
        hash ^= static_cast<unsigned char>(ascii::Lower(c));
        hash *= 1099511628211ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return std::string(kFileStart).append(hex).append(kFileEnd);
}

} // namespace

std::string_view Name(Origin origin)
{
    for (const auto& [o, spelled] : kOrigins)
        if (o == origin) return spelled;
    return "?";
}

std::string TimeOf(std::int64_t nanoseconds)
{
    using namespace std::chrono;
    const sys_time<milliseconds> t{milliseconds(nanoseconds / 1'000'000)};
    const auto day = floor<days>(t);
    const year_month_day date{day};
    const hh_mm_ss clock{t - day};
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()), static_cast<int>(clock.subseconds().count()));
    return buf;
}

std::string HeaderLine(std::string_view folder)
{
    std::string line(kHeaderStart);
    line.append(std::to_string(kFormat)).append(kHeaderFolder);
    AppendEscaped(line, folder);
    return line + '\n';
}

std::string RecordLine(const Record& r)
{
    std::string line = r.time;
    line.append("\t").append(Name(r.origin)).append("\t");
    for (const std::string* field : {&r.file, &r.change.key, &r.change.before, &r.change.after}) {
        AppendEscaped(line, *field);
        if (field != &r.change.after) line += '\t';
    }
    if (r.continues) line.append("\t").append(kContinuesMark);
    return line + '\n';
}

std::optional<Record> ParseRecord(std::string_view line)
{
    std::array<std::string_view, kFields + 1> fields;
    std::size_t n = 0;
    for (std::size_t pos = 0;; ++n) {
        const std::size_t tab = line.find('\t', pos);
        if (n == fields.size()) return std::nullopt;
        fields[n] = line.substr(pos, tab - pos);
        if (tab == std::string_view::npos) break;
        pos = tab + 1;
    }
    const bool continues = n == kFields && fields[kFields] == kContinuesMark;
    if ((n + 1 != kFields && !continues) || !IsTime(fields[0])) return std::nullopt;
    const auto origin = OriginNamed(fields[1]);
    auto file = Unescaped(fields[2]);
    auto key = Unescaped(fields[3]);
    auto before = Unescaped(fields[4]);
    auto after = Unescaped(fields[5]);
    if (!origin || !file || !key || !before || !after || file->empty() || key->empty()) return std::nullopt;
    return Record{std::string(fields[0]), *origin, std::move(*file),
                  Change{std::move(*key), std::move(*before), std::move(*after)}, continues};
}

ChangeHistory::ChangeHistory(fs::path file, std::string folder) : file_(std::move(file)), folder_(std::move(folder)) {}

std::vector<Record> ChangeHistory::Load(const Tell& tell)
{
    std::vector<Record> records;
    if (!Check(tell, &records)) {
        tell("The history of changes " + Utf8(file_) + " " + trouble_ + ", and it cannot be set aside.");
        records.clear();
    }
    return JoinRuns(std::move(records));
}

bool ChangeHistory::Check(const Tell& tell, std::vector<Record>* records, int attempt)
{
    if (records) records->clear();
    known_.reset();
    count_ = 0;
    std::error_code ec;
    const auto status = fs::status(file_, ec);
    if (!fs::exists(status)) return true; // begun at the first append
    if (!fs::is_regular_file(status)) return SetAside("is not a file", tell);
    const std::uintmax_t size = fs::file_size(file_, ec);
    if (!ec && size > kLargestBytes)
        return SetAside("is " + std::to_string(size >> 20) + " MB long, far longer than Fenwake writes it", tell);
    const auto snapshot = files::ReadStamped(file_);
    if (!snapshot) return SetAside("cannot be read", tell);

    const std::string_view bytes = snapshot->bytes;
    const std::size_t headerEnd = bytes.find('\n');
    const auto header = ParseHeader(bytes.substr(0, headerEnd));
    if (headerEnd == std::string_view::npos || !header)
        return SetAside("does not begin as a history of changes does", tell);
    if (header->format > kFormat)
        return SetAside("was written by a newer Fenwake (format " + std::to_string(header->format) + ")", tell);
    if (!ascii::EqualsNoCase(header->folder, folder_))
        return SetAside("belongs to another game folder, " + header->folder, tell);

    std::size_t count = 0;
    std::size_t pos = headerEnd + 1;
    for (std::size_t lineNo = 2; pos < bytes.size(); ++lineNo) {
        const std::size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos) break; // cut short
        const std::string_view line = bytes.substr(pos, end - pos);
        if (line.find('\0') != std::string_view::npos)
            return SetAside("is damaged: line " + std::to_string(lineNo) + " holds NUL bytes", tell);
        auto record = ParseRecord(line);
        if (!record) return SetAside("is damaged: line " + std::to_string(lineNo) + " is not a record", tell);
        if (records) records->push_back(std::move(*record));
        ++count;
        pos = end + 1;
    }
    files::Stamp stamp = snapshot->after;
    const bool cutShort = pos < bytes.size();
    // An older format's header goes before records of this one are added:
    // an older Fenwake then sets the file aside instead of calling it damaged.
    const bool older = header->format < kFormat;
    if (cutShort || older) {
        // What an append cut short by a crash leaves: the records before it are whole.
        const std::string whole =
            older ? HeaderLine(header->folder).append(bytes.substr(headerEnd + 1, pos - headerEnd - 1))
                  : std::string(bytes.substr(0, pos));
        files::Stamp written;
        switch (files::ReplaceIfUnchanged(file_, whole, snapshot->after, written)) {
        case files::Outcome::Replaced:
            if (cutShort)
                tell("The last record of the history of changes " + Utf8(file_) +
                     " was cut short, as when Fenwake is stopped while writing it. It was dropped; the " +
                     std::to_string(count) + " records before it are kept.");
            stamp = written;
            break;
        case files::Outcome::Changed:
            // Another Fenwake wrote it meanwhile: its record may be the one cut short.
            if (attempt < 3) return Check(tell, records, attempt + 1);
            [[fallthrough]];
        case files::Outcome::Failed:
            if (!cutShort) break; // read as it is; the next check tries again
            return SetAside("ends in a record cut short and cannot be mended", tell);
        }
    }
    known_ = stamp;
    count_ = count;
    return true;
}

bool ChangeHistory::SetAside(const std::string& trouble, const Tell& tell)
{
    known_.reset();
    count_ = 0;
    const std::string mark = std::string(kSetAsideMark) + CompactTime(files::Now());
    std::error_code ec;
    fs::path target;
    for (int n = 1;; ++n) {
        target = file_.parent_path() / file_.stem();
        target += mark;
        if (n > 1) target += "-" + std::to_string(n);
        target += kFileEnd;
        if (!fs::exists(fs::symlink_status(target, ec)) || n == 100) break;
    }
    fs::rename(file_, target, ec);
    if (ec) {
        trouble_ = trouble;
        return false;
    }
    tell("The history of changes " + Utf8(file_) + " " + trouble + ". It was set aside as " + Utf8(target.filename()) +
         " and a new one begun.");
    return true;
}

bool ChangeHistory::Begin(std::span<const Record> records)
{
    std::error_code ec;
    fs::create_directories(file_.parent_path(), ec);
    std::string text = HeaderLine(folder_);
    for (const Record& r : records) text += RecordLine(r);
    files::Stamp written;
    if (files::ReplaceIfUnchanged(file_, text, std::nullopt, written) != files::Outcome::Replaced) return false;
    known_ = written;
    count_ = records.size();
    return true;
}

void ChangeHistory::Append(std::span<const Record> records, const Tell& tell)
{
    if (givenUp_ || records.empty()) return;
    std::string lines;
    for (const Record& r : records) lines += RecordLine(r);
    trouble_ = "cannot be written to";
    for (int round = 0; round < 3; ++round) {
        const auto now = files::StampOf(file_);
        const bool unchanged = now && known_ && *now == *known_;
        if (!unchanged && !Check(tell, nullptr)) break;
        if (!known_) {
            if (Begin(records)) return;
            continue; // begun by another Fenwake meanwhile, or not to be begun
        }
        if (files::IsWriteProtected(file_)) {
            if (!SetAside("is read-only", tell)) break;
            continue;
        }
        if (files::Append(file_, lines)) {
            known_ = files::StampOf(file_);
            count_ += records.size();
            if (known_ && (count_ > kKeptRecords + kSlack || known_->size > kCompactBytes)) Compact();
            return;
        }
        if (!SetAside("cannot be written to", tell)) break;
    }
    givenUp_ = true;
    tell("The history of changes " + Utf8(file_) + " " + trouble_ +
         ". Your changes are saved, but no more are recorded until Fenwake starts again.");
}

void ChangeHistory::Compact()
{
    const auto snapshot = files::ReadStamped(file_);
    if (!snapshot || snapshot->after != known_) return; // another Fenwake's turn: checked at the next append
    const std::string& bytes = snapshot->bytes;
    const std::size_t body = bytes.find('\n') + 1;
    std::size_t from = bytes.size();
    std::size_t kept = 0;
    // Line by line from the end: each record's line ends with its line break.
    while (from > body && kept < kKeptRecords) {
        const std::size_t previous = bytes.rfind('\n', from - 2);
        const std::size_t start = previous == std::string::npos ? 0 : previous + 1;
        if (bytes.size() - start > kKeptBytes) break;
        from = start;
        ++kept;
    }
    // A run is kept whole or not at all: cut inside, its first kept record
    // would read as a change of its own from a value typed half-way.
    const auto continues = [&](std::size_t at) {
        const std::size_t end = bytes.find('\n', at);
        return std::string_view(bytes).substr(at, end - at).ends_with(std::string("\t").append(kContinuesMark));
    };
    std::size_t runStart = from;
    std::size_t inRun = 0;
    for (; runStart < bytes.size() && continues(runStart); ++inRun) runStart = bytes.find('\n', runStart) + 1;
    if (runStart < bytes.size()) { // else one run is all there is to keep
        from = runStart;
        kept -= inRun;
    }
    std::string text = bytes.substr(0, body);
    text.append(bytes, from, std::string::npos);
    files::Stamp written;
    if (files::ReplaceIfUnchanged(file_, text, snapshot->after, written) != files::Outcome::Replaced) return;
    known_ = written;
    count_ = kept;
}

std::shared_ptr<ChangeHistory> OpenFor(const fs::path& gameFolder)
{
    const auto data = data::Folder();
    if (!data) return nullptr;
    std::error_code ec;
    fs::path folder = fs::weakly_canonical(gameFolder, ec);
    if (ec) folder = gameFolder.lexically_normal();
    const std::string name = Utf8(folder);
    return std::make_shared<ChangeHistory>(*data / HistoryFileName(name), name);
}

Recorder Recorder::None() { return Recorder(nullptr, Origin::Window, {}); }

Recorder::Recorder(std::shared_ptr<ChangeHistory> history, Origin origin, Tell tell, std::function<void()> saved)
    : history_(std::move(history)), origin_(origin), tell_(std::move(tell)), saved_(std::move(saved))
{}

Recorder Recorder::As(Origin origin) const
{
    Recorder other = *this;
    other.origin_ = origin;
    return other;
}

void Recorder::Save(const ConfigFile& file, const Change& change, const std::function<void()>& save) const
{
    if (!run_) {
        save();
        Saved(file, change);
        return;
    }
    Saved(file, change);
    save();
}

void Recorder::Saved(const ConfigFile& file, std::span<const Change> changes) const
{
    if (RecordOnly(file, changes) && saved_) saved_();
}

bool Recorder::RecordOnly(const ConfigFile& file, std::span<const Change> changes) const
{
    const std::string time = TimeOf(files::Now());
    const std::string name(BareName(file.Path()));
    std::vector<history::Record> records;
    for (const Change& c : changes)
        if (c.before != c.after) records.push_back({time, origin_, name, c, run_ && *run_ == c.key});
    if (records.empty()) return false;
    if (run_) *run_ = records.back().change.key;
    if (history_) history_->Append(records, tell_ ? tell_ : Tell([](const std::string&) {}));
    return true;
}

ChangeRun::ChangeRun(Recorder recorder) : recorder_(std::move(recorder))
{
    recorder_.run_ = std::make_shared<std::string>();
}

void ChangeRun::End() { recorder_.run_->clear(); }

std::vector<Record> JoinRuns(std::vector<Record> records)
{
    std::vector<Record> joined;
    joined.reserve(records.size());
    for (Record& r : records) {
        if (r.continues) {
            // The key's last change is the one this record carries on: another
            // program's record may stand between them, and a failed save
            // may have left the file a step behind.
            const auto last = std::find_if(joined.rbegin(), joined.rend(), [&](const Record& j) {
                return j.change.key == r.change.key && j.file == r.file;
            });
            if (last != joined.rend() && last->origin == r.origin) {
                r.lastSaveFrom = std::move(r.change.before);
                r.change.before = std::move(last->change.before);
                joined.erase(std::next(last).base());
            }
            r.continues = false;
        }
        joined.push_back(std::move(r));
    }
    // Typed and taken back: no change. Left out only now, so that a later
    // save of the run still finds where it began.
    std::erase_if(joined, [](const Record& r) { return r.change.before == r.change.after; });
    return joined;
}

} // namespace fenwake::history
