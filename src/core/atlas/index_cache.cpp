#include "core/atlas/index_cache.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <dirent.h>
#include <libintl.h>
#include <link.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace orvanta::atlas {
namespace {

constexpr std::uint64_t kOdd1 = 0x9E3779B97F4A7C15ull;
constexpr std::uint64_t kOdd2 = 0xC2B2AE3D27D4EB4Full;
constexpr char kMagic[8] = {'O', 'R', 'V', 'P', 'L', 'C', '1', '\n'};
constexpr std::size_t kHeaderBytes = 32;  // magic, key, length, hash
constexpr std::uintmax_t kMostBytes = 256u << 20;

std::uint64_t Final(std::uint64_t h) {  // MurmurHash3's finaliser: every bit reaches every bit
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    return h ^ (h >> 33);
}

std::uint64_t Word(const char* p) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    return w;
}

// The bytes of a regular file (a pipe or a device in its place would block or never end).
std::optional<std::string> FileBytes(const std::string& path, std::uintmax_t most) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::uintmax_t>(size) > most) return std::nullopt;
    in.seekg(0);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in.read(bytes.data(), size)) return std::nullopt;
    return bytes;
}

void Mix(std::uint64_t& key, std::string_view part) { key = Hash64(part, key ^ part.size()); }

// The key's modules: the program, the libraries that shape the index's words, and the
// place library, whose places are hashed whole as this run has them loaded (a library
// replaced on disk while the program runs is not the one it reads).
struct Modules {
    bool program = false;
    bool glib = false;
    bool qtCore = false;
    bool libc = false;
    bool geonames = false;
    std::uint64_t geonamesBytes = 0;  // the hash of its read-only segments, its places among them
    std::uint64_t ids = 0;
    bool unknown = false;  // a module of the key without a build id
};

std::string_view BuildId(const dl_phdr_info& info) {
    for (ElfW(Half) i = 0; i < info.dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info.dlpi_phdr[i];
        if (segment.p_type != PT_NOTE) continue;
        const std::size_t align = std::max<std::size_t>(4, segment.p_align);
        const char* note = reinterpret_cast<const char*>(info.dlpi_addr + segment.p_vaddr);
        const char* end = note + segment.p_memsz;
        const auto padded = [&](std::size_t n) { return (n + align - 1) / align * align; };
        while (end - note >= static_cast<std::ptrdiff_t>(sizeof(ElfW(Nhdr)))) {
            ElfW(Nhdr) header;
            std::memcpy(&header, note, sizeof header);
            const char* name = note + sizeof header;
            const char* desc = name + padded(header.n_namesz);
            if (desc + header.n_descsz > end) break;
            if (header.n_type == NT_GNU_BUILD_ID && header.n_namesz == 4 && std::memcmp(name, "GNU", 4) == 0) {
                return {desc, header.n_descsz};
            }
            note = desc + padded(header.n_descsz);
        }
    }
    return {};
}

int AddModule(dl_phdr_info* info, std::size_t, void* data) {
    auto& modules = *static_cast<Modules*>(data);
    const std::string_view path = info->dlpi_name ? info->dlpi_name : "";
    const std::string_view base = path.substr(path.find_last_of('/') + 1);
    bool* seen = nullptr;
    if (path.empty() && !modules.program) {
        seen = &modules.program;
    } else if (base.starts_with("libglib-2.0.so")) {
        seen = &modules.glib;
    } else if (base.starts_with("libQt6Core.so")) {
        seen = &modules.qtCore;
    } else if (base.starts_with("libc.so")) {
        seen = &modules.libc;
    } else if (base.starts_with("libgeonames.so")) {
        modules.geonames = true;
        for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
            const ElfW(Phdr)& segment = info->dlpi_phdr[i];
            if (segment.p_type != PT_LOAD || (segment.p_flags & PF_W) || !(segment.p_flags & PF_R)) continue;
            const char* start = reinterpret_cast<const char*>(info->dlpi_addr + segment.p_vaddr);
            Mix(modules.geonamesBytes, std::string_view(start, segment.p_memsz));
        }
        return 0;
    }
    if (!seen) return 0;
    *seen = true;
    const std::string_view id = BuildId(*info);
    if (id.empty()) modules.unknown = true;
    Mix(modules.ids, base);
    Mix(modules.ids, id);
    return 0;
}

// The languages whose catalogs the locale could pick, by their language codes ("de" for
// "de_AT.UTF-8@euro"); nothing when a setting is not of that form.
std::optional<std::vector<std::string>> Languages() {
    std::vector<std::string> names;
    if (const char* list = std::getenv("LANGUAGE")) {
        std::string_view rest = list;
        while (!rest.empty()) {
            const std::size_t colon = rest.find(':');
            names.emplace_back(rest.substr(0, colon));
            rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        }
    }
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (const char* value = std::getenv(variable)) names.emplace_back(value);
    }
    if (const char* current = std::setlocale(LC_MESSAGES, nullptr)) names.emplace_back(current);
    std::vector<std::string> languages;
    for (const std::string& name : names) {
        if (name.empty() || name == "C" || name == "POSIX" || name.starts_with("C.")) continue;
        std::size_t letters = 0;
        while (letters < name.size() && name[letters] >= 'a' && name[letters] <= 'z') ++letters;
        const bool coded = (letters == 2 || letters == 3) &&
                           (letters == name.size() || std::strchr("_.@", name[letters]) != nullptr);
        if (!coded) return std::nullopt;  // an alias ("german") or a path: not told here
        languages.push_back(name.substr(0, letters));
    }
    return languages;
}

// Every catalog of the place library that one of `languages` could pick, its folder's name
// and its bytes.
bool MixCatalogs(std::uint64_t& key, const std::vector<std::string>& languages) {
    const char* bound = bindtextdomain("geonames", nullptr);
    const std::string folder = bound ? bound : "";
    Mix(key, folder);
    if (languages.empty() || folder.empty()) return true;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return errno == ENOENT;
    std::vector<std::string> picked;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        for (const std::string& language : languages) {
            if (name.starts_with(language) &&
                (name.size() == language.size() || std::strchr("_.@", name[language.size()]) != nullptr)) {
                picked.emplace_back(name);
                break;
            }
        }
    }
    closedir(dir);
    std::sort(picked.begin(), picked.end());
    for (const std::string& name : picked) {
        const std::string path = folder + "/" + name + "/LC_MESSAGES/geonames.mo";
        std::error_code error;
        if (!std::filesystem::exists(path, error) && !error) continue;  // no catalog of the library in that language
        const std::optional<std::string> catalog = FileBytes(path, kMostBytes);
        if (!catalog) return false;
        Mix(key, name);
        Mix(key, *catalog);
    }
    return true;
}

}  // namespace

std::uint64_t Hash64(std::string_view bytes, std::uint64_t seed) {
    // Four lanes of eight bytes; each step is a bijection of the lane, so one changed word
    // always changes the hash.
    std::uint64_t lane[4] = {seed ^ kOdd1, seed ^ kOdd2, ~seed, seed + kOdd1};
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    for (; left >= 32; p += 32, left -= 32) {
        for (int i = 0; i < 4; ++i) lane[i] = std::rotl((lane[i] ^ Word(p + 8 * i)) * kOdd1, 29);
    }
    char tail[32] = {};
    if (left > 0) std::memcpy(tail, p, left);
    for (int i = 0; i < 4; ++i) lane[i] = std::rotl((lane[i] ^ Word(tail + 8 * i)) * kOdd1, 29);
    std::uint64_t h = bytes.size() * kOdd2;
    for (std::uint64_t l : lane) h = Final(h ^ l) * kOdd1;
    return Final(h);
}

std::optional<std::uint64_t> IndexSourcesKey() {
    Modules modules;
    dl_iterate_phdr(AddModule, &modules);
    if (modules.unknown || !modules.program || !modules.glib || !modules.qtCore || !modules.libc ||
        !modules.geonames || modules.geonamesBytes == 0) {
        return std::nullopt;
    }
    std::uint64_t key = Hash64("orvanta place index 1");
    const std::uint32_t order = 0x01020304;
    Mix(key, std::string_view(reinterpret_cast<const char*>(&order), sizeof order));
    Mix(key, std::to_string(sizeof(void*)));
    Mix(key, std::to_string(modules.ids));
    Mix(key, std::to_string(modules.geonamesBytes));
    for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        Mix(key, value ? std::string("=") + value : std::string("unset"));
    }
    for (int category : {LC_MESSAGES, LC_CTYPE}) {
        const char* current = std::setlocale(category, nullptr);
        Mix(key, current ? current : "");
    }
    const std::optional<std::vector<std::string>> languages = Languages();
    if (!languages || !MixCatalogs(key, *languages)) return std::nullopt;
    return key;
}

std::string IndexCachePath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (folder.isEmpty()) return {};
    return (folder + QStringLiteral("/orvanta/places-") + QString::fromLocal8Bit(program_invocation_short_name) +
            QStringLiteral(".bin"))
        .toStdString();
}

std::optional<std::string> ReadKeptIndex(const std::string& path, std::uint64_t key) {
    std::optional<std::string> file = FileBytes(path, kMostBytes);
    if (!file || file->size() < kHeaderBytes || std::memcmp(file->data(), kMagic, 8) != 0) return std::nullopt;
    std::uint64_t header[3];
    std::memcpy(header, file->data() + 8, sizeof header);
    const std::string_view contents = std::string_view(*file).substr(kHeaderBytes);
    if (header[0] != key || header[1] != contents.size() || header[2] != Hash64(contents)) return std::nullopt;
    file->erase(0, kHeaderBytes);
    return file;
}

bool WriteKeptIndex(const std::string& path, std::uint64_t key, std::string_view contents) {
    const QString file = QString::fromStdString(path);
    if (!QDir().mkpath(QFileInfo(file).path())) return false;
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) return false;
    const std::uint64_t header[3] = {key, contents.size(), Hash64(contents)};
    const bool written = out.write(kMagic, 8) == 8 &&
                         out.write(reinterpret_cast<const char*>(header), sizeof header) == sizeof header &&
                         out.write(contents.data(), static_cast<qint64>(contents.size())) ==
                             static_cast<qint64>(contents.size());
    if (!written) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

std::string_view FieldReader::Text() {
    const std::uint32_t size = U32();
    if (failed_ || bytes_.size() - at_ < size) {
        failed_ = true;
        return {};
    }
    const std::string_view text = bytes_.substr(at_, size);
    at_ += size;
    return text;
}

}  // namespace orvanta::atlas
