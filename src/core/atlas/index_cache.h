#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace orvanta::atlas {

// The place index kept between runs, in the user's cache folder
// (~/.cache/orvanta/places-<program>.bin), so that a run need not inflate and read the
// place library's 24,361 places again (some 50 ms) before its first search.
//
// A kept index is used only when everything it was made from is what this run has:
// - the place library as this run has it loaded, byte for byte (its places are built
//   into its read-only data);
// - the build of this program and of GLib, Qt Core and the C library, by their build ids
//   (they split, fold and transliterate the names);
// - the locale's settings, and every translation catalog of the place library that the
//   locale's languages could pick, byte for byte.
// The file carries a hash of all that (the key) and of its own contents; a file that
// differs in either, is cut short or is not this format is not read, and the index is
// made anew from the library and written again. Nothing is kept when a source cannot be
// told (a library without a build id, a locale named by an alias): the index is then
// made from the library on every run, as it would be without this file.

// A 64-bit hash of `bytes` (not cryptographic: it tells a changed or damaged file from
// the one that was written).
std::uint64_t Hash64(std::string_view bytes, std::uint64_t seed = 0);

// The key of this run's sources, or nothing when one of them cannot be told.
std::optional<std::uint64_t> IndexSourcesKey();

// The file the index is kept in, or empty when there is no cache folder.
std::string IndexCachePath();

// The contents written with `key`, when `path` holds them whole; else nothing.
std::optional<std::string> ReadKeptIndex(const std::string& path, std::uint64_t key);

// Writes `contents` with `key` to `path` in one step (the old file stays until the new one
// is whole). False when it could not be written; the caller goes on without it.
bool WriteKeptIndex(const std::string& path, std::uint64_t key, std::string_view contents);

// Fields one after another in this machine's byte order (the key holds the order and
// the sizes), for the index's contents.
class FieldWriter {
public:
    void U8(std::uint8_t v) { bytes_.push_back(static_cast<char>(v)); }
    void U16(std::uint16_t v) { Raw(v); }
    void U32(std::uint32_t v) { Raw(v); }
    void I32(std::int32_t v) { Raw(v); }
    void F64(double v) { Raw(v); }
    void Text(std::string_view text) {
        U32(static_cast<std::uint32_t>(text.size()));
        bytes_.append(text);
    }
    const std::string& bytes() const { return bytes_; }

private:
    template <typename T>
    void Raw(T v) {
        char bytes[sizeof v];
        std::memcpy(bytes, &v, sizeof v);
        bytes_.append(bytes, sizeof v);
    }
    std::string bytes_;
};

// Reads what FieldWriter wrote; a read past the end sets failed() and gives zeros.
class FieldReader {
public:
    explicit FieldReader(std::string_view bytes) : bytes_(bytes) {}
    std::uint8_t U8() { return Raw<std::uint8_t>(); }
    std::uint16_t U16() { return Raw<std::uint16_t>(); }
    std::uint32_t U32() { return Raw<std::uint32_t>(); }
    std::int32_t I32() { return Raw<std::int32_t>(); }
    double F64() { return Raw<double>(); }
    std::string_view Text();  // a view into the bytes read
    bool failed() const { return failed_; }
    bool atEnd() const { return at_ == bytes_.size(); }

private:
    template <typename T>
    T Raw() {
        T v{};
        if (failed_ || bytes_.size() - at_ < sizeof v) {
            failed_ = true;
            return v;
        }
        std::memcpy(&v, bytes_.data() + at_, sizeof v);
        at_ += sizeof v;
        return v;
    }
    std::string_view bytes_;
    std::size_t at_ = 0;
    bool failed_ = false;
};

}  // namespace orvanta::atlas
