#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvanta::zone {

// A fixed UTC offset to the second: the zone of a clock that no zone id of the tz
// database names (a place's local mean time, a file's offset with seconds). It has no
// daylight saving, no skipped and no doubled local times.

// The largest offset either way: 16 hours, as for the zones of an AAF file (every offset
// the tz database has, local mean times included, lies within it).
inline constexpr int kMostFixedOffsetSeconds = 16 * 3600;

// The one text of an offset (local minus UTC, in seconds): "UTC+05:30", "UTC-03:00",
// "UTC+00:21:48", seconds only when the offset has them; zero is "UTC+00:00".
std::string FixedOffsetText(int offsetSeconds);

// The offset of exactly such a text, within 16 hours; nothing for any other text
// ("UTC+5:30", "UTC+05:30:00", "UTC-00:00", "utc+05:30", "UTC+16:01", "Asia/Kolkata").
std::optional<int> FixedOffsetOf(std::string_view text);

// An offset as a person writes it after --utc-offset: a sign, two digits of hours, two
// of minutes and optionally two of seconds ("+05:30", "-03:00", "+00:21:48"), within
// 16 hours; nothing for any other text ("5:30", "+5:30", "+05:60", "UTC+05:30").
std::optional<int> ReadUtcOffset(std::string_view text);

}  // namespace orvanta::zone
