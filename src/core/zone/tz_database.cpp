#include "core/zone/tz_database.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <sstream>
#include <unordered_map>

namespace orvanta::zone {
namespace {

constexpr std::size_t kMostSuggestions = 3;
constexpr std::size_t kMostShownCharacters = 40;
constexpr std::uintmax_t kMostZoneFileBytes = 1 << 20;

// "Factory" is a zone of the database whose local time is unknown ("-00"): no birth zone.
constexpr std::string_view kNoBirthZone = "Factory";

std::string ReadFile(const std::filesystem::path& path, std::uintmax_t most) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::string text;
    char buffer[8192];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (text.size() > most) return {};
    }
    return text;
}

std::vector<std::string_view> Fields(std::string_view line, char separator) {
    std::vector<std::string_view> fields;
    std::size_t from = 0;
    while (from <= line.size()) {
        std::size_t end = line.find(separator, from);
        if (end == std::string_view::npos) end = line.size();
        if (end > from || separator == '\t') fields.push_back(line.substr(from, end - from));
        from = end + 1;
    }
    return fields;
}

template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t end = text.find('\n', from);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(from, end - from);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty() && line.front() != '#') visit(line);
        from = end + 1;
    }
}

// The ids of tzdata.zi: "Z NAME ..." and "L TARGET NAME" lines.
std::vector<std::string> IdsOfSource(std::string_view text) {
    std::vector<std::string> ids;
    ForEachLine(text, [&](std::string_view line) {
        const auto fields = Fields(line, ' ');
        if (fields.size() >= 2 && fields[0] == "Z") ids.emplace_back(fields[1]);
        if (fields.size() >= 3 && fields[0] == "L") ids.emplace_back(fields[2]);
    });
    return ids;
}

// The compiled zone files of the folder, where no tzdata.zi lists them.
std::vector<std::string> IdsOfFolder(const std::filesystem::path& folder) {
    std::vector<std::string> ids;
    std::error_code error;
    std::filesystem::recursive_directory_iterator it(folder, error), end;
    for (; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (it->is_directory(error)) {
            if (name == "posix" || name == "right") it.disable_recursion_pending();
            continue;
        }
        if (name == "localtime" || name == "posixrules" || name.find('.') != std::string::npos) continue;
        if (ReadFile(it->path(), kMostZoneFileBytes).starts_with("TZif")) {
            ids.push_back(it->path().lexically_relative(folder).generic_string());
        }
    }
    return ids;
}

std::string Fold(std::string_view text) {
    std::string folded;
    for (const char c : text) {
        const bool blank = c == ' ' || c == '\t' || c == '_';
        if (blank) {
            if (!folded.empty() && folded.back() != '_') folded += '_';
        } else {
            folded += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        }
    }
    while (!folded.empty() && folded.back() == '_') folded.pop_back();
    return folded;
}

std::string Upper(std::string_view text) {
    std::string upper;
    for (const char c : text) upper += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return upper;
}

// The text as a message may quote it: printable ASCII, at most 40 characters.
std::string Shown(std::string_view text) {
    std::string shown;
    for (const char c : text) {
        if (shown.size() == kMostShownCharacters) return shown + "...";
        shown += c >= ' ' && c <= '~' ? c : '?';
    }
    return shown;
}

// "UTC+4", "GMT-03", "+5:00": the whole-hour offset, east positive.
std::optional<int> WholeHourOffset(std::string_view text) {
    for (const std::string_view prefix : {"UTC", "GMT", "utc", "gmt"}) {
        if (text.starts_with(prefix)) text.remove_prefix(prefix.size());
    }
    if (text.size() < 2 || (text[0] != '+' && text[0] != '-')) return std::nullopt;
    const int sign = text[0] == '-' ? -1 : 1;
    text.remove_prefix(1);
    if (text.ends_with(":00")) text.remove_suffix(3);
    if (text.empty() || text.size() > 2 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return sign * std::stoi(std::string(text));
}

}  // namespace

struct Database::Cache {
    std::mutex mutex;
    std::unordered_map<std::string, std::shared_ptr<const TimeZone>> zones;
    std::once_flag tablesOnce;
    std::unique_ptr<Tables> tables;
};

struct Database::Tables {
    std::vector<std::pair<std::string, std::string>> countryZones;  // zone.tab: code, id, in its order
    std::vector<std::string> current;                               // the ids of zone1970.tab
    std::map<std::string, std::string> countries;                   // iso3166.tab: code, name
    struct Use { std::string id; int offset; };
    std::map<std::string, std::vector<Use>> abbreviations;          // today's, of the current ids
};

Database::Database(std::string folder) : folder_(std::move(folder)), cache_(std::make_unique<Cache>()) {
    const std::filesystem::path root(folder_);
    const std::string source = ReadFile(root / "tzdata.zi", 16u << 20);
    ids_ = source.empty() ? IdsOfFolder(root) : IdsOfSource(source);
    // An id names a file under the folder: none that could lead out of it.
    ids_.erase(std::remove_if(ids_.begin(), ids_.end(),
                              [](const std::string& id) {
                                  return id == kNoBirthZone || id.empty() || id.front() == '/' ||
                                         id.find("..") != std::string::npos || id.find('\\') != std::string::npos ||
                                         id.find('\0') != std::string::npos;
                              }),
               ids_.end());
    std::sort(ids_.begin(), ids_.end());
    ids_.erase(std::unique(ids_.begin(), ids_.end()), ids_.end());
}

Database::~Database() = default;

const Database& Database::System() {
    static const Database database([] {
        if (const char* dir = std::getenv("TZDIR"); dir != nullptr && *dir != '\0') return std::string(dir);
        for (const char* folder : {"/usr/share/zoneinfo", "/usr/lib/zoneinfo", "/usr/share/lib/zoneinfo"}) {
            std::error_code error;
            if (std::filesystem::is_directory(folder, error)) return std::string(folder);
        }
        return std::string();
    }());
    return database;
}

bool Database::Knows(std::string_view id) const { return std::binary_search(ids_.begin(), ids_.end(), id); }

std::shared_ptr<const TimeZone> Database::Zone(std::string_view id) const {
    if (!Knows(id)) return nullptr;
    const std::string key(id);
    {
        const std::lock_guard lock(cache_->mutex);
        if (const auto found = cache_->zones.find(key); found != cache_->zones.end()) return found->second;
    }
    // Only a listed id reaches the file system: never "../" or an absolute path.
    auto zone = TimeZone::FromTzif(key, ReadFile(std::filesystem::path(folder_) / key, kMostZoneFileBytes));
    const std::lock_guard lock(cache_->mutex);
    return cache_->zones.emplace(key, std::move(zone)).first->second;
}

const Database::Tables& Database::ZoneTables() const {
    std::call_once(cache_->tablesOnce, [this] {
        auto tables = std::make_unique<Tables>();
        const std::filesystem::path root(folder_);
        ForEachLine(ReadFile(root / "zone.tab", 1u << 20), [&](std::string_view line) {
            const auto f = Fields(line, '\t');
            if (f.size() >= 3 && Knows(f[2])) tables->countryZones.emplace_back(f[0], f[2]);
        });
        // Of each current zone: whether it heads its (first) country's rows, and how many
        // rows name that country, for the order of an abbreviation's zones below.
        struct Standing { bool heads = false; std::string country; };
        std::map<std::string, Standing> standing;
        std::map<std::string, int> countryRows;
        ForEachLine(ReadFile(root / "zone1970.tab", 1u << 20), [&](std::string_view line) {
            const auto f = Fields(line, '\t');
            if (f.size() < 3 || !Knows(f[2])) return;
            tables->current.emplace_back(f[2]);
            const std::vector<std::string_view> codes = Fields(f[0], ',');
            const std::string country(codes.front());
            standing[std::string(f[2])] = {countryRows[country] == 0, country};
            for (const std::string_view code : codes) ++countryRows[std::string(code)];
        });
        ForEachLine(ReadFile(root / "iso3166.tab", 1u << 20), [&](std::string_view line) {
            const auto f = Fields(line, '\t');
            if (f.size() >= 2) tables->countries.emplace(f[0], f[1]);
        });
        for (const std::string& id : tables->current) {
            const auto zone = Zone(id);
            if (!zone) continue;
            for (const auto& [name, offset] : zone->RuleAbbreviations()) {
                const char first = name.front();
                if (first == '+' || first == '-' || (first >= '0' && first <= '9')) continue;  // "<+0530>" is no name
                tables->abbreviations[name].push_back({id, offset});
            }
        }
        // An abbreviation's most familiar zones first, by a fixed rule of the zone table
        // alone (the lowest layer has no atlas of city populations): the zones that head
        // their country's rows (zone1970.tab puts a country's most populous zone first), then
        // those of countries with more zones (a country split into many zones is a large
        // one), then east before west. PST: America/Los_Angeles before America/Tijuana; IST:
        // Asia/Kolkata, Asia/Jerusalem, Europe/Dublin.
        for (auto& [name, uses] : tables->abbreviations) {
            std::stable_sort(uses.begin(), uses.end(), [&](const Tables::Use& a, const Tables::Use& b) {
                const Standing& sa = standing[a.id];
                const Standing& sb = standing[b.id];
                if (sa.heads != sb.heads) return sa.heads;
                const int ra = countryRows[sa.country], rb = countryRows[sb.country];
                if (ra != rb) return ra > rb;
                return a.offset > b.offset;
            });
        }
        cache_->tables = std::move(tables);
    });
    return *cache_->tables;
}

Database::Suggestions Database::Suggest(std::string_view text) const {
    Suggestions s;
    const std::string folded = Fold(text);
    if (folded.empty() || !Readable()) return s;
    std::vector<std::string> found;
    const auto add = [&](const std::string& id) {
        if (std::find(found.begin(), found.end(), id) == found.end()) found.push_back(id);
    };
    const Tables& tables = ZoneTables();
    const auto isCurrent = [&](const std::string& id) {
        return std::find(tables.current.begin(), tables.current.end(), id) != tables.current.end();
    };

    for (const std::string& id : ids_) {
        if (Fold(id) == folded) add(id);
    }
    // A city part: today's zones first, then the other names. Not of Etc/GMT-3, which is
    // three hours east: "GMT-3" is read as an offset below.
    std::vector<std::string> cities;
    for (const std::string& id : ids_) {
        const std::size_t slash = id.rfind('/');
        if (slash != std::string::npos && !id.starts_with("Etc/") &&
            Fold(std::string_view(id).substr(slash + 1)) == folded) {
            cities.push_back(id);
        }
    }
    std::stable_partition(cities.begin(), cities.end(), isCurrent);
    for (const std::string& id : cities) add(id);

    // A country's code or name ("Britain (UK)": "Britain" too), else the part in brackets
    // ("UK"), which several names may share.
    const auto countryZones = [&](const auto& matches) {
        bool any = false;
        for (const auto& [code, name] : tables.countries) {
            if (!matches(code, name)) continue;
            any = true;
            for (const auto& [zoneCode, id] : tables.countryZones) {
                if (zoneCode == code) add(id);
            }
        }
        return any;
    };
    const bool byName = countryZones([&](const std::string& code, const std::string& name) {
        const std::size_t open = name.find(" (");
        return Upper(folded) == code || Fold(name) == folded ||
               (open != std::string::npos && Fold(std::string_view(name).substr(0, open)) == folded);
    });
    if (!byName) {
        countryZones([&](const std::string&, const std::string& name) {
            const std::size_t open = name.find(" (");
            return open != std::string::npos && name.back() == ')' &&
                   Fold(std::string_view(name).substr(open + 2, name.size() - open - 3)) == folded;
        });
    }
    if (const auto uses = tables.abbreviations.find(Upper(folded)); uses != tables.abbreviations.end()) {
        // One zone for each offset the abbreviation stands for first: IST is +05:30, +02:00 and +01:00.
        std::vector<Tables::Use> ordered;
        for (const auto& use : uses->second) {
            const bool seen = std::any_of(ordered.begin(), ordered.end(), [&](const auto& u) { return u.offset == use.offset; });
            if (!seen) ordered.push_back(use);
        }
        for (const auto& use : uses->second) {
            if (std::none_of(ordered.begin(), ordered.end(), [&](const auto& u) { return u.id == use.id; })) ordered.push_back(use);
        }
        for (const auto& use : ordered) add(use.id);
    }
    if (const auto offset = WholeHourOffset(Fold(text)); offset && *offset >= -14 && *offset <= 12) {
        // The Etc zones are named the POSIX way round: Etc/GMT-4 is four hours east.
        const std::string id = *offset == 0 ? "Etc/UTC" : "Etc/GMT" + std::string(*offset > 0 ? "-" : "+") + std::to_string(std::abs(*offset));
        if (Knows(id)) add(id);
    }
    if (found.size() > kMostSuggestions) {
        s.more = found.size() - kMostSuggestions;
        found.resize(kMostSuggestions);
    }
    s.ids = std::move(found);
    return s;
}

std::string Database::UnknownZoneSentence(std::string_view text) const {
    const std::string quoted = "\"" + Shown(text) + "\"";
    if (!Readable()) {
        return "The tz database of this system cannot be read (no zone ids in " +
               (folder_.empty() ? std::string("a zoneinfo folder") : folder_) + "), so " + quoted +
               " cannot be checked as a time zone.";
    }
    if (Knows(text)) {
        return "The tz database's file for " + std::string(text) +
               " cannot be read, or is damaged; reinstall the tz database (tzdata).";
    }
    const Suggestions s = Suggest(text);
    std::string sentence = "There is no time zone " + quoted + " in the tz database; ";
    if (s.ids.empty()) {
        return sentence + "give an Area/Location id such as Asia/Kolkata, or Etc/GMT+4 for a fixed UTC-04:00.";
    }
    sentence += "give its Area/Location id: ";
    for (std::size_t i = 0; i < s.ids.size(); ++i) {
        if (i > 0) sentence += i + 1 == s.ids.size() ? " or " : ", ";
        sentence += s.ids[i];
    }
    if (s.more > 0) sentence += " (" + std::to_string(s.ids.size() + s.more) + " zones in all)";
    return sentence + ".";
}

}  // namespace orvanta::zone
