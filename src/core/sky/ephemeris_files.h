#pragma once

#include <string>

namespace orvanta {

// What is known of one of the library's data files (semo_*.se1, sepl_*.se1) before its
// positions are taken. The source of truth for a file's bytes is the checksum list of the
// installed package that holds a file of that name (Debian: /var/lib/dpkg/info/swe-*.md5sums).
// A copy elsewhere with the same name and size must hold the same bytes; a copy of another
// size may be another release of the files, and is checked against the analytical theory only.
enum class FileTrust {
    Checksum,  // the bytes are those the package lists
    Unlisted,  // no checksum to compare with: the positions are cross-checked
    Missing,   // the file does not exist (the library then answers from its theory)
    Refused,   // damaged or unreadable: `error` says which and why
};

struct FileVerdict {
    FileTrust trust = FileTrust::Unlisted;
    std::string error;  // a sentence naming the file, when refused
    bool differsFromPackage = false;  // the bytes are not those the package lists for this name
};

// Opens the file, and hashes it where a package lists its name and size; once per run
// (the verdict is kept by path); thread-safe.
FileVerdict VerifyEphemerisFile(const std::string& path);

}  // namespace orvanta
