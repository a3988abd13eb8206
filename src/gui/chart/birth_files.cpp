#include "gui/chart/birth_files.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QScopeGuard>

#include "core/birthfile/zone_check.h"
#include "core/report/report_file.h"
#include "gui/chart/frm_main.h"
#include "gui/kit/message_box.h"
#include "gui/periods/period_files.h"
#ifdef ORVANTA_HAVE_ATLAS
#include "gui/chart/place_attachment.h"
#endif

namespace orvanta {
namespace {

const QString kFilters = QStringLiteral(
    "Birth files (*.orvanta *.jhd *.aaf);;Orvanta birth files (*.orvanta);;.jhd files (*.jhd);;AAF files (*.aaf);;"
    "All files (*)");

template <class T>
T* Find(QObject* window, const char* name) {
    T* control = window->findChild<T*>(QString::fromLatin1(name));
    Q_ASSERT_X(control, "BirthFiles", name);
    return control;
}

std::string Text(QObject* window, const char* name) { return Find<QLineEdit>(window, name)->text().toStdString(); }

void SetText(QObject* window, const char* name, const std::string& text) {
    Find<QLineEdit>(window, name)->setText(QString::fromStdString(text));
}

void Select(QObject* window, const char* name, const std::string& entry) {
    QComboBox* list = Find<QComboBox>(window, name);
    list->setCurrentIndex(list->findText(QString::fromStdString(entry)));
}

// One file dialog for the whole run: a dialog writes its folder and history into Qt's
// settings file when it is destroyed, and this one never is, so they stay in memory.
QString ChooseFile(QWidget* parent, bool forSaving, const QString& suggested) {
    static auto* const dialog = [] {
        auto* d = new QFileDialog;
        d->setObjectName(QStringLiteral("birthFileDialog"));
        d->setOption(QFileDialog::DontUseNativeDialog, true);
        d->setNameFilter(kFilters);
        return d;
    }();
    dialog->setParent(parent, dialog->windowFlags());
    const auto release = qScopeGuard([] { dialog->setParent(nullptr, dialog->windowFlags()); });
    dialog->setWindowTitle(forSaving ? QStringLiteral("Save Birth Details") : QStringLiteral("Open Birth Details"));
    dialog->setAcceptMode(forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(forSaving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (QFileInfo(suggested).isDir()) {
        dialog->setDirectory(suggested);
        dialog->selectFile(QString());
    } else {
        dialog->selectFile(suggested);
    }
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
    return dialog->selectedFiles().first();
}

void Tell(QWidget* parent, const std::string& text, Icon icon) { ShowMessage(parent, Message{text, icon, Control::None}); }

}  // namespace

BirthFiles::BirthFiles(FrmMain* window) : QObject(window), window_(window) {
    open_ = new QAction(QStringLiteral("&Open..."), this);
    open_->setObjectName(QStringLiteral("mnuOpen"));
    open_->setShortcut(QKeySequence::Open);
    connect(open_, &QAction::triggered, this, &BirthFiles::mnuOpen_Click);
    save_ = new QAction(QStringLiteral("&Save..."), this);
    save_->setObjectName(QStringLiteral("mnuSave"));
    save_->setShortcut(QKeySequence::Save);
    connect(save_, &QAction::triggered, this, &BirthFiles::mnuSave_Click);
    saveAs_ = new QAction(QStringLiteral("Save &As..."), this);
    saveAs_->setObjectName(QStringLiteral("mnuSaveAs"));
    connect(saveAs_, &QAction::triggered, this, &BirthFiles::mnuSaveAs_Click);

    chooseRecord = [this](const QStringList& labels) -> std::optional<int> {
        QInputDialog dialog(window_);
        dialog.setWindowTitle(QStringLiteral("Open Birth Details"));
        dialog.setLabelText(QStringLiteral("The file holds %1 people; choose one:").arg(labels.size()));
        dialog.setOption(QInputDialog::UseListViewForComboBoxItems);
        dialog.setComboBoxItems(labels);
        dialog.setTextValue(labels.first());  // chosen at once with Enter, from the keyboard alone
        const QSize room = window_->screen()->availableSize();  // 1024x768 at twice the scale is 512x384
        dialog.resize(qMin(560, room.width()), qMin(320, room.height()));
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return static_cast<int>(labels.indexOf(dialog.textValue()));
    };
    chooseFile = [this](bool forSaving, const QString& suggested) { return ChooseFile(window_, forSaving, suggested); };
}

void BirthFiles::mnuOpen_Click() {
    const QString path = chooseFile(false, path_.isEmpty() ? QString() : QFileInfo(path_).absolutePath());
    if (!path.isEmpty()) openFile(path);
}

void BirthFiles::mnuSave_Click() {
    if (path_.isEmpty()) {
        mnuSaveAs_Click();
    } else {
        saveFile(path_);
    }
}

void BirthFiles::mnuSaveAs_Click() {
    QString suggested = path_;
    if (suggested.isEmpty()) {
        const QString name = Find<QLineEdit>(window_, "txtName")->text().trimmed();
        suggested = (name.isEmpty() ? QStringLiteral("birth") : name) + QStringLiteral(".orvanta");
    }
    QString path = chooseFile(true, suggested);
    if (path.isEmpty()) return;
    if (!birthfile::FormatOfName(path.toStdString())) path += QStringLiteral(".orvanta");
    saveFile(path);
}

bool BirthFiles::openFile(const QString& path) {
    const std::string shown = QFileInfo(path).fileName().toStdString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Tell(window_, "The file " + shown + " cannot be opened: " + file.errorString().toStdString() + ".", Icon::Error);
        return false;
    }
    // One byte beyond the most a birth file may hold is enough to refuse a larger one.
    const QByteArray contents = file.read(birthfile::kMostFileBytes + 1);
    const birthfile::FileReading reading = birthfile::ReadBirthFile(shown, contents.toStdString());
    if (reading.problem) {
        Tell(window_, birthfile::ProblemSentence(shown, *reading.problem), Icon::Error);
        return false;
    }
    std::size_t index = 0;
    if (reading.records.size() > 1) {
        QStringList labels;
        for (const birthfile::ReadRecord& read : reading.records) labels << QString::fromStdString(read.label);
        const std::optional<int> chosen = chooseRecord(labels);
        if (!chosen || *chosen < 0 || *chosen >= labels.size()) return false;
        index = static_cast<std::size_t>(*chosen);
    }
    const birthfile::ReadRecord& read = reading.records[index];
    if (const auto unlisted = FindUnlistedText(read.record.form)) {
        Tell(window_, "The file " + shown + " cannot be opened in the form: its " +
                          std::string(ListFieldName(unlisted->field)) + " " + unlisted->text +
                          " is none of the form's entries (years 1901 to 2050). orvanta-chart --precise reads it.",
             Icon::Error);
        return false;
    }
#ifndef ORVANTA_HAVE_ATLAS
    if (!read.zoneInForm) {
        Tell(window_, "The file " + shown + " gives the zone " + read.record.place->timeZone +
                          ", which the zone boxes cannot hold; this build has no atlas to attach it to the form.",
             Icon::Error);
        return false;
    }
#endif
    Fill(read);
    path_ = reading.format == birthfile::FileFormat::Own ? path : QString();  // Save writes the own format only to its own file
    settings_ = read.record.settings;
    // A file's precise settings become the run's, as if chosen in the periods window.
    if (settings_) RunPeriodsSettings() = *settings_;
    note_ = read.record.note;

    std::vector<std::string> notes = read.notes;
#ifdef ORVANTA_HAVE_ATLAS
    if (read.record.place) {
        const birthfile::RecordPlace& p = *read.record.place;
        if (const auto problem = window_->atlas()->take(Place{p.name, p.state, p.country, p.countryCode, p.latitude,
                                                              p.longitude, p.timeZone, 0})) {
            notes.push_back(*problem);
        }
    }
#endif
    if (read.exchanged) {
        const birthfile::ZoneCheck check = birthfile::CheckZoneWithAtlas(*read.exchanged);
        if (check.difference) notes.push_back(*check.difference);
    }
    if (!notes.empty()) {
        std::string text = "Opened " + shown + ".";
        for (const std::string& note : notes) text += "\n\n" + note;
        Tell(window_, text, Icon::Information);
    }
    return true;
}

void BirthFiles::Fill(const birthfile::ReadRecord& read) {
    const BirthForm& form = read.record.form;
    SetText(window_, "txtName", form.name);
    Select(window_, "cboMonth", form.month);
    Select(window_, "cboDate", form.day);
    Select(window_, "cboYear", form.year);
    Select(window_, "cboHH", form.hour);
    Select(window_, "cboMM", form.minute);
    Select(window_, "cboSS", form.second);
    if (read.zoneInForm) {
        SetText(window_, "txtZoneHour", form.zoneHour);
        SetText(window_, "txtZoneMinute", form.zoneMinute);
        Find<QCheckBox>(window_, "chkDST")->setChecked(form.dst);
    }
    SetText(window_, "txtLatD", form.latD);
    SetText(window_, "txtLatM", form.latM);
    Find<QRadioButton>(window_, form.south ? "optLat_1" : "optLat_0")->setChecked(true);
    SetText(window_, "txtLonD", form.lonD);
    SetText(window_, "txtLonM", form.lonM);
    Find<QRadioButton>(window_, form.west ? "optLong_1" : "optLong_0")->setChecked(true);
    SetText(window_, "txtMCity", read.record.city);
    SetText(window_, "txtMState", read.record.state);
    SetText(window_, "txtMCountry", read.record.country);
}

birthfile::BirthRecord BirthFiles::CurrentRecord() const {
    birthfile::BirthRecord record;
    record.form = window_->ReadForm();
    record.city = Text(window_, "txtMCity");
    record.state = Text(window_, "txtMState");
    record.country = Text(window_, "txtMCountry");
    if (const std::optional<Place> place = window_->attachedPlace()) {
        record.place = birthfile::RecordPlace{place->name,     place->state,     place->country, place->countryCode,
                                              place->latitude, place->longitude, place->timeZone};
    }
    // The precise settings chosen in this run are kept with the birth; untouched defaults
    // leave a file's own settings (or none) as they were.
    const PeriodsSettings& chosen = RunPeriodsSettings();
    record.settings = chosen != PeriodsSettings{} ? std::optional<PeriodsSettings>(chosen) : settings_;
    record.note = note_;
    return record;
}

bool BirthFiles::saveFile(const QString& path) {
    const std::string shown = QFileInfo(path).fileName().toStdString();
    const std::optional<birthfile::FileFormat> format = birthfile::FormatOfName(path.toStdString());
    if (!format) {
        Tell(window_, "The file " + shown + " was not saved: its name must end in .orvanta, .jhd or .aaf.", Icon::Error);
        return false;
    }
    const birthfile::FileWriting writing = birthfile::WriteBirthFile(*format, {CurrentRecord()});
    if (writing.refusal) {
        Tell(window_, "The file " + shown + " was not saved: " + *writing.refusal, Icon::Error);
        return false;
    }
    const SaveOutcome saved = SaveReportFile(path, writing.contents);
    if (!saved.saved) {
        Tell(window_, "The file " + shown + " could not be saved: " + saved.reason.toStdString() +
                          ". Any file of that name is as it was.",
             Icon::Error);
        return false;
    }
    if (*format == birthfile::FileFormat::Own) path_ = path;
    if (!writing.leftOut.empty()) {
        std::string text = "Saved " + shown + ". The " + std::string(birthfile::FormatName(*format)) + " format leaves out:";
        for (const std::string& part : writing.leftOut) text += "\n- " + part;
        Tell(window_, text, Icon::Information);
    }
    return true;
}

}  // namespace orvanta
