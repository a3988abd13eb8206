#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "core/chart/birth_form.h"
#include "core/chart/results.h"
#include "core/display/interpretation_texts.h"
#include "core/report/report_builder.h"

class QPrinter;
class QPushButton;
class QTextEdit;

namespace orvanta {

// The report window: built afresh at each opening from the results window's
// contents, shown modal over it. Its box (object name "RTB") shows the report; "&Save"
// ("cmdSave") writes it as an RTF file and "&Print" ("cmdPrint") prints it.
class FrmSave : public QDialog {
    Q_OBJECT
public:
    FrmSave(const BirthDetails& birth, const Results& results, const InterpretationTexts& texts,
            QWidget* parent = nullptr);
    ~FrmSave() override;

    // The report as built at load, and as the RTF that Save writes.
    const std::vector<ReportPiece>& report() const { return report_; }
    std::string reportRtf() const;

    // The print command on a given printer: the print dialog over this window, then
    // the selection or the whole report. Printing to a file makes the PDF in memory and
    // saves it as Save does. Returns whether anything was printed.
    bool printWithDialog(QPrinter& printer);

    // Every way of closing passes here: the links are turned off as the window unloads.
    void done(int result) override;

public slots:
    void cmdSave_Click();
    void cmdPrint_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load(const BirthDetails& birth, const Results& results, const InterpretationTexts& texts);
    void Form_Unload();
    // Saves through the report's save; a failure says so in one message.
    bool SaveFile(const QString& path, const std::string& contents);

    std::vector<ReportPiece> report_;
    QTextEdit* RTB = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdPrint = nullptr;
    bool centred_ = false;
};

}  // namespace orvanta
