#include "sky/ephemeris.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <array>
#include <cmath>
#include <limits>
#include <mutex>

#include <swephexp.h>

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
}

double Normalized(double degrees) {
    const double d = std::fmod(degrees, 360.0);
    return d < 0 ? d + 360.0 : (d >= 360.0 ? 0.0 : d);
}

struct MoonResult { double longitude; int ephemerisFlag; };

// Call with the lock held and the mode set.
MoonResult Moon(double julianDayUT) {
    double xx[6] = {};
    char serr[AS_MAXCH] = {};
    const int flags = swe_calc_ut(julianDayUT, SE_MOON, SEFLG_SWIEPH | SEFLG_SIDEREAL, xx, serr);
    if (flags < 0) return {kNaN, SEFLG_SWIEPH};
    return {Normalized(xx[0]), flags & (SEFLG_SWIEPH | SEFLG_MOSEPH | SEFLG_JPLEPH)};
}

}  // namespace

std::optional<Ayanamsa> AyanamsaFromName(std::string_view name) {
    for (const AyanamsaRow& row : kAyanamsas) {
        if (row.name == name) return row.ayanamsa;
    }
    return std::nullopt;
}

std::string_view AyanamsaName(Ayanamsa a) { return RowOf(a).name; }

EngineInfo Engine() {
    const std::lock_guard guard(LibraryLock());
    ConfigureThisThread(SE_SIDM_LAHIRI);
    char version[AS_MAXCH] = {};
    swe_version(version);
    // Which ephemeris answered shows in the flags the library returns, not in those asked for.
    const MoonResult probe = Moon(2451545.0);
    return {"Swiss Ephemeris", version, (probe.ephemerisFlag & SEFLG_MOSEPH) != 0 ? "moshier" : "files"};
}

Sky ComputeSky(double julianDayUT, double latitude, double longitude, Ayanamsa ayanamsa) {
    Sky sky;
    if (!std::isfinite(julianDayUT) || !std::isfinite(latitude) || !std::isfinite(longitude) ||
        std::fabs(latitude) > 90.0) {
        return {kNaN, kNaN, kNaN, kNaN, false};
    }
    const std::lock_guard guard(LibraryLock());
    ConfigureThisThread(RowOf(ayanamsa).sweMode);
    const MoonResult moon = Moon(julianDayUT);
    sky.moonSiderealLongitude = moon.longitude;
    sky.moshier = (moon.ephemerisFlag & SEFLG_MOSEPH) != 0;

    // The ascendant does not depend on the house system; Porphyry needs no iteration and
    // has no polar failure.
    double cusps[37] = {};
    double ascmc[10] = {};
    sky.ascendantSiderealLongitude = swe_houses_ex(julianDayUT, SEFLG_SIDEREAL, latitude, longitude, 'O', cusps,
                                                   ascmc) < 0
                                         ? kNaN
                                         : Normalized(ascmc[0]);

    // Without SEFLG_NONUT this call gives the true ayanamsa: the mean one plus the
    // nutation in longitude, the amount a sidereal position lies below the apparent one.
    double ayanamsaDegrees = 0;
    char serr[AS_MAXCH] = {};
    sky.ayanamsaDegrees = swe_get_ayanamsa_ex_ut(julianDayUT, moon.ephemerisFlag, &ayanamsaDegrees, serr) < 0
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

double MoonSiderealLongitude(double julianDayUT, Ayanamsa ayanamsa) {
    if (!std::isfinite(julianDayUT)) return kNaN;
    const std::lock_guard guard(LibraryLock());
    ConfigureThisThread(RowOf(ayanamsa).sweMode);
    return Moon(julianDayUT).longitude;
}

}  // namespace orvanta
