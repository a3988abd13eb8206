#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvanta::zone {

// What a zone has in force from one instant on.
struct ZoneState {
    int utcOffsetSeconds = 0;       // local minus UTC
    int standardOffsetSeconds = 0;  // the offset without daylight saving
    bool daylightTime = false;      // the database's is-DST flag
    std::string_view abbreviation;  // "IST", "-04"; the zone keeps the text
};

struct Transition {
    std::int64_t atUtc = 0;  // seconds since 1970-01-01T00:00:00Z, no leap seconds
    int offsetBefore = 0;
    int offsetAfter = 0;
};

// One zone of the tz database read from its compiled (TZif, RFC 8536) file: the
// transitions of the file, then those of the POSIX TZ rule at its end through the year
// 2800, looked up by binary search. Instants outside that table apply the rule year by year.
class TimeZone {
public:
    // Nothing when `tzif` is not a well-formed TZif file.
    static std::shared_ptr<const TimeZone> FromTzif(std::string id, std::string_view tzif);

    const std::string& Id() const { return id_; }
    int OffsetAt(std::int64_t utcSeconds) const;
    ZoneState StateAt(std::int64_t utcSeconds) const;
    // The changes of UTC offset with fromUtc <= atUtc <= toUtc, in time order.
    std::vector<Transition> TransitionsBetween(std::int64_t fromUtc, std::int64_t toUtc) const;
    // The first of them.
    std::optional<Transition> NextTransition(std::int64_t fromUtc, std::int64_t toUtc) const;
    // The abbreviations of the POSIX TZ rule (those the zone uses today) and their
    // offsets: {"IST", 3600}, {"GMT", 0}.
    std::vector<std::pair<std::string, int>> RuleAbbreviations() const { return ruleNames_; }

    struct Type {
        int offset = 0;
        int standardOffset = 0;
        bool dst = false;
        std::uint16_t abbreviation = 0;  // into names_
    };
    struct Rule;  // the POSIX TZ rule, when it has daylight saving

private:
    std::size_t TypeIndexAt(std::int64_t utcSeconds) const;
    std::size_t RuleTypeAt(std::int64_t utcSeconds) const;

    std::string id_;
    std::vector<std::int64_t> times_;     // ascending
    std::vector<std::uint16_t> typeOf_;   // the type from times_[i] on
    std::vector<Type> types_;
    Type initial_;                        // before the first transition
    std::vector<std::string> names_;      // the abbreviations
    std::shared_ptr<const Rule> rule_;    // after the file's last transition
    std::int64_t fileLast_ = INT64_MIN;   // the file's last transition
    std::uint16_t fileLastType_ = 0;      // its type (types_.size(): the initial one)
    std::int64_t ruleFrom_ = 0, ruleTo_ = 0;  // the rule's changes are tabled in [ruleFrom_, ruleTo_)
    std::vector<std::pair<std::string, int>> ruleNames_;
};

// The TZ rule text of a POSIX TZ string parsed; used by the reader and its fuzz target.
bool IsPosixTzRule(std::string_view text);

}  // namespace orvanta::zone
