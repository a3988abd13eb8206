// The results window: it holds exactly the engine's results, keeps the designed layout
// in twips with nothing cut off or overlapping, and follows the hover, tab, Exit, Print
// and Back rules.

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStyle>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <map>

#include "../kit/gui_test_support.h"
#include "core/chart/computation_run.h"
#include "gui/display/frm_display.h"
#include "gui/kit/appearance.h"
#include "gui/report/frm_save.h"

using namespace orvanta;
using namespace orvanta::testing;

Q_DECLARE_METATYPE(orvanta::BirthForm)

namespace {

// 1 January 2000, 12:00, zone 5:30, 77°13' E, 28°39' N: Rahu at birth.
BirthForm DelhiMillennium() {
    return {.month = "January", .day = "1", .year = "2000", .hour = "12", .minute = "0", .latD = "28", .latM = "39",
            .lonD = "77", .lonM = "13"};
}

BirthForm SouthWest() {
    return {.month = "November", .day = "30", .year = "2043", .hour = "4", .minute = "5", .zoneHour = "3",
            .zoneMinute = "0", .dst = true, .latD = "34", .latM = "36", .south = true, .lonD = "58", .lonM = "22",
            .west = true};
}

QString Q(const std::string& text) { return QString::fromStdString(text); }

template <typename T>
T* Find(const QWidget& window, const QString& name) {
    T* widget = window.findChild<T*>(name);
    if (!widget) qWarning("no control %s", qPrintable(name));
    return widget;
}

}  // namespace

class TestFrmDisplay : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        InstallLook();
        texts_ = LoadInterpretationTexts();
    }

    void holdsTheEngineResults_data();
    void holdsTheEngineResults();
    void designLayout_data();
    void designLayout();
    void nothingCutOffOrOverlapping_data();
    void nothingCutOffOrOverlapping();
    void startState();
    void hover_data();
    void hover();
    void hoverUnknownTitle();
    void keyboardHover_data();
    void keyboardHover();
    void tabRule();
    void keysAndCommands_data();
    void keysAndCommands();
    void printOpensReportModal();
    void designLook_data();
    void designLook();
    void textBlocksMeasureAsLabels_data();
    void textBlocksMeasureAsLabels();

private:
    InterpretationTexts texts_;
    std::map<std::string, std::pair<QString, int>> hoverNames_;
};

void TestFrmDisplay::holdsTheEngineResults_data() {
    QTest::addColumn<BirthForm>("form");
    QTest::newRow("form defaults") << BirthForm{};
    QTest::newRow("1 January 2000 at Delhi") << DelhiMillennium();
    QTest::newRow("south, west, DST") << SouthWest();
}

void TestFrmDisplay::holdsTheEngineResults() {
    QFETCH(BirthForm, form);
    const RunOutcome run = RunChart(form);
    QVERIFY(!run.rejection);
    const Results& r = run.chart.results;
    FrmDisplay display(run.chart, texts_);

    for (int row = 0; row < Results::kRows; ++row) {
        QCOMPARE(Find<QLineEdit>(display, QStringLiteral("txtDashaName_%1").arg(row))->text(), Q(r.dashaName[row]));
        QCOMPARE(Find<QLineEdit>(display, QStringLiteral("txtDashaStarts_%1").arg(row))->text(), Q(r.dashaStarts[row]));
        QCOMPARE(Find<QLineEdit>(display, QStringLiteral("txtDashaEnd_%1").arg(row))->text(), Q(r.dashaEnd[row]));
        for (int s = 0; s < 9; ++s) {
            const QString name = QString::fromLatin1(SubDashaLabelArrays[row]) + QStringLiteral("_%1").arg(s);
            QCOMPARE(Find<QLabel>(display, name)->text(), Q(r.subDashaLords[row][s]));
        }
    }
    int hidden = 0;
    for (int n = 1; n <= Results::kCells; ++n) {
        auto* cell = Find<QLineEdit>(display, QStringLiteral("txtSubDasha_%1").arg(n));
        QCOMPARE(cell->text(), Q(r.cell(n)));
        QCOMPARE(cell->isHidden(), !r.cellVisible(n));
        hidden += cell->isHidden() ? 1 : 0;
        QVERIFY2(!cell->isHidden() || n <= 18, "only the first table is ever trimmed");
    }
    QVERIFY(hidden % 2 == 0);
    auto* panels = Find<QStackedWidget>(display, "subDashaPanels");
    QCOMPARE(panels->currentWidget()->objectName(), QStringLiteral("fraSubDasha_%1").arg(r.frontPanel));
    QCOMPARE(Find<CaptionFrame>(display, "fraSubDasha_0")->caption(), Q(r.subDashaCaption));
    QCOMPARE(Find<QLabel>(display, "lblDashaAtTimeOfBirth")->text(), Q(r.dashaAtTimeOfBirth));
    const std::map<QString, std::string> details = {
        {"lblNakshatra", r.nakshatra}, {"lblRashi", r.rashi},   {"lblLord", r.lord},          {"lblAyanamsha", r.ayanamsha},
        {"lblLagna", r.lagna},         {"lblJulianDay", r.julianDay}, {"lblLagnaPosition", r.lagnaPosition}};
    for (const auto& [name, text] : details) QCOMPARE(Find<QLabel>(display, name)->text(), Q(text));
    QCOMPARE(display.results(), r);
}

void TestFrmDisplay::designLayout_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("twips");  // left, top, width, height within its container
    QTest::newRow("Frame1") << "Frame1" << QRect(0, 720, 11055, 7215);
    QTest::newRow("Frame4") << "Frame4" << QRect(0, -30, 5055, 3735);
    QTest::newRow("Frame3") << "Frame3" << QRect(5160, -20, 5895, 3735);
    QTest::newRow("first name box") << "txtDashaName_0" << QRect(120, 600, 1695, 315);
    QTest::newRow("last name box") << "txtDashaName_8" << QRect(120, 600 + 315 * 8, 1695, 315);
    QTest::newRow("a start box") << "txtDashaStarts_4" << QRect(1815, 600 + 315 * 4, 1575, 315);
    QTest::newRow("an end box") << "txtDashaEnd_7" << QRect(3390, 600 + 315 * 7, 1575, 315);
    QTest::newRow("sub-period panels") << "subDashaPanels" << QRect(0, 3720, 5055, 3375);
    QTest::newRow("cell 1") << "txtSubDasha_1" << QRect(1800, 360, 1575, 315);
    QTest::newRow("cell 36") << "txtSubDasha_36" << QRect(3375, 360 + 315 * 8, 1575, 315);
    QTest::newRow("cell 161") << "txtSubDasha_161" << QRect(1800, 360 + 315 * 8, 1575, 315);
    QTest::newRow("description") << "txtMahaDashaDesc" << QRect(120, 600, 5655, 2895);
    QTest::newRow("information panels") << "infoPanels" << QRect(5160, 3720, 5895, 2895);
    QTest::newRow("tab strip") << "TabStrip1" << QRect(5160, 6720, 3165, 375);
    QTest::newRow("Exit") << "cmdExit" << QRect(8400, 6720, 660, 375);
    QTest::newRow("Print") << "cmdPrint" << QRect(9120, 6720, 855, 375);
    QTest::newRow("Back") << "cmdOK" << QRect(10080, 6720, 900, 375);
    QTest::newRow("Julian day") << "lblJulianDay" << QRect(1680, 240, 2265, 315);
    QTest::newRow("lord") << "lblLord" << QRect(1680, 2460, 2265, 315);
}

void TestFrmDisplay::designLayout() {
    QFETCH(QString, control);
    QFETCH(QRect, twips);
    const RunOutcome run = RunChart(BirthForm{});
    FrmDisplay display(run.chart, texts_);
    QWidget* widget = Find<QWidget>(display, control);
    QVERIFY(widget);
    const Twips tw(&display);
    QCOMPARE(widget->geometry(), tw.rect(twips.x(), twips.y(), twips.width(), twips.height()));
    QCOMPARE(display.centralWidget()->size(), QSize(tw.x(11070), tw.y(8400)));
}

void TestFrmDisplay::nothingCutOffOrOverlapping_data() { holdsTheEngineResults_data(); }

void TestFrmDisplay::nothingCutOffOrOverlapping() {
    QFETCH(BirthForm, form);
    const RunOutcome run = RunChart(form);
    FrmDisplay display(run.chart, texts_);
    display.show();
    QVERIFY(QTest::qWaitForWindowExposed(&display));

    const auto checkText = [&](const char* when) {
        for (QLabel* label : display.findChildren<QLabel*>()) {
            if (label->wordWrap() || label->text().isEmpty()) continue;
            const int room = label->contentsRect().width() - (label->frameWidth() > 0 ? std::max(label->indent(), 0) : 0);
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= room,
                     qPrintable(QStringLiteral("%1 cut off %2: %3").arg(label->objectName(), when, label->text())));
            QVERIFY2(label->fontMetrics().height() <= label->contentsRect().height(), qPrintable(label->objectName()));
        }
        for (QLineEdit* box : display.findChildren<QLineEdit*>()) {
            const int frame = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box);
            const int room = box->width() - 2 * frame - 4;  // QLineEdit keeps 2 pixels each side
            QVERIFY2(box->fontMetrics().horizontalAdvance(box->text()) <= room,
                     qPrintable(QStringLiteral("%1 cut off %2: %3").arg(box->objectName(), when, box->text())));
        }
    };
    checkText("after the run");
    for (int row = 0; row < Results::kRows; ++row) {
        display.txtDashaName_MouseMove(row);
        checkText(qPrintable(QStringLiteral("after hovering row %1").arg(row)));
    }

    // Siblings never overlap: only the stacked panels share a place, one at a time.
    QList<QWidget*> containers = display.findChildren<QWidget*>();
    containers << display.centralWidget();
    for (QWidget* container : containers) {
        if (qobject_cast<QStackedWidget*>(container) || qobject_cast<QScrollArea*>(container)) continue;
        QList<QWidget*> children;
        for (QObject* child : container->children()) {
            auto* widget = qobject_cast<QWidget*>(child);
            if (widget && !widget->isHidden() && !widget->isWindow()) children << widget;
        }
        for (qsizetype i = 0; i < children.size(); ++i) {
            for (qsizetype j = i + 1; j < children.size(); ++j) {
                QVERIFY2(!children[i]->geometry().intersects(children[j]->geometry()),
                         qPrintable(children[i]->objectName() + QStringLiteral(" overlaps ") + children[j]->objectName()));
            }
        }
    }
}

void TestFrmDisplay::startState() {
    const RunOutcome run = RunChart(BirthForm{});
    FrmDisplay display(run.chart, texts_);
    QCOMPARE(display.windowTitle(), QStringLiteral("Orvanta v1.75"));
    QVERIFY(!(display.windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(Find<QStackedWidget>(display, "infoPanels")->currentWidget()->objectName(), QStringLiteral("fraVedicDetails"));
    QCOMPARE(Find<QTabBar>(display, "TabStrip1")->currentIndex(), 1);
    QCOMPARE(Find<QPlainTextEdit>(display, "txtMahaDashaDesc")->toPlainText(), Q(texts_.introTexts[0]) + u'\n');
    QCOMPARE(Find<QLabel>(display, "lblMahaDasha")->text(), QStringLiteral("Dasha Starts"));
    QCOMPARE(Find<QLabel>(display, "Label6")->text(), Q(texts_.introTexts[0]));
    QCOMPARE(Find<QLabel>(display, "Label13")->text(), Q(texts_.introTexts[1]));
    QCOMPARE(Find<QLabel>(display, "Label15")->text(), QStringLiteral("Vimshottari Dasha "));
    QCOMPARE(Find<QLabel>(display, "Label1")->text(), QStringLiteral("* Keep the Mouse over Maha Dasha  for Details."));
    QStringList tabs;
    for (int i = 0; i < Find<QTabBar>(display, "TabStrip1")->count(); ++i) tabs << Find<QTabBar>(display, "TabStrip1")->tabText(i);
    QCOMPARE(tabs, (QStringList{"Vimshottari Dasha", "Vedic Details"}));
    QCOMPARE(Find<QPushButton>(display, "cmdExit")->text(), QStringLiteral("&Exit"));
    QCOMPARE(Find<QPushButton>(display, "cmdPrint")->text(), QStringLiteral("Print"));
    QCOMPARE(Find<QPushButton>(display, "cmdOK")->text(), QStringLiteral("&Back"));
    QVERIFY(Find<QPushButton>(display, "cmdExit")->isDefault());
    for (int row = 0; row < Results::kRows; ++row) {
        auto* name = Find<QLineEdit>(display, QStringLiteral("txtDashaName_%1").arg(row));
        QVERIFY(name->isReadOnly());
        QVERIFY2(name->hasMouseTracking(), "the hover rule runs on every move, without a button held");
        QCOMPARE(name->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(name->cursor().pixmap().size(), QSize(32, 32));
    }
}

// The default birth's nine rows hold the nine titles.
void TestFrmDisplay::hover_data() {
    QTest::addColumn<int>("row");
    // The English title of each period, its second name and its description index.
    const std::map<std::string, std::pair<QString, int>> names = {
        {"Sun Dasha", {"Surya Dasha", 0}},       {"Moon Dasha", {"Chandra Dasha", 1}},
        {"Mars Dasha", {"Kuja Dasha", 2}},       {"Rahu Dasha", {"Moon North Node Dasha", 3}},
        {"Jupiter Dasha", {"Guru Dasha", 4}},    {"Saturn Dasha", {"Sani Dasha", 5}},
        {"Mercury Dasha", {"Budha Dasha", 6}},   {"Ketu Dasha", {"Moon South Node Dasha", 7}},
        {"Venus Dasha", {"Sukra Dasha", 8}}};
    for (int row = 0; row < Results::kRows; ++row) QTest::addRow("row %d", row) << row;
    hoverNames_ = names;
}

void TestFrmDisplay::hover() {
    QFETCH(int, row);
    const RunOutcome run = RunChart(BirthForm{});
    FrmDisplay display(run.chart, texts_);
    display.show();
    QVERIFY(QTest::qWaitForWindowExposed(&display));

    auto* name = Find<QLineEdit>(display, QStringLiteral("txtDashaName_%1").arg(row));
    // A real pointer move, with no button held; the second move on the same box changes nothing.
    QTest::mouseMove(name, QPoint(5, 5));
    QTest::mouseMove(name, name->rect().center());
    const std::string title = run.chart.results.dashaName[row];
    const auto& [second, index] = hoverNames_.at(title);
    auto* panels = Find<QStackedWidget>(display, "subDashaPanels");
    QCOMPARE(panels->currentWidget()->objectName(), QStringLiteral("fraSubDasha_%1").arg(row));
    QCOMPARE(Find<CaptionFrame>(display, QStringLiteral("fraSubDasha_%1").arg(row))->caption(),
             QStringLiteral("Sub Dasha Of ") + Q(title));
    QCOMPARE(Find<QLabel>(display, "lblMahaDasha")->text(), Q(title) + u'/' + second);
    QCOMPARE(Find<QPlainTextEdit>(display, "txtMahaDashaDesc")->toPlainText(), Q(texts_.dashaDescriptions[index]));

    // Leaving the box reverts nothing.
    QTest::mouseMove(Find<QWidget>(display, "cmdPrint"));
    QCOMPARE(panels->currentWidget()->objectName(), QStringLiteral("fraSubDasha_%1").arg(row));
    QCOMPARE(Find<QLabel>(display, "lblMahaDasha")->text(), Q(title) + u'/' + second);
}

void TestFrmDisplay::hoverUnknownTitle() {
    ChartRun chart = RunChart(BirthForm{}).chart;
    chart.results.dashaName[3] = "saturn dasha";  // differs from a title in letter case only
    FrmDisplay display(chart, texts_);
    display.txtDashaName_MouseMove(1);
    const QString caption = Find<QLabel>(display, "lblMahaDasha")->text();
    const QString description = Find<QPlainTextEdit>(display, "txtMahaDashaDesc")->toPlainText();
    display.txtDashaName_MouseMove(3);
    QCOMPARE(Find<QStackedWidget>(display, "subDashaPanels")->currentWidget()->objectName(), QStringLiteral("fraSubDasha_3"));
    QCOMPARE(Find<CaptionFrame>(display, "fraSubDasha_3")->caption(), QStringLiteral("Sub Dasha Of saturn dasha"));
    QCOMPARE(Find<QLabel>(display, "lblMahaDasha")->text(), caption);
    QCOMPARE(Find<QPlainTextEdit>(display, "txtMahaDashaDesc")->toPlainText(), description);
}

namespace {

// What the hover rule decides: the panel in front, its caption, the interpretation's
// caption and text.
QStringList HoverState(const FrmDisplay& display) {
    const QWidget* panel = Find<QStackedWidget>(display, "subDashaPanels")->currentWidget();
    return {panel->objectName(), static_cast<const CaptionFrame*>(panel)->caption(),
            Find<QLabel>(display, "lblMahaDasha")->text(),
            Find<QPlainTextEdit>(display, "txtMahaDashaDesc")->toPlainText()};
}

}  // namespace

// A name box reached from the keyboard shows what the mouse over it shows.
void TestFrmDisplay::keyboardHover_data() {
    QTest::addColumn<QString>("start");  // the control that has the focus first
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("row");        // the name box that ends with the focus
    QTest::newRow("Tab from row 0's end box") << "txtDashaEnd_0" << int(Qt::Key_Tab) << 1;
    QTest::newRow("Tab from row 7's end box") << "txtDashaEnd_7" << int(Qt::Key_Tab) << 8;
    QTest::newRow("Down from row 0") << "txtDashaName_0" << int(Qt::Key_Down) << 1;
    QTest::newRow("Up from row 1") << "txtDashaName_1" << int(Qt::Key_Up) << 0;
    QTest::newRow("Up on row 0 stays") << "txtDashaName_0" << int(Qt::Key_Up) << 0;
}

void TestFrmDisplay::keyboardHover() {
    QFETCH(QString, start);
    QFETCH(int, key);
    QFETCH(int, row);
    const RunOutcome run = RunChart(DelhiMillennium());
    FrmDisplay byMouse(run.chart, texts_);
    byMouse.show();
    QVERIFY(QTest::qWaitForWindowExposed(&byMouse));
    QWidget* hovered = Find<QWidget>(byMouse, QStringLiteral("txtDashaName_%1").arg(row));
    QTest::mouseMove(hovered, QPoint(5, 5));  // two points: a move to where the pointer is is no move
    QTest::mouseMove(hovered, hovered->rect().center());
    const QStringList expected = HoverState(byMouse);
    byMouse.hide();

    FrmDisplay display(run.chart, texts_);
    display.show();
    QVERIFY(QTest::qWaitForWindowActive(&display));
    const QStringList before = HoverState(display);
    QCOMPARE(before.at(2), QStringLiteral("Dasha Starts"));  // opening the window is no hover
    QWidget* first = Find<QWidget>(display, start);
    first->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(first, Qt::Key(key));
    QCOMPARE(display.focusWidget()->objectName(), QStringLiteral("txtDashaName_%1").arg(row));
    QCOMPARE(HoverState(display), expected);
    QVERIFY(HoverState(display) != before);
}

void TestFrmDisplay::tabRule() {
    const RunOutcome run = RunChart(BirthForm{});
    FrmDisplay display(run.chart, texts_);
    display.show();
    QVERIFY(QTest::qWaitForWindowExposed(&display));
    auto* tabs = Find<QTabBar>(display, "TabStrip1");
    auto* panels = Find<QStackedWidget>(display, "infoPanels");
    const std::vector<std::pair<int, QString>> clicks = {
        {0, "fraVimshottariCaption"}, {1, "fraVedicDetails"}, {0, "fraVimshottariCaption"}, {0, "fraVimshottariCaption"}};
    for (const auto& [tab, panel] : clicks) {
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
        QCOMPARE(tabs->currentIndex(), tab);
        QCOMPARE(panels->currentWidget()->objectName(), panel);
    }
}

void TestFrmDisplay::keysAndCommands_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("exits");
    QTest::addColumn<bool>("goesBack");
    QTest::newRow("Escape") << "escape" << true << false;
    QTest::newRow("Enter in a name box") << "enter" << true << false;
    QTest::newRow("&Exit") << "cmdExit" << true << false;
    QTest::newRow("File E&xit") << "mnuExit" << true << false;
    QTest::newRow("close box") << "close" << true << false;
    QTest::newRow("&Back") << "cmdOK" << false << true;
    QTest::newRow("File &Back") << "mnuFileBack" << false << true;
    QTest::newRow("Enter on the focused Back button") << "enter on back" << false << true;
}

void TestFrmDisplay::keysAndCommands() {
    QFETCH(QString, action);
    QFETCH(bool, exits);
    QFETCH(bool, goesBack);
    const RunOutcome run = RunChart(BirthForm{});
    auto* display = new FrmDisplay(run.chart, texts_);
    display->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<FrmDisplay> alive = display;
    QSignalSpy exit(display, &FrmDisplay::exitRequested);
    QSignalSpy back(display, &FrmDisplay::backRequested);
    display->show();
    QVERIFY(QTest::qWaitForWindowActive(display));
    if (action == u"escape") QTest::keyClick(display->findChild<QWidget*>("txtDashaName_2"), Qt::Key_Escape);
    else if (action == u"enter") {
        display->findChild<QWidget*>("txtDashaName_2")->setFocus();
        QTest::keyClick(display->findChild<QWidget*>("txtDashaName_2"), Qt::Key_Return);
    } else if (action == u"enter on back") {
        display->findChild<QWidget*>("cmdOK")->setFocus();
        QTest::keyClick(display->findChild<QWidget*>("cmdOK"), Qt::Key_Return);
    } else if (action == u"close") display->close();
    else if (auto* button = display->findChild<QPushButton*>(action)) QTest::mouseClick(button, Qt::LeftButton);
    else display->findChild<QAction*>(action)->trigger();
    QCOMPARE(exit.count(), exits ? 1 : 0);
    QCOMPARE(back.count(), goesBack ? 1 : 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY2(!alive, "the window closes and is discarded");
}

void TestFrmDisplay::printOpensReportModal() {
    const RunOutcome run = RunChart(DelhiMillennium());
    FrmDisplay display(run.chart, texts_);
    display.show();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* report = qobject_cast<FrmSave*>(QApplication::activeModalWidget());
        QVERIFY(report);
        seen = true;
        QCOMPARE(report->parentWidget(), &display);
        report->close();
    });
    QTest::mouseClick(display.findChild<QPushButton*>("cmdPrint"), Qt::LeftButton);
    QVERIFY(seen);
    QVERIFY(display.isVisible());
    QCOMPARE(display.results(), run.chart.results);
}

// Colours and fonts as designed for the window: look constants, Verdana point sizes.
void TestFrmDisplay::designLook_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRgb>("text");
    QTest::addColumn<QRgb>("background");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::newRow("Maha Dasha name") << "txtDashaName_0" << look::PaleYellow << look::Brown << 9.0 << true;
    QTest::newRow("Maha Dasha end") << "txtDashaEnd_8" << look::Brown << look::PaleYellow << 8.25 << false;
    QTest::newRow("sub-period date, last panel") << "txtSubDasha_162" << look::Black << look::LightOrange << 8.25 << false;
    QTest::newRow("sub-period lord") << "lblSubDashaNameFour_3" << look::LightOrange << look::Brown << 9.0 << true;
    QTest::newRow("heading") << "lblHeadingStarts" << look::LightOrange << look::Brown << 9.75 << true;
    QTest::newRow("sub-period panel") << "fraSubDasha_5" << look::White << look::Brown << 8.25 << false;
    QTest::newRow("detail value") << "lblLagna" << look::Black << look::LightOrange << 9.75 << false;
    QTest::newRow("reading") << "txtMahaDashaDesc" << look::LightOrange << look::Brown << 8.25 << false;
}

void TestFrmDisplay::designLook() {
    QFETCH(QString, name);
    QFETCH(QRgb, text);
    QFETCH(QRgb, background);
    QFETCH(double, points);
    QFETCH(bool, bold);
    const RunOutcome run = RunChart(BirthForm{});
    FrmDisplay display(run.chart, texts_);
    display.show();
    QVERIFY(QTest::qWaitForWindowExposed(&display));
    auto* widget = Find<QWidget>(display, name);
    QVERIFY(widget);
    for (auto role : {QPalette::WindowText, QPalette::Text}) QCOMPARE(widget->palette().color(role).rgb(), text);
    for (auto role : {QPalette::Window, QPalette::Base}) QCOMPARE(widget->palette().color(role).rgb(), background);
    QCOMPARE(widget->font().pointSizeF(), points);
    QCOMPARE(widget->font().bold(), bold);
}

// A text block measures its height as a plain label of the same text and settings does,
// also after its text, font or margin has changed since it was last asked.
void TestFrmDisplay::textBlocksMeasureAsLabels_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("width");
    QTest::newRow("Vedic details text, as laid out") << "Label13" << "" << 0;
    QTest::newRow("Vedic details text, narrow") << "Label13" << "" << 60;
    QTest::newRow("new text") << "Label13" << "text" << 0;
    QTest::newRow("new font") << "Label6" << "font" << 0;
    QTest::newRow("new margin") << "Label13" << "margin" << 0;
}

void TestFrmDisplay::textBlocksMeasureAsLabels() {
    QFETCH(QString, name);
    QFETCH(QString, change);
    QFETCH(int, width);
    const RunOutcome run = RunChart(BirthForm{});
    FrmDisplay display(run.chart, texts_);
    display.show();
    QVERIFY(QTest::qWaitForWindowExposed(&display));
    auto* block = Find<QLabel>(display, name);
    QVERIFY(block);
    if (width == 0) width = block->width();
    block->heightForWidth(width);  // asked once before the change
    if (change == "text") block->setText(Q(texts_.dashaDescriptions.at(0)));
    if (change == "font") block->setFont(Verdana(12, true));
    if (change == "margin") block->setMargin(9);
    QLabel plain;
    plain.setText(block->text());
    plain.setWordWrap(block->wordWrap());
    plain.setAlignment(block->alignment());
    plain.setFont(block->font());
    plain.setMargin(block->margin());
    QCOMPARE(block->heightForWidth(width), plain.heightForWidth(width));
}

QTEST_MAIN(TestFrmDisplay)
#include "tst_frm_display.moc"
