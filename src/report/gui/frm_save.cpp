#include "report/gui/frm_save.h"

#include <QFileDialog>
#include <QLabel>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>
#include <QTextEdit>

#include "kit/gui/appearance.h"
#include "kit/gui/web_links.h"
#include "report/gui/report_document.h"
#include "report/gui/report_links.h"
#include "report/report_file.h"
#include "report/rtf_writer.h"

namespace orvanta {

FrmSave::FrmSave(const BirthDetails& birth, const Results& results, const InterpretationTexts& texts,
                 QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmSave"));
    setWindowTitle(QString::fromLatin1(kWindowCaption));
    setModal(true);
    setFont(Verdana(8.25));
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(look::Brown));
    setPalette(background);

    const Twips twips(this);
    setFixedSize(twips.x(8775), twips.y(7650));

    RTB = new QTextEdit(this);
    RTB->setObjectName(QStringLiteral("RTB"));
    RTB->setGeometry(twips.rect(30, 390, 8745, 6135));
    RTB->setFont(Verdana(9.75));
    RTB->document()->setDefaultFont(Verdana(9.75));
    // The report is shown as built, so that what is seen is what Save writes; it can
    // still be selected, for copying and for printing a part of it.
    RTB->setReadOnly(true);
    RTB->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    RTB->setAcceptRichText(false);
    QPalette box = RTB->palette();
    box.setColor(QPalette::Base, QColor(look::White));
    box.setColor(QPalette::Text, QColor(look::Black));
    RTB->setPalette(box);

    cmdSave = new QPushButton(tr("&Save"), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdSave->setGeometry(twips.rect(6480, 6570, 1125, 345));
    QFont saveFont(QStringLiteral("MS Sans Serif"));
    saveFont.setPointSizeF(8.25);
    saveFont.setBold(true);
    cmdSave->setFont(saveFont);
    PaintButton(cmdSave);

    cmdPrint = new QPushButton(tr("&Print"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdPrint->setGeometry(twips.rect(7635, 6570, 1125, 345));
    cmdPrint->setFont(Verdana(8.25, true));
    PaintButton(cmdPrint);

    // The two web links above the box.
    const auto link = [&](const char* name, const QString& caption, WebLink target, const QRect& where,
                          Qt::Alignment alignment) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(name));
        label->setTextFormat(Qt::RichText);
        label->setText(QStringLiteral("<a href=\"%1\" style=\"color:#80ffff;\">%2</a>")
                           .arg(WebLinkUrl(target).toString(QUrl::FullyEncoded), caption.toHtmlEscaped()));
        label->setFont(Verdana(8.25, false, true));
        label->setGeometry(where);
        label->setAlignment(alignment | Qt::AlignVCenter);
        label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
        connect(label, &QLabel::linkActivated, this, [](const QString& url) { OpenWebAddress(QUrl(url)); });
    };
    link("lblHomeLink", QStringLiteral("Orvanta - free Vedic astrology software"), WebLink::VisitUs,
         twips.rect(120, 60, 4200, 270), Qt::AlignLeft);
    link("lblArticlesLink", QStringLiteral("More about the Vimshottari Dasha"), WebLink::DashaArticles,
         twips.rect(4455, 60, 4200, 270), Qt::AlignRight);

    // Enter in the box is not a command.
    cmdSave->setAutoDefault(false);
    cmdPrint->setAutoDefault(false);
    connect(cmdSave, &QPushButton::clicked, this, &FrmSave::cmdSave_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &FrmSave::cmdPrint_Click);

    Form_Load(birth, results, texts);
}

FrmSave::~FrmSave() = default;

void FrmSave::Form_Load(const BirthDetails& birth, const Results& results, const InterpretationTexts& texts) {
    EnableReportLinks(RTB);
    report_ = BuildReport(birth, results, texts);
    QTextCursor end(RTB->document());
    end.movePosition(QTextCursor::End);
    InsertReport(end, report_);
    RTB->moveCursor(QTextCursor::Start);
    RTB->ensureCursorVisible();
}

void FrmSave::Form_Unload() { DisableReportLinks(RTB); }

void FrmSave::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

std::string FrmSave::reportRtf() const { return WriteRtf(report_); }

void FrmSave::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (centred_) return;
    centred_ = true;
    if (const QScreen* where = screen() ? screen() : QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(where->availableGeometry().center());
        move(frame.topLeft());
    }
}

// Cancel and every failure end the command without a word; the report is unchanged.
void FrmSave::cmdSave_Click() {
    QFileDialog dialog(this, QString::fromLatin1(kProgramTitle));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(tr("Rich Text Format (*.rtf)"));
    dialog.setDefaultSuffix(QStringLiteral("rtf"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (dialog.exec() != QDialog::Accepted) return;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return;
    SaveReportFile(chosen.first(), reportRtf());
}

void FrmSave::cmdPrint_Click() {
    QPrinter printer(QPrinter::HighResolution);
    printWithDialog(printer);
}

bool FrmSave::printWithDialog(QPrinter& printer) {
    const bool hasSelection = RTB->textCursor().hasSelection();
    printer.setPrintRange(hasSelection ? QPrinter::Selection : QPrinter::AllPages);
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, hasSelection);
    dialog.setPrintRange(hasSelection ? QAbstractPrintDialog::Selection : QAbstractPrintDialog::AllPages);
    if (dialog.exec() != QDialog::Accepted) return false;
    PrintReport(*RTB, printer);
    return true;
}

}  // namespace orvanta
