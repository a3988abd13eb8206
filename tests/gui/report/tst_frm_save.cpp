#include <QAbstractButton>
#include <QAbstractPrintDialog>
#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QLabel>
#include <QTextEdit>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <functional>

#include "../../core/report/report_fixture.h"
#include "../../core/report/small_file_system.h"
#include "../kit/gui_test_support.h"
#include "core/report/report_builder.h"
#include "gui/kit/message_box.h"
#include "gui/kit/web_links.h"
#include "gui/report/frm_save.h"
#include "gui/report/report_document.h"
#include "gui/report/report_links.h"

using namespace orvanta;
using namespace orvanta::testing;

namespace {

// The text a PDF holds, by pdftotext, with the page numbers and the line breaking of
// the printout taken out: words separated by single blanks.
QString PdfWords(const QString& pdf) {
    QProcess process;
    process.start(QStandardPaths::findExecutable("pdftotext"), {"-layout", "-enc", "UTF-8", pdf, "-"});
    if (!process.waitForFinished(60000)) return "<pdftotext failed>";
    QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split('\n');
    static const QRegularExpression pageNumber("^\\s*\\d+\\s*$");
    lines.removeIf([](const QString& line) { return pageNumber.match(line).hasMatch(); });
    return lines.join(' ').simplified();
}

QString Words(QString text) {
    text.replace(QChar::ParagraphSeparator, ' ');
    return text.simplified();
}

QPoint PointOnCharacter(QTextEdit* box, int position) {
    QTextCursor cursor(box->document());
    cursor.setPosition(position);
    box->setTextCursor(cursor);
    box->ensureCursorVisible();
    const QRect caret = box->cursorRect(cursor);
    return QPoint(caret.left() + 3, caret.center().y());
}

}  // namespace

// Takes the addresses that QDesktopServices would open.
class DesktopUrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};

class TestFrmSave : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void window();
    void controls_data();
    void controls();
    void document();
    void openedTwice();

    void findAddresses_data();
    void findAddresses();
    void openLink_data();
    void openLink();
    void linkClicks();
    void webLinkLabels();

    void saveDialog_data();
    void saveDialog();

    void saveFailure_data();
    void saveFailure();
    void nothingWrittenButTheReport();

    void printToPdf_data();
    void printToPdf();
    void printDialog_data();
    void printDialog();
    void printToFileOnAFullDisk();

private:
    std::unique_ptr<FrmSave> OpenSample() {
        return std::make_unique<FrmSave>(SampleBirth(), SampleResults(), SampleTexts());
    }
    DesktopUrlRecorder recorder_;
};

void TestFrmSave::initTestCase() {
    QFont::insertSubstitution("Verdana", "DejaVu Sans");
    QDesktopServices::setUrlHandler("http", &recorder_, "open");
    QDesktopServices::setUrlHandler("https", &recorder_, "open");
}

void TestFrmSave::cleanupTestCase() {
    QDesktopServices::unsetUrlHandler("http");
    QDesktopServices::unsetUrlHandler("https");
}

void TestFrmSave::init() { recorder_.urls.clear(); }

void TestFrmSave::window() {
    auto form = OpenSample();
    QCOMPARE(form->windowTitle(), QString("Orvanta v1.75"));
    QVERIFY(form->isModal());
    const int dpiX = form->logicalDpiX();
    const int dpiY = form->logicalDpiY();
    QCOMPARE(form->size(), QSize(qRound(8775.0 * dpiX / 1440), qRound(7650.0 * dpiY / 1440)));
    QCOMPARE(form->minimumSize(), form->maximumSize());
    const Qt::WindowFlags flags = form->windowFlags();
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QCOMPARE(form->palette().color(QPalette::Window), QColor(128, 64, 0));

    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    const QRect screen = form->screen()->availableGeometry();
    QVERIFY(qAbs(form->frameGeometry().center().x() - screen.center().x()) <= 2);
    QVERIFY(qAbs(form->frameGeometry().center().y() - screen.center().y()) <= 2);
}

// Positions in twips (left, top, width, height) through the screen's logical DPI.
void TestFrmSave::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("text");
    QTest::newRow("report box") << "RTB" << QRect(30, 390, 8745, 6135) << QString();
    QTest::newRow("save button") << "cmdSave" << QRect(6480, 6570, 1125, 345) << "&Save";
    QTest::newRow("print button") << "cmdPrint" << QRect(7635, 6570, 1125, 345) << "&Print";
}

void TestFrmSave::controls() {
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, text);

    auto form = OpenSample();
    QWidget* control = form->findChild<QWidget*>(name);
    QVERIFY(control);
    const double x = form->logicalDpiX() / 1440.0;
    const double y = form->logicalDpiY() / 1440.0;
    const QRect pixels(qRound(twips.left() * x), qRound(twips.top() * y),
                       qRound((twips.left() + twips.width()) * x) - qRound(twips.left() * x),
                       qRound((twips.top() + twips.height()) * y) - qRound(twips.top() * y));
    QCOMPARE(control->geometry(), pixels);
    QVERIFY(control->geometry().bottom() < form->height());
    QVERIFY(control->geometry().right() < form->width());

    if (auto* button = qobject_cast<QPushButton*>(control)) {
        QCOMPARE(button->text(), text);
        QVERIFY(button->font().bold());
        QCOMPARE(button->palette().color(QPalette::Button), QColor(255, 255, 192));
    } else {
        auto* box = qobject_cast<QTextEdit*>(control);
        QVERIFY(box);
        QCOMPARE(box->palette().color(QPalette::Base), QColor(Qt::white));
        QCOMPARE(box->document()->defaultFont().family(), QString("Verdana"));
        QCOMPARE(box->document()->defaultFont().pointSizeF(), 9.75);
    }
}

// The box holds the report piece by piece with its formatting.
void TestFrmSave::document() {
    BirthDetails birth = SampleBirth();
    birth.name = "  Jos\xC3\xA9 {K}  ";
    FrmSave form(birth, SampleResults(), SampleTexts());
    const QTextDocument* doc = form.findChild<QTextEdit*>("RTB")->document();

    QString expected;
    for (const ReportPiece& piece : form.report()) expected += QString::fromStdString(piece.text);
    expected.replace("\r\n", "\n");
    QCOMPARE(doc->toPlainText(), expected);

    int position = 0;
    for (const ReportPiece& piece : form.report()) {
        const QString text = QString::fromStdString(piece.text);
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == '\r') continue;
            // The format of the character at `position` is the one of the fragment after it.
            QTextCursor cursor(const_cast<QTextDocument*>(doc));
            cursor.setPosition(position + 1);
            if (text[i] != '\n') {
                const QTextCharFormat format = cursor.charFormat();
                const PaletteColour c = PaletteRgb(piece.colour);
                QVERIFY2(format.fontWeight() == (piece.bold ? QFont::Bold : QFont::Normal), piece.text.c_str());
                QCOMPARE(format.foreground().color(), QColor(c.red, c.green, c.blue));
                QCOMPARE(format.fontUnderline(), piece.rowEmphasis);
                QVERIFY(!format.hasProperty(QTextFormat::FontFamilies));
            }
            ++position;
        }
    }
    // The box opens at the top of the report.
    QCOMPARE(form.findChild<QTextEdit*>("RTB")->textCursor().position(), 0);
}

void TestFrmSave::openedTwice() {
    auto first = OpenSample();
    auto second = OpenSample();
    QCOMPARE(second->findChild<QTextEdit*>("RTB")->toHtml(), first->findChild<QTextEdit*>("RTB")->toHtml());
    QCOMPARE(second->reportRtf(), first->reportRtf());
}

void TestFrmSave::findAddresses_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("addresses");
    QTest::newRow("none") << "no address here, not even www or http:" << QStringList{};
    QTest::newRow("www in a sentence") << "see www.example.com for more." << QStringList{"www.example.com"};
    QTest::newRow("https with query") << "Read https://example.org/sani?x=1 today."
                                      << QStringList{"https://example.org/sani?x=1"};
    QTest::newRow("http in parentheses") << "(http://a.example/b)" << QStringList{"http://a.example/b"};
    QTest::newRow("upper case") << "WWW.EXAMPLE.COM, HTTP://X.EXAMPLE"
                                << QStringList{"WWW.EXAMPLE.COM", "HTTP://X.EXAMPLE"};
    QTest::newRow("prefix alone") << "www. and https:// and http://." << QStringList{};
    QTest::newRow("inside a word") << "awww.example.com x@www.example.com" << QStringList{};
    QTest::newRow("ends at a line break") << "www.example.com\nnext" << QStringList{"www.example.com"};
}

void TestFrmSave::findAddresses() {
    QFETCH(QString, text);
    QFETCH(QStringList, addresses);
    QStringList found;
    for (const WebAddressRange& range : FindWebAddresses(text)) found << text.mid(range.start, range.length);
    QCOMPARE(found, addresses);
}

void TestFrmSave::openLink_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("opened");  // empty: nothing opened
    const QString host = "https://example.org/";
    QTest::newRow("www gets http") << "www.example.com" << "http://www.example.com";
    QTest::newRow("https as it is") << "https://example.org/a?b=1" << "https://example.org/a?b=1";
    QTest::newRow("1023 characters") << host + QString(1023 - host.size(), 'a')
                                     << host + QString(1023 - host.size(), 'a');
    QTest::newRow("1024 characters") << host + QString(1024 - host.size(), 'a') << QString();
    QTest::newRow("not a web address") << "file:///etc/passwd" << QString();
    QTest::newRow("empty") << QString() << QString();
}

void TestFrmSave::openLink() {
    QFETCH(QString, address);
    QFETCH(QString, opened);
    const bool result = OpenReportLink(address);
    QCOMPARE(result, !opened.isEmpty());
    if (opened.isEmpty()) {
        QVERIFY(recorder_.urls.isEmpty());
    } else {
        QCOMPARE(recorder_.urls.size(), 1);
        QCOMPARE(recorder_.urls.first().toString(), opened);
    }
}

// Links come with the window and go with it: a left click opens the address under the
// pointer, a right click or a click beside a link opens nothing.
void TestFrmSave::webLinkLabels() {
    auto form = OpenSample();
    const std::pair<const char*, WebLink> labels[] = {{"lblHomeLink", WebLink::VisitUs},
                                                      {"lblArticlesLink", WebLink::DashaArticles}};
    for (const auto& [name, target] : labels) {
        auto* label = form->findChild<QLabel*>(name);
        QVERIFY2(label, name);
        QVERIFY(label->isVisibleTo(form.get()));
        QVERIFY(label->geometry().bottom() < form->findChild<QTextEdit*>("RTB")->geometry().top());
        recorder_.urls.clear();
        emit label->linkActivated(WebLinkUrl(target).toString());
        QCOMPARE(recorder_.urls, QList<QUrl>{WebLinkUrl(target)});
    }
}

void TestFrmSave::linkClicks() {
    auto form = OpenSample();
    auto* box = form->findChild<QTextEdit*>("RTB");
    QVERIFY(ReportLinksEnabled(box));
    QCOMPARE(box->extraSelections().size(), 2);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));

    const QString text = box->document()->toPlainText();
    const int www = int(text.indexOf("www.example.com"));
    const int https = int(text.indexOf("https://example.org/sani?x=1"));
    const int plain = int(text.indexOf("Name : "));
    QVERIFY(www > 0 && https > 0 && plain >= 0);

    // The pointer turns into a hand over a link only.
    QTest::mouseMove(box->viewport(), PointOnCharacter(box, www + 4));
    QCOMPARE(box->viewport()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(box->viewport(), PointOnCharacter(box, plain + 2));
    QCOMPARE(box->viewport()->cursor().shape(), Qt::IBeamCursor);

    QTest::mouseClick(box->viewport(), Qt::RightButton, {}, PointOnCharacter(box, www + 4));
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, PointOnCharacter(box, plain + 2));
    QVERIFY(recorder_.urls.isEmpty());

    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, PointOnCharacter(box, www + 4));
    // Far down the report: the box scrolls before the click.
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, PointOnCharacter(box, https + 10));
    QVERIFY(box->verticalScrollBar()->value() > 0);
    QCOMPARE(recorder_.urls, (QList<QUrl>{QUrl("http://www.example.com"), QUrl("https://example.org/sani?x=1")}));

    form->close();
    QVERIFY(!ReportLinksEnabled(box));
    QVERIFY(box->extraSelections().isEmpty());
    recorder_.urls.clear();
    form->show();
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, PointOnCharacter(box, www + 4));
    QVERIFY(recorder_.urls.isEmpty());
}

// The save command through its dialog: what is typed, what the overwrite question
// answers, and what ends up on disk.
void TestFrmSave::saveDialog_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("existing"); // already in the folder as `written`
    QTest::addColumn<int>("answer");          // to the overwrite question; 0: none expected
    QTest::addColumn<bool>("selectSome");
    QTest::addColumn<QString>("written");     // the file that must hold the report; empty: none

    QTest::newRow("typed name gets .rtf") << "report" << QByteArray() << 0 << false << "report.rtf";
    QTest::newRow("whole report with a selection") << "report" << QByteArray() << 0 << true << "report.rtf";
    QTest::newRow("name with its own suffix") << "S K.rtf" << QByteArray() << 0 << false << "S K.rtf";
    QTest::newRow("replace after yes") << "old" << QByteArray("old") << int(QMessageBox::Yes) << false << "old.rtf";
    QTest::newRow("kept after no") << "old" << QByteArray("old") << int(QMessageBox::No) << false << QString();
    // A cancelled dialog is saveFailure()'s first row.
}

void TestFrmSave::saveDialog() {
    QFETCH(QString, typed);
    QFETCH(QByteArray, existing);
    QFETCH(int, answer);
    QFETCH(bool, selectSome);
    QFETCH(QString, written);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (!existing.isNull()) {
        QFile old(dir.filePath("old.rtf"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(existing);
    }
    auto form = OpenSample();
    auto* box = form->findChild<QTextEdit*>("RTB");
    if (selectSome) {
        QTextCursor cursor(box->document());
        cursor.setPosition(20);
        cursor.setPosition(60, QTextCursor::KeepAnchor);
        box->setTextCursor(cursor);
    }
    form->show();

    QString title, filter, suffix;
    bool asksToOverwrite = false;
    bool asked = false;
    bool stayedOpenAfterNo = false;
    OnModal("QFileDialog", [&](QWidget* widget) {
        auto* dialog = static_cast<QFileDialog*>(widget);
        title = dialog->windowTitle();
        filter = dialog->nameFilters().join(';');
        suffix = dialog->defaultSuffix();
        asksToOverwrite = dialog->acceptMode() == QFileDialog::AcceptSave &&
                          !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        dialog->setDirectory(dir.path());
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        if (name) {
            name->clear();
            QTest::keyClicks(name, typed);
        } else {
            dialog->selectFile(typed);
        }
        if (answer != 0) {
            OnModal("QMessageBox", [&](QWidget* question) {
                asked = true;
                static_cast<QMessageBox*>(question)->button(QMessageBox::StandardButton(answer))->click();
            });
        }
        static_cast<QDialog*>(dialog)->accept();  // the dialog's own accept, as its Save button
        if (dialog->isVisible()) {
            stayedOpenAfterNo = true;
            dialog->reject();
        }
    });
    QTest::mouseClick(form->findChild<QPushButton*>("cmdSave"), Qt::LeftButton);

    QCOMPARE(title, QString("Orvanta"));
    QCOMPARE(filter, QString("Rich Text Format (*.rtf)"));
    QCOMPARE(suffix, QString("rtf"));
    QVERIFY(asksToOverwrite);
    QCOMPARE(asked, answer != 0);
    QCOMPARE(stayedOpenAfterNo, answer == int(QMessageBox::No));

    const QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    if (written.isEmpty()) {
        QCOMPARE(files, existing.isNull() ? QStringList{} : QStringList{"old.rtf"});
        if (!existing.isNull()) {
            QFile old(dir.filePath("old.rtf"));
            QVERIFY(old.open(QIODevice::ReadOnly));
            QCOMPARE(old.readAll(), existing);
        }
    } else {
        QCOMPARE(files, QStringList{written});
        QFile saved(dir.filePath(written));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray::fromStdString(form->reportRtf()));
    }
    // Saving leaves the report as it was.
    QCOMPARE(box->textCursor().hasSelection(), selectSome);
}

// Saves through the dialog, typing `typed` (a name, or a path from the dialog's folder)
// in folder `folder`, and answering Yes to the overwrite question for an existing file. Returns the messages
// shown, and whether the dialog was still open after its Save.
namespace {

struct SaveRun {
    std::vector<Message> messages;
    bool dialogStayedOpen = false;
};

SaveRun SaveThroughDialog(FrmSave& form, const QString& folder, const QString& typed) {
    SaveRun run;
    const MessageSink previous = SetMessageSink([&run](QWidget*, const Message& m) { run.messages.push_back(m); });
    OnModal("QFileDialog", [&](QWidget* widget) {
        auto* dialog = static_cast<QFileDialog*>(widget);
        if (typed.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->setDirectory(folder);
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        name->clear();
        QTest::keyClicks(name, typed);
        if (QFileInfo::exists(folder + "/" + typed + ".rtf")) {
            OnModal("QMessageBox", [](QWidget* question) {
                static_cast<QMessageBox*>(question)->button(QMessageBox::Yes)->click();
            });
        }
        static_cast<QDialog*>(dialog)->accept();
        if (dialog->isVisible()) {
            run.dialogStayedOpen = true;
            dialog->reject();
        }
    });
    QTest::mouseClick(form.findChild<QPushButton*>("cmdSave"), Qt::LeftButton);
    SetMessageSink(previous);
    return run;
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

}  // namespace

// A save that cannot be done: cancel is silent; a folder that does not exist keeps the
// user in the dialog; a write that failed shows one error with the system's reason.
// Every time the window stays open with its report, and no file changes.
void TestFrmSave::saveFailure_data() {
    QTest::addColumn<QString>("typed");         // empty: the dialog is cancelled
    QTest::addColumn<bool>("fullDisk");         // the folder is a full file system
    QTest::addColumn<bool>("dialogStaysOpen");
    QTest::addColumn<QString>("message");       // what the one message says; empty: no message
    QTest::newRow("cancelled") << QString() << false << false << QString();
    QTest::newRow("folder does not exist") << "missing/report" << false << true << "does not exist";
    QTest::newRow("folder is a file") << "blocker/report" << false << true << "does not exist";
    QTest::newRow("disk full, existing report")
        << "report" << true << false << QString::fromLocal8Bit(std::strerror(ENOSPC));
}

void TestFrmSave::saveFailure() {
    QFETCH(QString, typed);
    QFETCH(bool, fullDisk);
    QFETCH(bool, dialogStaysOpen);
    QFETCH(QString, message);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const SmallFileSystem disk("size=64k");
    if (fullDisk && !disk.mounted()) QSKIP(qPrintable(disk.whyNot()));
    const QString folder = fullDisk ? disk.filePath({}) : dir.path();
    const QByteArray old("{\\rtf1 the report saved before}");
    QFile existing(folder + "/" + (fullDisk ? "report.rtf" : "blocker"));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    QCOMPARE(existing.write(old), old.size());
    existing.close();
    if (fullDisk) QVERIFY(disk.Fill(0));
    const QStringList before = Entries(folder);

    auto form = OpenSample();
    form->show();
    const std::string report = form->reportRtf();
    const QString shown = form->findChild<QTextEdit*>("RTB")->toHtml();
    const SaveRun run = SaveThroughDialog(*form, folder, typed);

    QCOMPARE(run.dialogStayedOpen, dialogStaysOpen);
    QCOMPARE(run.messages.size(), message.isEmpty() ? std::size_t(0) : std::size_t(1));
    if (!message.isEmpty()) {
        const QString text = QString::fromStdString(run.messages.front().text);
        QVERIFY2(text.contains(message), qPrintable(text));
        QCOMPARE(run.messages.front().icon, Icon::Error);
        if (fullDisk) QVERIFY2(text.startsWith("The report could not be saved"), qPrintable(text));
    }
    QCOMPARE(Entries(folder), before);
    existing.open(QIODevice::ReadOnly);
    QCOMPARE(existing.readAll(), old);
    QVERIFY(form->isVisible());
    QCOMPARE(form->reportRtf(), report);
    QCOMPARE(form->findChild<QTextEdit*>("RTB")->toHtml(), shown);
}

// The save dialog leaves nothing of its own on disk: with HOME and XDG_CONFIG_HOME
// pointing at empty folders (set before the application starts), a save writes the
// report and nothing else, also once the window is gone.
void TestFrmSave::nothingWrittenButTheReport() {
    const QString home = qEnvironmentVariable("HOME");
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    QVERIFY(QFileInfo(home).isDir() && QFileInfo(config).isDir());
    QTemporaryDir dir;
    {
        auto form = OpenSample();
        form->show();
        QVERIFY(SaveThroughDialog(*form, dir.path(), "report").messages.empty());
    }
    QCOMPARE(Entries(dir.path()), QStringList{"report.rtf"});
    QCOMPARE(Entries(config), QStringList{});
    QStringList homeEntries = Entries(home);
    homeEntries.removeOne(".cache");  // the font library's cache, not the program's
    QCOMPARE(homeEntries, QStringList{});
}

void TestFrmSave::printToPdf_data() {
    // The whole report and a selection over several paragraphs are printDialog()'s rows.
    QTest::addColumn<int>("from");  // selection; from == to: none
    QTest::addColumn<int>("to");
    QTest::addColumn<bool>("selectionRange");
    QTest::newRow("whole report, selection present, range all") << 30 << 200 << false;
    QTest::newRow("selection within a paragraph") << 3 << 9 << true;
    QTest::newRow("selection range without a selection") << 0 << 0 << true;
}

void TestFrmSave::printToPdf() {
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(bool, selectionRange);
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");

    auto form = OpenSample();
    auto* box = form->findChild<QTextEdit*>("RTB");
    QTextCursor cursor(box->document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);

    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("report.pdf"));
    PrintReport(*box, printer, selectionRange);

    const QString expected = selectionRange && from != to ? Words(cursor.selectedText())
                                                          : Words(box->document()->toPlainText());
    QCOMPARE(PdfWords(dir.filePath("report.pdf")), expected);
}

// The print command through its dialog: the selection is offered and preselected only
// when there is one; cancelling prints nothing.
void TestFrmSave::printDialog_data() {
    QTest::addColumn<bool>("selectSome");
    QTest::addColumn<bool>("accept");
    QTest::newRow("nothing selected") << false << true;
    QTest::newRow("selection") << true << true;
    QTest::newRow("cancelled") << true << false;
}

void TestFrmSave::printDialog() {
    QFETCH(bool, selectSome);
    QFETCH(bool, accept);
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");

    auto form = OpenSample();
    auto* box = form->findChild<QTextEdit*>("RTB");
    const QString text = box->document()->toPlainText();
    if (selectSome) {
        QTextCursor cursor(box->document());
        cursor.setPosition(int(text.indexOf("Vimshottari Dasha\n")));
        cursor.setPosition(int(text.indexOf("Mercury Dasha")), QTextCursor::KeepAnchor);
        box->setTextCursor(cursor);
    }
    form->show();

    QTemporaryDir dir;
    const QString pdf = dir.filePath("report.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);

    bool offersSelection = false;
    bool offersPages = true;
    QStringList pageFields;
    bool allOffered = false;
    QAbstractPrintDialog::PrintRange range = QAbstractPrintDialog::PageRange;
    OnModal("QPrintDialog", [&](QWidget* widget) {
        auto* dialog = static_cast<QPrintDialog*>(widget);
        offersSelection = dialog->testOption(QAbstractPrintDialog::PrintSelection);
        offersPages = dialog->testOption(QAbstractPrintDialog::PrintPageRange);
        // Qt's own dialog keeps its "Pages from" choice usable unless it is taken out.
        if (auto* rangeBox = dialog->findChild<QWidget*>("gbPrintRange")) {
            for (auto* field : rangeBox->findChildren<QWidget*>()) {
                auto* label = qobject_cast<QLabel*>(field);
                auto* button = qobject_cast<QAbstractButton*>(field);
                const QString caption = label ? label->text() : button ? button->text() : QString();
                const bool pageField = qobject_cast<QSpinBox*>(field) || qobject_cast<QLineEdit*>(field) ||
                                       caption.startsWith("Pages") || caption == "to";
                if (pageField && field->isVisibleTo(rangeBox)) pageFields.append(field->objectName());
            }
        }
        if (auto* all = dialog->findChild<QWidget*>("printAll")) allOffered = !all->isHidden();
        range = dialog->printRange();
        if (accept) dialog->accept();
        else dialog->reject();
    });
    const bool printed = form->printWithDialog(printer);

    QCOMPARE(offersSelection, selectSome);
    QVERIFY(!offersPages);
    QCOMPARE(pageFields, QStringList{});
    QVERIFY(allOffered);
    QCOMPARE(range, selectSome ? QAbstractPrintDialog::Selection : QAbstractPrintDialog::AllPages);
    QCOMPARE(printed, accept);
    QCOMPARE(QFile::exists(pdf), accept);
    if (!accept) return;
    QCOMPARE(PdfWords(pdf), selectSome ? Words(box->textCursor().selectedText()) : Words(text));
}

// Printing to a file from the print dialog onto a full disk: one message with the
// system's reason, the file there before kept as it was, nothing cut off left.
void TestFrmSave::printToFileOnAFullDisk() {
    const SmallFileSystem disk("size=64k");
    if (!disk.mounted()) QSKIP(qPrintable(disk.whyNot()));
    const QString pdf = disk.filePath("report.pdf");
    const QByteArray old("%PDF-1.4 printed before");
    QFile existing(pdf);
    QVERIFY(existing.open(QIODevice::WriteOnly) && existing.write(old) == old.size());
    existing.close();
    QVERIFY(disk.Fill(0));
    const QStringList before = Entries(disk.filePath({}));

    auto form = OpenSample();
    form->show();
    MessageRecorder messages;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    OnModal("QPrintDialog", [](QWidget* dialog) { static_cast<QDialog*>(dialog)->accept(); });
    QVERIFY(!form->printWithDialog(printer));
    QCOMPARE(messages.shown.size(), std::size_t(1));
    const QString text = QString::fromStdString(messages.shown[0].message.text);
    QVERIFY2(text.startsWith("The report could not be saved") && text.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))),
             qPrintable(text));
    QCOMPARE(Entries(disk.filePath({})), before);
    QVERIFY(existing.open(QIODevice::ReadOnly));
    QCOMPARE(existing.readAll(), old);
}

int main(int argc, char** argv) {
    // A home of the test's own, to see what the windows write there.
    const QTemporaryDir home;
    const QTemporaryDir config;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    // The file and print dialogs of Qt itself, which a test can drive.
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    TestFrmSave test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frm_save.moc"
