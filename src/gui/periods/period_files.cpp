#include "gui/periods/period_files.h"

#include <QInputDialog>

#include "gui/kit/appearance.h"
#include "gui/kit/message_box.h"
#include "gui/report/saved_files.h"

namespace orvanta {

namespace {

constexpr std::array<const char*, kMaxPeriodLevels> kLevelNames = {"1 - Maha Dasha", "2 - Antar Dasha",
                                                                   "3 - Pratyantar Dasha", "4 - Sookshma Dasha",
                                                                   "5 - Prana Dasha"};

}  // namespace

PeriodsSettings& RunPeriodsSettings() {
    static PeriodsSettings settings;
    return settings;
}

bool ExportPeriods(QWidget* parent, PeriodExport kind, const PeriodsBirth& birth, PeriodsSettings settings,
                   std::int64_t nowUtcSeconds) {
    const bool calendar = kind == PeriodExport::Calendar;
    QInputDialog levels(parent);
    levels.setObjectName(QStringLiteral("levelChooser"));
    levels.setWindowTitle(QString::fromLatin1(kProgramTitle));
    levels.setLabelText(calendar ? QStringLiteral("&Calendar events down to the level:")
                                 : QStringLiteral("&Table rows down to the level:"));
    QStringList names;
    for (const char* name : kLevelNames) names << QString::fromLatin1(name);
    levels.setComboBoxItems(names);
    levels.setComboBoxEditable(false);
    levels.setTextValue(names[calendar ? 1 : 2]);
    if (levels.exec() != QDialog::Accepted) return false;
    settings.levels = static_cast<int>(names.indexOf(levels.textValue())) + 1;
    if (settings.levels < 1) return false;

    const PeriodsOutcome outcome = ComputePeriods(birth, settings);
    if (!outcome.report) {
        ShowMessage(parent, {outcome.error, Icon::Error});
        return false;
    }
    const auto path = calendar ? ChooseSavePath(parent, QStringLiteral("iCalendar (*.ics)"), QStringLiteral("ics"))
                               : ChooseSavePath(parent, QStringLiteral("CSV table (*.csv)"), QStringLiteral("csv"));
    if (!path) return false;
    return calendar ? SaveFileOrSay(parent, *path, PreciseIcs(*outcome.report, nowUtcSeconds, birth.details.name), "calendar")
                    : SaveFileOrSay(parent, *path, PreciseCsv(*outcome.report), "table");
}

}  // namespace orvanta
