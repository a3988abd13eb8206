#include "core/zone/tz_zone.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <tuple>

#include "core/base/calendar.h"

namespace orvanta::zone {
namespace {

constexpr int kFirstTableYear = 1600;
constexpr int kLastTableYear = 2800;  // the rule's transitions are tabled through this year
constexpr int kMostOffset = 25 * 3600;  // RFC 8536 offsets lie within -89999 .. 93599 s
constexpr std::size_t kMostTypes = 60000;  // below the sentinel index of the type before the first transition

constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

// A reader of the POSIX TZ rule grammar (POSIX.1-2017 8.3, with the RFC 8536 3.3.1
// extension of rule times from -167 to 167 hours).
struct RuleDate {
    enum Kind { Julian1, Julian0, MonthWeekDay } kind = MonthWeekDay;
    int n = 0, month = 0, week = 0, weekday = 0;
    int seconds = 7200;  // the local time of day of the change, 02:00 unless given
};

struct PosixRule {
    std::string stdName, dstName;
    int stdOffset = 0, dstOffset = 0;  // east of UTC positive, as TZif writes them
    bool hasDst = false;
    RuleDate start, end;
};

class RuleReader {
public:
    explicit RuleReader(std::string_view text) : text_(text) {}

    std::optional<PosixRule> Read() {
        PosixRule rule;
        if (!Name(rule.stdName)) return std::nullopt;
        const auto stdOffset = Clock(24);
        if (!stdOffset) return std::nullopt;
        rule.stdOffset = -*stdOffset;
        if (AtEnd()) return rule;
        if (!Name(rule.dstName)) return std::nullopt;
        rule.hasDst = true;
        rule.dstOffset = rule.stdOffset + 3600;
        if (!AtEnd() && Peek() != ',') {
            const auto dstOffset = Clock(24);
            if (!dstOffset) return std::nullopt;
            rule.dstOffset = -*dstOffset;
        }
        // A rule with daylight saving but no dates has no agreed meaning: not read.
        if (!Take(',') || !Date(rule.start) || !Take(',') || !Date(rule.end) || !AtEnd()) return std::nullopt;
        return rule;
    }

private:
    bool AtEnd() const { return at_ == text_.size(); }
    char Peek() const { return text_[at_]; }
    bool Take(char c) {
        if (AtEnd() || Peek() != c) return false;
        ++at_;
        return true;
    }
    static bool IsAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    bool Name(std::string& name) {
        const std::size_t from = at_;
        if (Take('<')) {
            while (!AtEnd() && (IsAlpha(Peek()) || IsDigit(Peek()) || Peek() == '+' || Peek() == '-')) ++at_;
            name = std::string(text_.substr(from + 1, at_ - from - 1));
            return Take('>') && name.size() >= 3;
        }
        while (!AtEnd() && IsAlpha(Peek())) ++at_;
        name = std::string(text_.substr(from, at_ - from));
        return name.size() >= 3;
    }

    // Up to `digits` digits, a value at most `most`.
    std::optional<int> Number(int digits, int most) {
        int value = 0, count = 0;
        while (!AtEnd() && IsDigit(Peek()) && count < digits) {
            value = value * 10 + (Peek() - '0');
            ++at_;
            ++count;
        }
        if (count == 0 || value > most) return std::nullopt;
        return value;
    }

    // [+-]hh[:mm[:ss]] in seconds, hours at most `mostHours`.
    std::optional<int> Clock(int mostHours) {
        int sign = 1;
        if (Take('-')) {
            sign = -1;
        } else {
            Take('+');
        }
        const auto hours = Number(3, mostHours);
        if (!hours) return std::nullopt;
        int seconds = *hours * 3600;
        for (const int unit : {60, 1}) {
            if (!Take(':')) break;
            const auto part = Number(2, 59);
            if (!part) return std::nullopt;
            seconds += *part * unit;
        }
        return sign * seconds;
    }

    bool Date(RuleDate& date) {
        if (Take('J')) {
            const auto n = Number(3, 365);
            if (!n || *n < 1) return false;
            date.kind = RuleDate::Julian1;
            date.n = *n;
        } else if (Take('M')) {
            const auto month = Number(2, 12);
            if (!month || *month < 1 || !Take('.')) return false;
            const auto week = Number(1, 5);
            if (!week || *week < 1 || !Take('.')) return false;
            const auto weekday = Number(1, 6);
            if (!weekday) return false;
            date.kind = RuleDate::MonthWeekDay;
            date.month = *month;
            date.week = *week;
            date.weekday = *weekday;
        } else {
            const auto n = Number(3, 365);
            if (!n) return false;
            date.kind = RuleDate::Julian0;
            date.n = *n;
        }
        if (Take('/')) {
            const auto seconds = Clock(167);
            if (!seconds) return false;
            date.seconds = *seconds;
        }
        return true;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

// The local wall clock of `date` in `year`, counted in seconds as if it were UTC.
std::int64_t LocalSecondsOf(const RuleDate& date, std::int64_t year) {
    std::int64_t day = 0;
    switch (date.kind) {
    case RuleDate::Julian1:  // 1 .. 365, February 29 never counted
        day = DaysFromCivil(year, 1, 1) + date.n - 1 + (IsLeapYear(year) && date.n >= 60 ? 1 : 0);
        break;
    case RuleDate::Julian0:  // 0 .. 365, February 29 counted
        day = DaysFromCivil(year, 1, 1) + date.n;
        break;
    case RuleDate::MonthWeekDay: {
        const std::int64_t first = DaysFromCivil(year, date.month, 1);
        const auto firstWeekday = static_cast<int>(((first + 4) % 7 + 7) % 7);  // 1970-01-01 was a Thursday
        day = first + (date.weekday - firstWeekday + 7) % 7 + (date.week - 1) * 7;
        while (day >= first + DaysOfMonth(year, date.month)) day -= 7;  // week 5: the last such day
        break;
    }
    }
    return day * 86400 + date.seconds;
}

std::uint32_t Be32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | static_cast<std::uint32_t>(p[3]);
}

std::int64_t Be64(const unsigned char* p) {
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(Be32(p)) << 32 | Be32(p + 4));
}

struct Header {
    std::uint32_t isut, isstd, leap, time, type, chars;
};

std::optional<Header> ReadHeader(std::string_view data, std::size_t at) {
    if (data.size() < at + 44 || data.substr(at, 4) != "TZif") return std::nullopt;
    const auto* p = reinterpret_cast<const unsigned char*>(data.data() + at + 20);
    return Header{Be32(p), Be32(p + 4), Be32(p + 8), Be32(p + 12), Be32(p + 16), Be32(p + 20)};
}

// The data block's length for times of `timeSize` bytes; nothing when it cannot fit.
std::optional<std::size_t> BlockSize(const Header& h, std::size_t timeSize, std::size_t available) {
    constexpr std::uint32_t kMostCount = 1u << 20;
    if (h.time > kMostCount || h.type > 256 || h.chars > kMostCount || h.leap > kMostCount) return std::nullopt;
    if ((h.isstd != 0 && h.isstd != h.type) || (h.isut != 0 && h.isut != h.type) || h.type == 0 || h.chars == 0) {
        return std::nullopt;
    }
    const std::size_t size = std::size_t{h.time} * (timeSize + 1) + std::size_t{h.type} * 6 + h.chars +
                             std::size_t{h.leap} * (timeSize + 4) + h.isstd + h.isut;
    if (size > available) return std::nullopt;
    return size;
}

}  // namespace

struct TimeZone::Rule {
    PosixRule posix;
    std::uint16_t stdType = 0, dstType = 0;
};

bool IsPosixTzRule(std::string_view text) { return RuleReader(text).Read().has_value(); }

std::shared_ptr<const TimeZone> TimeZone::FromTzif(std::string id, std::string_view tzif) {
    auto header = ReadHeader(tzif, 0);
    if (!header) return nullptr;
    const char version = tzif[4];
    if (version != '\0' && version != '2' && version != '3' && version != '4') return nullptr;
    std::size_t at = 44;
    std::size_t timeSize = 4;
    auto block = BlockSize(*header, 4, tzif.size() - at);
    if (!block) return nullptr;
    if (version != '\0') {  // the 64-bit data after the 32-bit block
        at += *block;
        header = ReadHeader(tzif, at);
        if (!header) return nullptr;
        at += 44;
        timeSize = 8;
        block = BlockSize(*header, 8, tzif.size() - at);
        if (!block) return nullptr;
    }
    // Leap-second ("right/") data counts TAI-like seconds: not read.
    if (header->leap != 0) return nullptr;

    const auto* p = reinterpret_cast<const unsigned char*>(tzif.data() + at);
    const Header& h = *header;
    std::vector<std::int64_t> times(h.time);
    for (std::size_t i = 0; i < h.time; ++i, p += timeSize) {
        times[i] = timeSize == 8 ? Be64(p) : static_cast<std::int32_t>(Be32(p));
        if (i > 0 && times[i] <= times[i - 1]) return nullptr;
    }
    std::vector<std::uint8_t> rawType(p, p + h.time);
    p += h.time;
    struct RawType { int offset; bool dst; std::size_t name; };
    std::vector<RawType> raw(h.type);
    for (auto& t : raw) {
        t.offset = static_cast<std::int32_t>(Be32(p));
        t.dst = p[4] != 0;
        t.name = p[5];
        p += 6;
        if (t.offset < -kMostOffset || t.offset > kMostOffset || p[-2] > 1 || t.name >= h.chars) return nullptr;
    }
    const std::string_view chars(reinterpret_cast<const char*>(p), h.chars);
    if (chars.back() != '\0') return nullptr;
    for (const std::uint8_t t : rawType) {
        if (t >= h.type) return nullptr;
    }
    const auto nameOf = [&](std::size_t from) { return std::string(chars.substr(from, chars.find('\0', from) - from)); };

    auto zone = std::make_shared<TimeZone>();
    zone->id_ = std::move(id);
    std::vector<std::string> names;
    const auto nameIndex = [&](const std::string& name) {
        const auto found = std::find(names.begin(), names.end(), name);
        if (found != names.end()) return static_cast<std::uint16_t>(found - names.begin());
        names.push_back(name);
        return static_cast<std::uint16_t>(names.size() - 1);
    };
    // The types with their standard offsets, each once; a file needing more than the
    // index can count is refused below.
    std::map<std::tuple<int, int, bool, std::uint16_t>, std::uint16_t> typeIndices;
    bool tooManyTypes = false;
    const auto typeIndex = [&](const Type& type) {
        auto& types = zone->types_;
        const auto key = std::tuple{type.offset, type.standardOffset, type.dst, type.abbreviation};
        if (const auto found = typeIndices.find(key); found != typeIndices.end()) return found->second;
        if (types.size() >= kMostTypes) {
            tooManyTypes = true;
            return std::uint16_t{0};
        }
        types.push_back(type);
        return typeIndices.emplace(key, static_cast<std::uint16_t>(types.size() - 1)).first->second;
    };
    // TZif gives each time type its total offset and a daylight-saving flag but not the
    // standard offset under daylight saving. Inferred as QTimeZone infers it (the last
    // standard offset, unless the saving then differs from the one before and the next
    // standard time fits better), so that zone texts stay as they were; where that leaves
    // no saving under the flag, the usual hour is taken.
    std::vector<int> standard(rawType.size());
    {
        int utcOffset = 0;
        const auto firstStd = std::find_if(rawType.begin(), rawType.end(), [&](std::uint8_t t) { return !raw[t].dst; });
        if (firstStd != rawType.end()) utcOffset = raw[*firstStd].offset;
        int lastDst = 3600;
        std::vector<std::size_t> nextStandard(rawType.size() + 1, rawType.size());  // from transition i on
        for (std::size_t i = rawType.size(); i-- > 0;) nextStandard[i] = raw[rawType[i]].dst ? nextStandard[i + 1] : i;
        for (std::size_t i = 0; i < rawType.size(); ++i) {
            const RawType& type = raw[rawType[i]];
            if (!type.dst) {
                utcOffset = type.offset;
            } else if (type.offset != utcOffset + lastDst) {
                const int inferred = type.offset - lastDst;
                if (const std::size_t j = nextStandard[i + 1]; j < rawType.size()) {
                    const int next = raw[rawType[j]].offset;
                    const auto closer = [&] { return std::abs(next - inferred) < std::abs(utcOffset - inferred); };
                    if (next == utcOffset) {
                    } else if (next == inferred) {
                        utcOffset = next;
                    } else if (type.offset - 3600 == utcOffset) {
                    } else if (type.offset - 3600 == next) {
                        utcOffset = next;
                    } else if (next < type.offset ? (utcOffset >= type.offset || closer())
                                                  : (utcOffset >= type.offset && closer())) {
                        utcOffset = next;
                    }
                }
                lastDst = type.offset - utcOffset;
            }
            standard[i] = type.dst && type.offset == utcOffset ? type.offset - 3600 : utcOffset;
        }
    }
    const auto makeType = [&](std::uint8_t t, int standardOffset) {
        return Type{raw[t].offset, standardOffset, raw[t].dst, nameIndex(nameOf(raw[t].name))};
    };
    // Before the first transition time type 0 holds (RFC 8536 3.2).
    const std::size_t firstStandard = static_cast<std::size_t>(
        std::find_if(rawType.begin(), rawType.end(), [&](std::uint8_t t) { return !raw[t].dst; }) - rawType.begin());
    zone->initial_ = makeType(0, raw[0].dst && firstStandard < rawType.size() ? raw[rawType[firstStandard]].offset
                                 : raw[0].dst                                 ? raw[0].offset - 3600
                                                                              : raw[0].offset);
    zone->times_ = std::move(times);
    zone->typeOf_.reserve(rawType.size());
    for (std::size_t i = 0; i < rawType.size(); ++i) zone->typeOf_.push_back(typeIndex(makeType(rawType[i], standard[i])));
    p += h.chars + std::size_t{h.leap} * (timeSize + 4) + h.isstd + h.isut;

    // The footer: "\n" TZ string "\n" (version 2 on).
    if (version != '\0') {
        const std::string_view rest(reinterpret_cast<const char*>(p), tzif.size() - (reinterpret_cast<const char*>(p) - tzif.data()));
        if (rest.size() < 2 || rest.front() != '\n') return nullptr;
        const std::size_t close = rest.find('\n', 1);
        if (close == std::string_view::npos) return nullptr;
        const std::string_view text = rest.substr(1, close - 1);
        if (!text.empty()) {
            const auto posix = RuleReader(text).Read();
            if (!posix) return nullptr;
            zone->ruleNames_.emplace_back(posix->stdName, posix->stdOffset);
            if (posix->hasDst) zone->ruleNames_.emplace_back(posix->dstName, posix->dstOffset);
            if (posix->hasDst) {
                auto rule = std::make_shared<Rule>();
                rule->posix = *posix;
                rule->stdType = typeIndex(Type{posix->stdOffset, posix->stdOffset, false, nameIndex(posix->stdName)});
                rule->dstType = typeIndex(Type{posix->dstOffset, posix->stdOffset, true, nameIndex(posix->dstName)});
                // The rule's changes after the file's last transition, tabled from the year
                // before it (1600 at the earliest) through kLastTableYear; kept strictly in order.
                const std::int64_t last = zone->times_.empty() ? INT64_MIN : zone->times_.back();
                const std::size_t fileCount = zone->times_.size();
                const std::int64_t firstYear =
                    std::max<std::int64_t>(kFirstTableYear, fileCount == 0 ? kFirstTableYear : WideDateOfDays(FloorDiv(last, 86400)).year - 1);
                zone->fileLast_ = last;
                zone->fileLastType_ = zone->typeOf_.empty() ? static_cast<std::uint16_t>(zone->types_.size()) : zone->typeOf_.back();
                for (std::int64_t year = firstYear; year <= kLastTableYear; ++year) {
                    std::array<std::pair<std::int64_t, std::uint16_t>, 2> changes = {
                        std::pair{LocalSecondsOf(posix->start, year) - posix->stdOffset, rule->dstType},
                        std::pair{LocalSecondsOf(posix->end, year) - posix->dstOffset, rule->stdType}};
                    if (changes[1].first < changes[0].first) std::swap(changes[0], changes[1]);
                    for (const auto& [time, type] : changes) {
                        if (time <= last) continue;
                        // Two changes at one instant (daylight saving all year): the later holds.
                        while (zone->times_.size() > fileCount && zone->times_.back() >= time) {
                            zone->times_.pop_back();
                            zone->typeOf_.pop_back();
                        }
                        const std::uint16_t current = zone->typeOf_.empty() ? static_cast<std::uint16_t>(zone->types_.size())
                                                                            : zone->typeOf_.back();
                        if (type == current) continue;
                        zone->times_.push_back(time);
                        zone->typeOf_.push_back(type);
                    }
                }
                zone->ruleFrom_ = zone->times_.size() > fileCount ? zone->times_[fileCount] : DaysFromCivil(kLastTableYear + 1, 1, 1) * 86400;
                zone->ruleTo_ = DaysFromCivil(kLastTableYear + 1, 1, 1) * 86400;
                zone->rule_ = std::move(rule);
            }
        }
    }
    if (tooManyTypes) return nullptr;
    zone->names_ = std::move(names);
    return zone;
}

// The rule's latest change at or before `utcSeconds` among those after the file's last
// transition; the file's last type when there is none.
std::size_t TimeZone::RuleTypeAt(std::int64_t utcSeconds) const {
    const PosixRule& r = rule_->posix;
    const std::int64_t year = WideDateOfDays(FloorDiv(utcSeconds, 86400)).year;
    std::int64_t latest = fileLast_;
    std::size_t type = fileLastType_;
    for (std::int64_t y = year - 1; y <= year + 1; ++y) {
        for (const auto& [time, t] : {std::pair{LocalSecondsOf(r.start, y) - r.stdOffset, rule_->dstType},
                                      std::pair{LocalSecondsOf(r.end, y) - r.dstOffset, rule_->stdType}}) {
            if (time <= utcSeconds && time > fileLast_ && time >= latest) {
                latest = time;
                type = t;
            }
        }
    }
    return type;
}

std::size_t TimeZone::TypeIndexAt(std::int64_t utcSeconds) const {
    if (rule_ && utcSeconds > fileLast_ && (utcSeconds < ruleFrom_ || utcSeconds >= ruleTo_)) return RuleTypeAt(utcSeconds);
    const auto after = std::upper_bound(times_.begin(), times_.end(), utcSeconds);
    if (after == times_.begin()) return types_.size();  // the initial type
    return typeOf_[static_cast<std::size_t>(after - times_.begin()) - 1];
}

int TimeZone::OffsetAt(std::int64_t utcSeconds) const {
    const std::size_t t = TypeIndexAt(utcSeconds);
    return t == types_.size() ? initial_.offset : types_[t].offset;
}

ZoneState TimeZone::StateAt(std::int64_t utcSeconds) const {
    const std::size_t t = TypeIndexAt(utcSeconds);
    const Type& type = t == types_.size() ? initial_ : types_[t];
    return {type.offset, type.standardOffset, type.dst, names_[type.abbreviation]};
}

std::optional<Transition> TimeZone::NextTransition(std::int64_t fromUtc, std::int64_t toUtc) const {
    std::int64_t at = fromUtc;
    const int before = OffsetAt(fromUtc - 1);
    // Each step finds the next instant where the type may change: a time of the table, an
    // end of the rule's table, or outside the table a change of the rule.
    while (at <= toUtc) {
        std::int64_t next = INT64_MAX;
        if (const auto after = std::lower_bound(times_.begin(), times_.end(), at); after != times_.end()) next = *after;
        if (rule_) {
            for (const std::int64_t end : {ruleFrom_, ruleTo_}) {
                if (end >= at) next = std::min(next, end);
            }
        }
        if (rule_ && at > fileLast_ && (at < ruleFrom_ || at >= ruleTo_)) {
            const std::int64_t year = WideDateOfDays(FloorDiv(at, 86400)).year;
            for (std::int64_t y = year - 1; y <= year + 1; ++y) {
                for (const std::int64_t time : {LocalSecondsOf(rule_->posix.start, y) - rule_->posix.stdOffset,
                                                LocalSecondsOf(rule_->posix.end, y) - rule_->posix.dstOffset}) {
                    if (time >= at) next = std::min(next, time);
                }
            }
        }
        if (next > toUtc) break;
        if (const int after = OffsetAt(next); after != before) return Transition{next, before, after};
        at = next + 1;
    }
    return std::nullopt;
}

std::vector<Transition> TimeZone::TransitionsBetween(std::int64_t fromUtc, std::int64_t toUtc) const {
    std::vector<Transition> found;
    for (auto t = NextTransition(fromUtc, toUtc); t; t = NextTransition(t->atUtc + 1, toUtc)) found.push_back(*t);
    return found;
}

}  // namespace orvanta::zone
