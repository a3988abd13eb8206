#include "gui/report/frm_save.h"

#include <QLabel>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>
#include <QTextEdit>

#include "core/report/rtf_writer.h"
#include "gui/kit/appearance.h"
#include "gui/kit/web_links.h"
#include "gui/report/report_document.h"
#include "gui/report/report_links.h"
#include "gui/report/saved_files.h"

namespace orvanta {

namespace {

// Takes the page-range fields out of Qt's own print dialog when it is shown (after the
// dialog has set up its widgets from its options); the system dialogs honour the option.
class NoPageRange : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show || watched != parent()) return QObject::eventFilter(watched, event);
        if (const auto* range = parent()->findChild<QWidget*>(QStringLiteral("gbPrintRange"))) {
            // "Pages from", its two boxes with the "to" between them, and "Pages".
            for (const char* name : {"printRange", "from", "label_3", "to", "pagesRadioButton", "pagesLineEdit"}) {
                if (auto* field = range->findChild<QWidget*>(QString::fromLatin1(name))) {
                    field->setEnabled(false);
                    field->hide();
                }
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

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

    // Enter in the box is not a command: neither button is the default.
    cmdSave = Button("cmdSave", tr("&Save"), this);
    cmdSave->setGeometry(twips.rect(6480, 6570, 1125, 345));
    QFont saveFont(QStringLiteral("MS Sans Serif"));
    saveFont.setPointSizeF(8.25);
    saveFont.setBold(true);
    cmdSave->setFont(saveFont);
    cmdPrint = Button("cmdPrint", tr("&Print"), this);
    cmdPrint->setGeometry(twips.rect(7635, 6570, 1125, 345));

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

// Cancel ends the command without a word. A write that failed says so and why, so that
// no one believes a report was kept that was not; the report stays as it was.
void FrmSave::cmdSave_Click() {
    const auto path = ChooseSavePath(this, tr("Rich Text Format (*.rtf)"), QStringLiteral("rtf"));
    if (path) SaveFile(*path, reportRtf());
}

bool FrmSave::SaveFile(const QString& path, const std::string& contents) {
    return SaveFileOrSay(this, path, contents, "report");
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
    dialog.installEventFilter(new NoPageRange(&dialog));
    if (dialog.exec() != QDialog::Accepted) return false;
    const bool selectionOnly = printer.printRange() == QPrinter::Selection;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        return SavePdfOrSay(
            this, printer.outputFileName(), printer.pageLayout(), printer.resolution(), windowTitle(),
            [&](QPagedPaintDevice& device) {
                PrintReport(*RTB, device, selectionOnly);
                return true;
            },
            "report", "report");
    }
    PrintReport(*RTB, printer, selectionOnly);
    return true;
}

}  // namespace orvanta
