#include "periods/gui/period_files.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>

#include "kit/gui/appearance.h"
#include "kit/gui/message_box.h"
#include "report/report_file.h"

namespace orvanta {

namespace {

QFileDialog& SaveDialog() {
    static auto* const dialog = [] {
        auto* d = new QFileDialog;
        d->setObjectName(QStringLiteral("periodsFileDialog"));
        d->setOption(QFileDialog::DontUseNativeDialog, true);
        d->setAcceptMode(QFileDialog::AcceptSave);
        d->setFileMode(QFileDialog::AnyFile);
        return d;
    }();
    return *dialog;
}

constexpr std::array<const char*, kMaxPeriodLevels> kLevelNames = {"1 - Maha Dasha", "2 - Antar Dasha",
                                                                   "3 - Pratyantar Dasha", "4 - Sookshma Dasha",
                                                                   "5 - Prana Dasha"};

}  // namespace

PeriodsSettings& RunPeriodsSettings() {
    static PeriodsSettings settings;
    return settings;
}

std::optional<QString> ChoosePeriodsFile(QWidget* parent, const QString& filter, const QString& suffix) {
    QFileDialog& dialog = SaveDialog();
    // The dialog belongs to the caller only while it is open, so that closing the
    // caller does not destroy it.
    dialog.setParent(parent, dialog.windowFlags());
    const auto release = qScopeGuard([&dialog] { dialog.setParent(nullptr, dialog.windowFlags()); });
    dialog.setWindowTitle(QString::fromLatin1(kProgramTitle));
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.selectFile(QString());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.first();
}

bool WritePeriodsFile(QWidget* parent, const QString& path, const std::string& contents, const char* what) {
    const SaveOutcome outcome = SaveReportFile(path, contents);
    if (outcome.saved) return true;
    ShowMessage(parent, {std::string("The ") + what + " could not be saved as " +
                             QDir::toNativeSeparators(path).toStdString() + ".\n\n" + outcome.reason.toStdString(),
                         Icon::Error});
    return false;
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
    const auto path = calendar ? ChoosePeriodsFile(parent, QStringLiteral("iCalendar (*.ics)"), QStringLiteral("ics"))
                               : ChoosePeriodsFile(parent, QStringLiteral("CSV table (*.csv)"), QStringLiteral("csv"));
    if (!path) return false;
    return calendar ? WritePeriodsFile(parent, *path, PreciseIcs(*outcome.report, nowUtcSeconds, birth.details.name), "calendar")
                    : WritePeriodsFile(parent, *path, PreciseCsv(*outcome.report), "table");
}

}  // namespace orvanta
