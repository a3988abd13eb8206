#include "core/sky/ephemeris.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <array>
#include <cstdio>
#include <cmath>
#include <limits>
#include <mutex>

#include <swephexp.h>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#endif

#include "core/sky/ephemeris_files.h"
#include "library_lock.h"

namespace orvanta {
namespace {

struct AyanamsaRow { Ayanamsa ayanamsa; std::string_view name; int sweMode; };
constexpr std::array<AyanamsaRow, 6> kAyanamsas{{
    {Ayanamsa::Lahiri, "lahiri", SE_SIDM_LAHIRI},
    {Ayanamsa::Raman, "raman", SE_SIDM_RAMAN},
    {Ayanamsa::Krishnamurti, "krishnamurti", SE_SIDM_KRISHNAMURTI},
    {Ayanamsa::Yukteshwar, "yukteshwar", SE_SIDM_YUKTESHWAR},
    {Ayanamsa::FaganBradley, "fagan-bradley", SE_SIDM_FAGAN_BRADLEY},
    {Ayanamsa::TrueCitra, "true-citra", SE_SIDM_TRUE_CITRA},
}};

const AyanamsaRow& RowOf(Ayanamsa a) {
    for (const AyanamsaRow& row : kAyanamsas) {
        if (row.ayanamsa == a) return row;
    }
    return kAyanamsas.front();
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The library keeps its settings (file path, sidereal mode, caches) in one state record.
// Debian's build makes that record thread-local (__thread), others share it between threads;
// the lock makes "set the mode, then compute" one step in both, and each thread sets the
// path once because with a thread-local record every new thread starts unconfigured.
std::mutex& LibraryLock() {
    static std::mutex lock;
    return lock;
}

// The folder holding the library's data files (semo_*.se1 has the Moon). The SE_EPHE_PATH
// environment variable, when set, overrides whatever is passed here (a rule of the library).
QByteArray EphemerisFolder() {
    QStringList candidates;
    if (QCoreApplication::instance() != nullptr) {
        candidates << QCoreApplication::applicationDirPath() + QStringLiteral("/ephe");
    }
    candidates << QStringLiteral("/usr/share/libswe/ephe") << QStringLiteral("/usr/local/share/libswe/ephe");
    for (const QString& folder : candidates) {
        if (!QDir(folder).entryList({QStringLiteral("semo_*.se1")}, QDir::Files).isEmpty()) {
            return QFile::encodeName(folder);
        }
    }
    return {};
}

// Bumped whenever a thread closes the library: with a shared state record that undoes
// every thread's configuration, so each sets its path again.
int closings = 0;

// Closes this thread's files and buffers when the thread ends (with a thread-local state
// record nothing else would free them).
struct ThreadClose {
    bool used = false;
    ~ThreadClose() {
        if (!used) return;
        const std::lock_guard guard(LibraryLock());
        swe_close();
        ++closings;
    }
};

// Qt's string and hash code (the files' verdicts, the folder's name) can leave the upper
// halves of the AVX registers in use; on processors that track that state the library's
// SSE code then runs about five times slower (a sky: 134 us instead of 27 us, with the
// same results). Clearing them takes one instruction; called before the library computes.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
__attribute__((target("avx"))) void ZeroUpperAvx() { _mm256_zeroupper(); }
void ClearUpperVectorHalves() {
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx) ZeroUpperAvx();
}
#else
void ClearUpperVectorHalves() {}
#endif

// Call with the lock held.
void ConfigureThisThread(int sweMode) {
    thread_local ThreadClose closer;
    thread_local int configuredAt = -1;
    if (configuredAt != closings) {
        static const QByteArray folder = EphemerisFolder();
        swe_set_ephe_path(folder.isEmpty() ? nullptr : folder.constData());
        configuredAt = closings;
        closer.used = true;
    }
    swe_set_sid_mode(sweMode, 0, 0);
    ClearUpperVectorHalves();
}

double Normalized(double degrees) {
    const double d = std::fmod(degrees, 360.0);
    return d < 0 ? d + 360.0 : (d >= 360.0 ? 0.0 : d);
}

struct MoonResult {
    double longitude = kNaN;
    int ephemerisFlag = SEFLG_SWIEPH;
    bool moshier = false;
    std::string error;
    std::string file;
};

std::string Text(const char* path) { return path == nullptr ? std::string() : std::string(path); }

std::string Trimmed(const char* text) {
    std::string t(text);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\n' || t.back() == '.')) t.pop_back();
    return t;
}

double Separation(double a, double b) { return std::fabs(std::remainder(a - b, 360.0)); }

// Call with the lock held, after a calculation from the files: the files the library read
// for the Moon (its own and the planet file, for the Earth), each checked once per run.
std::string RefusedFile(const std::string& moonFile, const std::string& planetFile) {
    for (const std::string& path : {moonFile, planetFile}) {
        if (path.empty()) continue;
        FileVerdict verdict = VerifyEphemerisFile(path);
        if (verdict.trust == FileTrust::Refused) return verdict.error;
    }
    return {};
}

// Call with the lock held and the mode set. The Moon from the files, refused where a file
// is damaged or unreadable, or where a file no package list vouches for gives a Moon
// farther from the analytical theory than that theory can lie; the Moon of the theory where the library took it (no files, or none for
// this instant).
MoonResult Moon(double julianDayUT, MoonPosition position) {
    MoonResult moon;
    double xx[6] = {};
    char serr[AS_MAXCH] = {};
    const int asked = PositionFlags(position);
    const int flags = swe_calc_ut(julianDayUT, SE_MOON, SEFLG_SWIEPH | SEFLG_SIDEREAL | asked, xx, serr);
    double start = 0, end = 0;
    int denum = 0;
    moon.file = Text(swe_get_current_file_data(1, &start, &end, &denum));
    const std::string planetFile = Text(swe_get_current_file_data(0, &start, &end, &denum));
    if (flags < 0) {
        moon.error = RefusedFile(moon.file, planetFile);
        if (!moon.error.empty()) return moon;
        // The library's message can name the other file of the two: the one whose bytes
        // differ from the package's is named, else both.
        std::string named;
        for (const std::string& path : {moon.file, planetFile}) {
            if (!path.empty() && VerifyEphemerisFile(path).differsFromPackage) named = path;
        }
        moon.error = named.empty()
                         ? "The ephemeris cannot compute the Moon for this instant from " +
                               (moon.file.empty() ? planetFile : moon.file + " and " + planetFile) +
                               ": the library says \"" + Trimmed(serr) + "\""
                         : "The ephemeris file " + named +
                               " is damaged: the library cannot read it, and its size differs from the package's";
        moon.error += "; replace the damaged file with an undamaged copy, or point SE_EPHE_PATH elsewhere.";
        return moon;
    }
    moon.ephemerisFlag = flags & (SEFLG_SWIEPH | SEFLG_MOSEPH | SEFLG_JPLEPH);
    moon.moshier = (flags & SEFLG_MOSEPH) != 0;
    if (moon.moshier) {
        moon.file.clear();
        moon.longitude = Normalized(xx[0]);
        return moon;
    }
    // Without its own file the library takes the Moon from its theory and still returns
    // the files' flag (it says so only in its warning text).
    const FileVerdict moonVerdict = VerifyEphemerisFile(moon.file);
    if (moonVerdict.trust == FileTrust::Missing) {
        moon.moshier = true;
        moon.file.clear();
    }
    moon.error = RefusedFile(moon.file, planetFile);
    if (!moon.error.empty()) return moon;

    // Files whose bytes are those their package lists need no comparison; any other is held
    // against the theory. Tropical, so that an ayanamsa defined by a star's place is no
    // part of the comparison.
    const bool listed = moonVerdict.trust == FileTrust::Checksum &&
                        (planetFile.empty() || VerifyEphemerisFile(planetFile).trust == FileTrust::Checksum);
    ClearUpperVectorHalves();
    double files[6] = {}, theory[6] = {};
    if (!moon.moshier && !listed &&
        swe_calc_ut(julianDayUT, SE_MOON, SEFLG_SWIEPH | asked, files, serr) >= 0 &&
        swe_calc_ut(julianDayUT, SE_MOON, SEFLG_MOSEPH | asked, theory, serr) >= 0 &&
        Separation(files[0], theory[0]) > kTheoryBoundDegrees) {
        char figure[32];
        std::snprintf(figure, sizeof figure, "%.1f", Separation(files[0], theory[0]) * 3600);
        const bool moonTrusted = moonVerdict.trust == FileTrust::Checksum;
        moon.error = "The ephemeris file " + (moonTrusted ? planetFile : moon.file) +
                     " is damaged: the Moon it gives lies " + figure +
                     "\" from the library's analytical theory, which keeps within " +
                     std::to_string(static_cast<int>(kTheoryBoundDegrees * 3600)) +
                     "\" of undamaged files; replace it with an undamaged copy, or point SE_EPHE_PATH elsewhere.";
        return moon;
    }
    moon.longitude = Normalized(xx[0]);
    return moon;
}

}  // namespace

std::optional<Ayanamsa> AyanamsaFromName(std::string_view name) {
    for (const AyanamsaRow& row : kAyanamsas) {
        if (row.name == name) return row.ayanamsa;
    }
    return std::nullopt;
}

std::string_view AyanamsaName(Ayanamsa a) { return RowOf(a).name; }

std::optional<MoonPosition> MoonPositionFromName(std::string_view name) {
    if (name == "apparent") return MoonPosition::Apparent;
    if (name == "geometric") return MoonPosition::Geometric;
    return std::nullopt;
}

std::string_view MoonPositionName(MoonPosition position) {
    return position == MoonPosition::Geometric ? "geometric" : "apparent";
}

int PositionFlags(MoonPosition position) {
    return position == MoonPosition::Geometric ? SEFLG_TRUEPOS | SEFLG_NOGDEFL | SEFLG_NONUT : 0;
}

EngineInfo EngineVersion() {
    static const std::string version = [] {
        char text[AS_MAXCH] = {};
        swe_version(text);
        return std::string(text);
    }();
    return {"Swiss Ephemeris", version, {}};
}

EngineInfo Engine() {
    EngineInfo engine = EngineVersion();
    const std::lock_guard guard(LibraryLock());
    ConfigureThisThread(SE_SIDM_LAHIRI);
    // Which ephemeris answered shows in the flags the library returns, not in those asked for.
    engine.ephemeris = Moon(2451545.0, MoonPosition::Apparent).moshier ? "moshier" : "files";
    return engine;
}

Sky ComputeSky(double julianDayUT, double latitude, double longitude, Ayanamsa ayanamsa, MoonPosition position) {
    Sky sky;
    if (!std::isfinite(julianDayUT) || !std::isfinite(latitude) || !std::isfinite(longitude) ||
        std::fabs(latitude) > 90.0) {
        return {kNaN, kNaN, kNaN, kNaN, false, {}, {}};
    }
    const std::lock_guard guard(LibraryLock());
    ConfigureThisThread(RowOf(ayanamsa).sweMode);
    MoonResult moon = Moon(julianDayUT, position);
    if (!moon.error.empty()) return {kNaN, kNaN, kNaN, kNaN, false, std::move(moon.error), std::move(moon.file)};
    sky.moonSiderealLongitude = moon.longitude;
    sky.moshier = moon.moshier;
    sky.moonFile = moon.file;

    // The ascendant does not depend on the house system; Porphyry needs no iteration and
    // has no polar failure.
    double cusps[37] = {};
    double ascmc[10] = {};
    sky.ascendantSiderealLongitude = swe_houses_ex(julianDayUT, SEFLG_SIDEREAL, latitude, longitude, 'O', cusps,
                                                   ascmc) < 0
                                         ? kNaN
                                         : Normalized(ascmc[0]);

    // Without SEFLG_NONUT this call gives the true ayanamsa: the mean one plus the
    // nutation in longitude, the amount a sidereal position lies below the apparent one;
    // with it (the geometric position) the mean one.
    double ayanamsaDegrees = 0;
    char serr[AS_MAXCH] = {};
    const int ayanamsaFlags = moon.ephemerisFlag | PositionFlags(position);
    sky.ayanamsaDegrees = swe_get_ayanamsa_ex_ut(julianDayUT, ayanamsaFlags, &ayanamsaDegrees, serr) < 0
                              ? kNaN
                              : ayanamsaDegrees;
    sky.deltaTSeconds = swe_deltat_ex(julianDayUT, moon.ephemerisFlag, serr) * 86400.0;
    return sky;
}

void sky::WithLibrary(Ayanamsa ayanamsa, const std::function<void()>& work) {
    const std::lock_guard guard(LibraryLock());
    ConfigureThisThread(RowOf(ayanamsa).sweMode);
    work();
}

double MoonSiderealLongitude(double julianDayUT, Ayanamsa ayanamsa, MoonPosition position) {
    if (!std::isfinite(julianDayUT)) return kNaN;
    const std::lock_guard guard(LibraryLock());
    ConfigureThisThread(RowOf(ayanamsa).sweMode);
    return Moon(julianDayUT, position).longitude;
}

}  // namespace orvanta
