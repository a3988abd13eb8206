// The birth-details window: key filters on typing and pasting, the validation messages
// with their icons and focus, the run from the button and from the File menu, the
// coordinate search, the picker's placement, the menus, "&Back" and the program's end.

#include <QAction>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QUrlQuery>

#include <map>

#include "../kit/gui_test_support.h"
#include "core/chart/computation_run.h"
#include "core/kit/about.h"
#include "gui/astro/frm_time_zone.h"
#include "gui/chart/frm_main.h"
#include "gui/display/frm_display.h"
#include "gui/kit/frm_about.h"
#include "gui/kit/frm_help.h"
#include "gui/kit/link_menus.h"
#include "orvanta_version.h"
#ifdef ORVANTA_HAVE_ATLAS
#include "gui/chart/place_attachment.h"
#endif

using namespace orvanta;
using namespace orvanta::testing;

using Fields = std::map<QString, QString>;  // control name -> text, entry or "1" for a checked option
Q_DECLARE_METATYPE(Fields)
Q_DECLARE_METATYPE(orvanta::BirthForm)

namespace {

// Fills the named controls: text boxes by text, lists by entry, options and the check box by "1".
void Fill(FrmMain& main, const Fields& fields) {
    for (const auto& [name, value] : fields) {
        QWidget* control = main.findChild<QWidget*>(name);
        QVERIFY2(control, qPrintable(name));
        if (auto* box = qobject_cast<QLineEdit*>(control)) box->setText(value);
        else if (auto* list = qobject_cast<QComboBox*>(control)) {
            const int index = list->findText(value);
            QVERIFY2(index >= 0, qPrintable(name + u'=' + value));
            list->setCurrentIndex(index);
        } else if (auto* option = qobject_cast<QRadioButton*>(control)) option->setChecked(value == u"1");
        else if (auto* check = qobject_cast<QCheckBox*>(control)) check->setChecked(value == u"1");
    }
}

void DeleteClosedWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

}  // namespace

class TestFrmMain : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallLook(); }

    void startState();
    void listPopups_data();
    void listPopups();
    void typing_data();
    void typing();
    void paste_data();
    void paste();
    void validation_data();
    void validation();
    void runFromButtonAndMenuAgree_data();
    void runFromButtonAndMenuAgree();
    void backKeepsInputsAndNextRunStartsClean();
    void preciseBirthHandedOver();
    void coordinateSearch_data();
    void coordinateSearch();
    void pickerOpensModalBesideLabel();
    void pickerZoneIsReadAsMagnitudes();
    void menus();
    void linkMenusOpenTheirPages();
    void helpAndAbout();
    void endOfProgram_data();
    void endOfProgram();
};

void TestFrmMain::startState() {
    FrmMain main;
    QCOMPARE(main.windowTitle(), QStringLiteral("Orvanta v1.75"));
    QCOMPARE(main.ReadForm(), BirthForm{});
    const std::map<QString, int> entries = {{"cboMonth", 12}, {"cboDate", 31}, {"cboYear", 150},
                                            {"cboHH", 24},    {"cboMM", 60},   {"cboSS", 60}};
    for (const auto& [name, count] : entries) {
        auto* list = main.findChild<QComboBox*>(name);
        QVERIFY(list);
        QCOMPARE(list->count(), count);
        QVERIFY2(!list->isEditable(), "lists are selection-only");
    }
    QCOMPARE(main.findChild<QComboBox*>("cboMonth")->itemText(0), QStringLiteral("January"));
    QCOMPARE(main.findChild<QComboBox*>("cboYear")->itemText(149), QStringLiteral("2050"));
    QCOMPARE(main.findChild<QPushButton*>("cmdBrowser")->text(), QStringLiteral("Click Here To Find Latitude && Longitude"));
    QCOMPARE(main.findChild<QPushButton*>("cmdRashi")->text(), QStringLiteral("Get My Vimshottari Dasha Reading"));
    QCOMPARE(main.findChild<QLabel*>("lblTZHelp")->text(), QStringLiteral("TZ Help"));
    QCOMPARE(main.findChild<QCheckBox*>("chkDST")->text(), QStringLiteral("DST"));
    QCOMPARE(main.findChild<QLabel*>("lblVM")->text(), QStringLiteral("Vimshottari Dasha"));
    QVERIFY(main.findChild<QLabel*>("lblVMD")->text().startsWith(QStringLiteral("The Hindus take the exact position of the Moon")));
    QCOMPARE(main.texts().introTexts, LoadInterpretationTexts().introTexts);
}

// Every list opens as a list of at most 16 rows with its entry in view and a scroll bar
// when it has more, the 150 years too.
void TestFrmMain::listPopups_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("rows");  // rows seen at once
    QTest::newRow("months") << "cboMonth" << 12;
    QTest::newRow("years") << "cboYear" << 16;
}

void TestFrmMain::listPopups() {
    QFETCH(QString, list);
    QFETCH(int, rows);
    FrmMain main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    auto* box = main.findChild<QComboBox*>(list);
    box->showPopup();
    QAbstractItemView* view = box->view();
    QTRY_VERIFY(view->isVisible());
    const int rowHeight = view->sizeHintForRow(0);
    QVERIFY(rowHeight > 0);
    const int seen = view->viewport()->height() / rowHeight;
    const bool scrollBarShown = view->verticalScrollBar()->isVisible();
    box->hidePopup();
    QCOMPARE(seen, rows);
    QCOMPARE(view->verticalScrollBar()->maximum() > 0, box->count() > rows);
    QCOMPARE(scrollBarShown, box->count() > rows);
    QVERIFY(view->viewport()->rect().intersects(view->visualRect(view->model()->index(box->currentIndex(), 0))));
}

void TestFrmMain::typing_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("message");  // empty: none
    QTest::addColumn<QString>("icon");

    const QString letters = QStringLiteral("Please Enter only Letters");
    const QString numbers = QStringLiteral("Only Numbers Are Accepted");
    QTest::newRow("name: lower case becomes upper case") << "txtName" << "" << "s k" << "S K" << "" << "";
    QTest::newRow("name: digit refused") << "txtName" << "AB" << "1" << "AB" << letters << "information";
    QTest::newRow("name: refused in the middle") << "txtName" << "" << "a1b" << "AB" << letters << "information";
    QTest::newRow("zone hour: letter refused") << "txtZoneHour" << "5" << "x" << "5" << numbers << "error";
    QTest::newRow("zone hour: three characters at most") << "txtZoneHour" << "" << "-123" << "-12" << "" << "";
    QTest::newRow("zone minute: minus refused") << "txtZoneMinute" << "" << "-" << "" << numbers << "error";
    QTest::newRow("zone minute: two digits at most") << "txtZoneMinute" << "" << "305" << "30" << "" << "";
    QTest::newRow("latitude degrees: minus refused") << "txtLatD" << "2" << "-" << "2" << numbers << "error";
    QTest::newRow("latitude minutes: two digits") << "txtLatM" << "" << "59" << "59" << "" << "";
    QTest::newRow("longitude degrees: three digits at most") << "txtLonD" << "" << "1799" << "179" << "" << "";
    QTest::newRow("longitude minutes: refused even when full") << "txtLonM" << "12" << "a" << "12" << numbers << "error";
    QTest::newRow("city: anything") << "txtMCity" << "" << "St. John's-1" << "St. John's-1" << "" << "";
}

void TestFrmMain::typing() {
    QFETCH(QString, box);
    QFETCH(QString, before);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QFETCH(QString, message);
    QFETCH(QString, icon);

    FrmMain main;
    main.show();
    auto* edit = main.findChild<QLineEdit*>(box);
    QVERIFY(edit);
    edit->setText(before);
    edit->setFocus();
    MessageRecorder messages;
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), after);
    if (message.isEmpty()) {
        QCOMPARE(messages.shown.size(), std::size_t{0});
    } else {
        QCOMPARE(messages.shown.size(), std::size_t{1});  // once, even when a character follows
        QCOMPARE(QString::fromStdString(messages.shown[0].message.text), message);
        QCOMPARE(IconName(messages.shown[0].message.icon), icon);
    }
}

void TestFrmMain::paste_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("selectAll");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<int>("route");  // 0: the paste shortcut, 1: Shift+Insert, 2: the context menu
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("messages");

    for (int route : {0, 1, 2}) {
        const char* by = route == 0 ? " (shortcut)" : route == 1 ? " (shift+insert)" : " (context menu)";
        QTest::addRow("name: accepted part goes in, upper-cased%s", by)
            << "txtName" << "" << false << "ab 1c" << route << "AB C" << 1;
        QTest::addRow("name: replaces the selection%s", by) << "txtName" << "XYZ" << true << "kumar" << route << "KUMAR" << 0;
        QTest::addRow("name: line break refused%s", by) << "txtName" << "" << false << "ab\ncd" << route << "ABCD" << 1;
        QTest::addRow("zone minute: cut to two characters%s", by) << "txtZoneMinute" << "" << false << "305" << route << "30" << 0;
        QTest::addRow("latitude degrees: full box takes nothing%s", by) << "txtLatD" << "23" << false << "4" << route << "23" << 0;
        QTest::addRow("longitude degrees: only refused characters%s", by)
            << "txtLonD" << "80" << false << "E." << route << "80" << 1;
    }
}

void TestFrmMain::paste() {
    QFETCH(QString, box);
    QFETCH(QString, before);
    QFETCH(bool, selectAll);
    QFETCH(QString, clipboard);
    QFETCH(int, route);
    QFETCH(QString, after);
    QFETCH(int, messages);

    FrmMain main;
    main.show();
    auto* edit = main.findChild<QLineEdit*>(box);
    QVERIFY(edit);
    edit->setText(before);
    if (selectAll) edit->selectAll();
    QApplication::clipboard()->setText(clipboard);
    MessageRecorder recorder;
    if (route == 0) QTest::keySequence(edit, QKeySequence(QKeySequence::Paste));
    else if (route == 1) QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
    else {
        bool pasted = false;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            auto* pasteItem = menu->findChild<QAction*>("edit-paste");
            QVERIFY(pasteItem);
            menu->close();
            pasteItem->trigger();
            pasted = true;
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), edit->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(edit, &event);
        QVERIFY(pasted);
    }
    QCOMPARE(edit->text(), after);
    QCOMPARE(static_cast<int>(recorder.shown.size()), messages);
    if (messages > 0) {
        const Message refused = KeyRefusedMessage(box == u"txtName" ? Control::txtName : Control::txtLatD);
        QCOMPARE(recorder.shown[0].message.text, refused.text);
        QCOMPARE(recorder.shown[0].message.icon, refused.icon);
    }
}

void TestFrmMain::validation_data() {
    QTest::addColumn<Fields>("fields");
    QTest::addColumn<bool>("fromMenu");
    QTest::addColumn<QString>("message");  // empty: the run goes through
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QString>("focus");  // empty: where it was

    const QString name = QStringLiteral("Please Enter Name");
    const QString zone = QStringLiteral("Please Enter Value Between 0 And 12 in the Zone Hour");
    const QString lonD = QStringLiteral("Please Enter Value Between 0 And 179 in the Degree of Longitude");
    const QString lonM = QStringLiteral("Please Enter Value Between 0 And 59 in the  Minute of Longitude");
    const QString latD = QStringLiteral("Please Enter Value Between 0 And 89 in the Degree of Latitude");
    const QString latM = QStringLiteral("Please Enter Value Between 0 And 59 in the  Minute of Latitude");
    const QString date = QStringLiteral("Please Enter Correct Date Of Birth");
    // One row for each box a message puts the focus in; the bounds are the birth form's table.
    struct Case {
        const char* row;
        Fields fields;
        QString message;
        const char* icon;
        const char* focus;
    };
    const std::vector<Case> cases = {
        {"name empty", {{"txtName", ""}}, name, "error", "txtName"},
        {"zone hour 13", {{"txtZoneHour", "13"}}, zone, "error", "txtZoneHour"},
        {"longitude degrees 180", {{"txtLonD", "180"}}, lonD, "error", "txtLonD"},
        {"longitude minutes 60", {{"txtLonM", "60"}}, lonM, "error", "txtLonM"},
        {"latitude degrees 90", {{"txtLatD", "90"}}, latD, "error", "txtLatD"},
        {"latitude minutes 60", {{"txtLatM", "60"}}, latM, "error", "txtLatM"},
        {"31 April", {{"cboMonth", "April"}, {"cboDate", "31"}}, date, "information", ""},
        {"defaults", {}, {}, "", ""},
        {"zone hour -13 from the picker", {{"txtZoneHour", "-13"}}, {}, "", ""},
    };
    for (bool fromMenu : {false, true}) {
        for (const Case& c : cases) {
            QTest::addRow("%s (%s)", c.row, fromMenu ? "menu" : "button")
                << c.fields << fromMenu << c.message << QString::fromLatin1(c.icon) << QString::fromLatin1(c.focus);
        }
    }
}

void TestFrmMain::validation() {
    QFETCH(Fields, fields);
    QFETCH(bool, fromMenu);
    QFETCH(QString, message);
    QFETCH(QString, icon);
    QFETCH(QString, focus);

    FrmMain main;
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    Fill(main, fields);
    const BirthForm before = main.ReadForm();
    auto* startFocus = main.findChild<QLineEdit*>("txtLatM");
    startFocus->setFocus();

    MessageRecorder messages;
    if (fromMenu) main.findChild<QAction*>("mnuNext")->trigger();
    else QTest::mouseClick(main.findChild<QPushButton*>("cmdRashi"), Qt::LeftButton);

    if (message.isEmpty()) {
        QCOMPARE(messages.shown.size(), std::size_t{0});
        QVERIFY(main.resultsWindow());
        QVERIFY(main.resultsWindow()->isVisible());
        QVERIFY(!main.isVisible());
        QCOMPARE(main.resultsWindow()->results(), RunChart(before).chart.results);
        return;
    }
    QCOMPARE(messages.shown.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(messages.shown[0].message.text), message);
    QCOMPARE(IconName(messages.shown[0].message.icon), icon);
    if (focus.isEmpty()) QCOMPARE(QApplication::focusWidget(), messages.shown[0].focusWhenShown);
    else QCOMPARE(QApplication::focusWidget(), main.findChild<QWidget*>(focus));
    QVERIFY(main.isVisible());
    QVERIFY(!main.resultsWindow());
    QCOMPARE(main.ReadForm(), before);
}

// The boxes read as the birth typed in them, and both routes run that birth.
void TestFrmMain::runFromButtonAndMenuAgree_data() {
    QTest::addColumn<Fields>("fields");
    QTest::addColumn<BirthForm>("form");
    QTest::newRow("defaults") << Fields{} << BirthForm{};
    QTest::newRow("west and south with DST")
        << Fields{{"txtName", "R K"}, {"cboMonth", "March"}, {"cboDate", "3"}, {"cboYear", "1965"}, {"cboHH", "4"},
                  {"cboMM", "5"}, {"cboSS", "17"}, {"txtZoneHour", "3"}, {"txtZoneMinute", "0"}, {"chkDST", "1"},
                  {"txtLonD", "46"}, {"txtLonM", "38"}, {"optLong_1", "1"}, {"txtLatD", "23"}, {"txtLatM", "33"},
                  {"optLat_1", "1"}}
        << BirthForm{"R K", "March", "3", "1965", "4", "5", "17", "3", "0", true, "23", "33", true, "46", "38", true};
}

void TestFrmMain::runFromButtonAndMenuAgree() {
    QFETCH(Fields, fields);
    QFETCH(BirthForm, form);
    const Results expected = RunChart(form).chart.results;
    for (bool fromMenu : {false, true}) {
        FrmMain main;
        main.show();
        Fill(main, fields);
        QCOMPARE(main.ReadForm(), form);
        if (fromMenu) main.findChild<QAction*>("mnuNext")->trigger();
        else main.findChild<QPushButton*>("cmdRashi")->click();
        QVERIFY(main.resultsWindow());
        QCOMPARE(main.resultsWindow()->results(), expected);
    }
}

void TestFrmMain::backKeepsInputsAndNextRunStartsClean() {
    // A second birth whose first table hides fewer cells than the default birth's.
    const Results first = RunChart(BirthForm{}).chart.results;
    const auto hidden = [](const Results& r) { return std::count(r.subDashaVisible.begin(), r.subDashaVisible.end(), false); };
    QVERIFY(hidden(first) > 0);
    BirthForm second;
    second.name = "SECOND RUN";
    for (int day = 1; day <= 28; ++day) {
        second.day = std::to_string(day);
        if (hidden(RunChart(second).chart.results) < hidden(first)) break;
    }
    QVERIFY(hidden(RunChart(second).chart.results) < hidden(first));

    FrmMain main;
    main.show();
    const Fields inputs = {{"txtName", "A B"},       {"cboMonth", "August"}, {"cboDate", "18"},   {"cboYear", "1981"},
                           {"cboHH", "23"},          {"cboMM", "30"},        {"cboSS", "17"},     {"txtZoneHour", "-5"},
                           {"txtZoneMinute", "-30"}, {"chkDST", "1"},        {"txtLatD", "23"},   {"txtLatM", "00"},
                           {"optLat_1", "1"},        {"txtLonD", "80"},      {"txtLonM", "0"},    {"optLong_1", "1"},
                           {"txtMCity", "Pune"},     {"txtMState", "MH"},    {"txtMCountry", "India"}};
    Fill(main, inputs);
    const BirthForm before = main.ReadForm();
    main.findChild<QPushButton*>("cmdRashi")->click();
    QPointer<FrmDisplay> display = main.resultsWindow();
    QVERIFY(display);
    QVERIFY(!main.isVisible());

    display->findChild<QPushButton*>("cmdOK")->click();
    DeleteClosedWindows();
    QVERIFY2(!display, "Back closes and discards the results window");
    QVERIFY(main.isVisible());
    QCOMPARE(main.ReadForm(), before);
    for (const char* box : {"txtMCity", "txtMState", "txtMCountry"}) {
        QCOMPARE(main.findChild<QLineEdit*>(box)->text(), inputs.at(QString::fromLatin1(box)));
    }

    // The first run with the default birth hides cells; the next shows only its own.
    main.Form_Load();
    Fill(main, {{"txtName", "S K"}, {"cboSS", "0"}, {"txtZoneHour", "5"}, {"txtZoneMinute", "30"}, {"chkDST", "0"},
                {"optLat_0", "1"}, {"optLong_0", "1"}});
    QCOMPARE(main.ReadForm(), BirthForm{});
    main.findChild<QPushButton*>("cmdRashi")->click();
    display = main.resultsWindow();
    QVERIFY(display);
    display->findChild<QAction*>("mnuFileBack")->trigger();
    DeleteClosedWindows();
    QVERIFY(!display);
    Fill(main, {{"txtName", "SECOND RUN"}, {"cboDate", QString::fromStdString(second.day)}});
    main.findChild<QPushButton*>("cmdRashi")->click();
    display = main.resultsWindow();
    QVERIFY(display);
    const Results expected = RunChart(second).chart.results;
    int shownAgain = 0;
    for (int n = 1; n <= Results::kCells; ++n) {
        auto* cell = display->findChild<QLineEdit*>(QStringLiteral("txtSubDasha_%1").arg(n));
        QVERIFY(cell);
        QCOMPARE(cell->isHidden(), !expected.cellVisible(n));
        if (!first.cellVisible(n) && expected.cellVisible(n)) ++shownAgain;
    }
    QVERIFY(shownAgain > 0);
}

void TestFrmMain::coordinateSearch_data() {
    QTest::addColumn<QString>("city");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("country");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    // A row for each box the focus goes to and one search; the rules are the coordinate search's table.
    QTest::newRow("all empty") << "" << "" << "" << "Please Enter City" << "txtMCity";
    QTest::newRow("state empty") << "Pune" << "" << "India" << "Please Enter State" << "txtMState";
    QTest::newRow("country empty") << "Pune" << "Maharashtra" << "" << "Please Enter Country" << "txtMCountry";
    QTest::newRow("all filled") << "Pune" << "Maharashtra" << "India" << "" << "";
}

void TestFrmMain::coordinateSearch() {
    QFETCH(QString, city);
    QFETCH(QString, state);
    QFETCH(QString, country);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    FrmMain main;
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    Fill(main, {{"txtMCity", city}, {"txtMState", state}, {"txtMCountry", country}});
    MessageRecorder messages;
    UrlRecorder urls;
    QTest::mouseClick(main.findChild<QPushButton*>("cmdBrowser"), Qt::LeftButton);
    if (!message.isEmpty()) {
        QCOMPARE(messages.shown.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(messages.shown[0].message.text), message);
        QCOMPARE(messages.shown[0].message.icon, Icon::Information);
        QCOMPARE(QApplication::focusWidget(), main.findChild<QWidget*>(focus));
        QVERIFY(urls.opened.empty());
        return;
    }
    QCOMPARE(messages.shown.size(), std::size_t{0});
    QCOMPARE(urls.opened.size(), std::size_t{1});
    const QString address = urls.opened[0].toString(QUrl::FullyEncoded);
    QVERIFY2(address.startsWith(QString::fromLatin1(CoordinateSearchSite.data(), CoordinateSearchSite.size())),
             qPrintable(address));
    QCOMPARE(QUrlQuery(urls.opened[0]).queryItemValue("q", QUrl::FullyDecoded),
             city + u' ' + state + u' ' + country + QStringLiteral(" Latitude Longitude"));
}

void TestFrmMain::pickerOpensModalBesideLabel() {
    FrmMain main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    auto* label = main.findChild<QLabel*>("lblTZHelp");
    const QPoint expected(main.frameGeometry().left() + label->mapTo(&main, QPoint(label->width(), 0)).x(),
                          main.frameGeometry().top() + label->mapTo(main.centralWidget(), QPoint(0, label->height())).y() +
                              main.logicalDpiY() * 600 / 1440);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* picker = qobject_cast<FrmTimeZone*>(QApplication::activeModalWidget());
        QVERIFY(picker);
        seen = true;
        QCOMPARE(picker->windowTitle(), QStringLiteral("Orvanta v1.75"));
        QCOMPARE(picker->frameGeometry().topLeft(), expected);
        QTest::mouseClick(picker->findChild<QPushButton*>("cmdQuit"), Qt::LeftButton);
    });
    QTest::mouseClick(label, Qt::LeftButton);
    QVERIFY(seen);
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(main.ReadForm(), BirthForm{});
}

void TestFrmMain::pickerZoneIsReadAsMagnitudes() {
    // "Indian Time, IST, +5.3" writes -5 and -30; the run reads 5 h 30 min, like the defaults.
    FrmMain main;
    main.show();
    QTimer::singleShot(0, [] {
        auto* picker = qobject_cast<FrmTimeZone*>(QApplication::activeModalWidget());
        QVERIFY(picker);
        auto* list = picker->findChild<QListWidget*>("lstTimeZone");
        const auto items = list->findItems(QStringLiteral("Indian Time, IST, +5.3"), Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        list->scrollToItem(items[0]);
        const QPoint centre = list->visualItemRect(items[0]).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    });
    main.lblTZHelp_Click();
    QCOMPARE(main.findChild<QLineEdit*>("txtZoneHour")->text(), QStringLiteral("-5"));
    QCOMPARE(main.findChild<QLineEdit*>("txtZoneMinute")->text(), QStringLiteral("-30"));
    MessageRecorder messages;
    main.cmdRashi_Click();
    QVERIFY(messages.shown.empty());
    QVERIFY(main.resultsWindow());
    QCOMPARE(main.resultsWindow()->results(), RunChart(BirthForm{}).chart.results);
}

void TestFrmMain::menus() {
    FrmMain main;
    QStringList bar;
    for (QAction* action : main.menuBar()->actions()) bar << action->text();
    QCOMPARE(bar, (QStringList{"&File", "&Help", "&Donate", "Make Money &Online"}));
    const auto items = [&](const char* menu) {
        QStringList texts;
        for (QAction* action : main.findChild<QMenu*>(menu)->actions()) texts << (action->isSeparator() ? "-" : action->text());
        return texts;
    };
#ifdef ORVANTA_HAVE_ATLAS
    QCOMPARE(items("mnuFile"), (QStringList{"Get My Vimshottari Dasha Reading", "Find &Birth Place...",
                                            "Precise &Periods...", "-", "&Open...", "&Save...", "Save &As...", "-",
                                            "E&xit"}));
#else
    QCOMPARE(items("mnuFile"), (QStringList{"Get My Vimshottari Dasha Reading", "Precise &Periods...", "-", "&Open...",
                                            "&Save...", "Save &As...", "-", "E&xit"}));
#endif
    QCOMPARE(items("mnuHelp"),
             (QStringList{"&Online Help", "&Visit Us Online", "-", "Check for Software &Update", "-", "&About Software"}));
}

void TestFrmMain::linkMenusOpenTheirPages() {
    FrmMain main;
    UrlRecorder urls;
    const std::vector<std::pair<const char*, WebLink>> links = {
        {"mnuVisit", WebLink::VisitUs}, {"mnuUpdate", WebLink::SoftwareUpdate},
        {"mnuDonate", WebLink::Donate}, {"mkmoney", WebLink::MakeMoneyOnline}};
    for (const auto& [name, link] : links) {
        main.findChild<QAction*>(name)->trigger();
        QCOMPARE(urls.opened.back(), WebLinkUrl(link));
        QVERIFY(urls.opened.back().isValid());
        QCOMPARE(urls.opened.back().scheme(), QStringLiteral("https"));
    }
    QCOMPARE(urls.opened.size(), links.size());
}

void TestFrmMain::helpAndAbout() {
    FrmMain main;
    main.show();

    // With the guide beside the program, it opens in the browser.
    {
        QFile guide(QDir(QCoreApplication::applicationDirPath()).filePath("user_guide.html"));
        QVERIFY(guide.open(QIODevice::WriteOnly));
        guide.write("<html><body>guide</body></html>");
        guide.close();
        UrlRecorder urls;
        main.findChild<QAction*>("mnuOnline")->trigger();
        guide.remove();
        QCOMPARE(urls.opened.size(), 1);
        QCOMPARE(urls.opened.front(), QUrl::fromLocalFile(QFileInfo(guide).absoluteFilePath()));
        QVERIFY(!main.findChild<FrmHelp*>());
    }

    // Installed, the guide is in the documentation folder; the tree may have been moved.
    {
        const QDir docs(QDir(QCoreApplication::applicationDirPath()).filePath(ORVANTA_DOCDIR_FROM_BINDIR));
        const bool made = !docs.exists();
        QVERIFY(QDir().mkpath(docs.path()));
        QFile guide(docs.filePath("user_guide.html"));
        QVERIFY(guide.open(QIODevice::WriteOnly));
        guide.close();
        const QString found = LinkMenus::UserGuideFile();
        guide.remove();
        if (made) QDir().rmpath(docs.path());
        QCOMPARE(found, QFileInfo(guide).absoluteFilePath());
    }

    // Without it, the copy built into the program is shown.
    QVERIFY(LinkMenus::UserGuideFile().isEmpty());
    main.findChild<QAction*>("mnuOnline")->trigger();
    auto* help = main.findChild<FrmHelp*>();
    QVERIFY(help);
    QVERIFY(help->isVisible());
    const QString guide = help->findChild<QTextBrowser*>("browser")->toPlainText();
    QVERIFY2(guide.contains(QStringLiteral("Get My Vimshottari Dasha Reading")), "the guide explains the run");
    QVERIFY(guide.contains(QStringLiteral("TZ Help")));
    help->close();

    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<FrmAbout*>(QApplication::activeModalWidget());
        QVERIFY(about);
        seen = true;
        QStringList texts;
        for (QLabel* label : about->findChildren<QLabel*>()) texts << label->text();
        QVERIFY(texts.contains(QStringLiteral("Orvanta")));
        QVERIFY(texts.contains(QStringLiteral("Version " ORVANTA_VERSION)));
        QVERIFY(texts.join(u' ').contains(QStringLiteral("GNU Affero General Public License 3.0 or later")));
        const std::string_view line = kAboutLine;
        QVERIFY(texts.contains(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()))));
        QTest::mouseClick(about->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    });
    main.findChild<QAction*>("mnuAbout")->trigger();
    QVERIFY(seen);
    QVERIFY(!QApplication::activeModalWidget());
}

void TestFrmMain::endOfProgram_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("E&xit of the main window") << "mnuExit";
    QTest::newRow("close box of the main window") << "close";
    QTest::newRow("&Exit of the results window") << "cmdExit";
    QTest::newRow("E&xit menu of the results window") << "display mnuExit";
    QTest::newRow("Escape in the results window") << "escape";
    QTest::newRow("close box of the results window") << "display close";
}

void TestFrmMain::endOfProgram() {
    QFETCH(QString, how);
    FrmMain main;
    main.show();
    QSignalSpy ended(&main, &FrmMain::programEnded);
    UrlRecorder urls;
    if (how == u"mnuExit") main.findChild<QAction*>("mnuExit")->trigger();
    else if (how == u"close") main.close();
    else {
        main.cmdRashi_Click();
        QPointer<FrmDisplay> display = main.resultsWindow();
        QVERIFY(display);
        QVERIFY(QTest::qWaitForWindowActive(display));
        if (how == u"cmdExit") QTest::mouseClick(display->findChild<QPushButton*>("cmdExit"), Qt::LeftButton);
        else if (how == u"display mnuExit") display->findChild<QAction*>("mnuExit")->trigger();
        else if (how == u"escape") QTest::keyClick(display, Qt::Key_Escape);
        else display->close();
        DeleteClosedWindows();
        QVERIFY(!display);
    }
    QCOMPARE(ended.count(), 1);
    QVERIFY(!main.isVisible());
    QVERIFY2(urls.opened.empty(), "no web page is opened when the program ends");
}

// The results window gets what the precise periods read beyond the run's details: the
// seconds the form shows and the attached atlas place.
void TestFrmMain::preciseBirthHandedOver() {
    FrmMain main;
    main.show();
    Fill(main, {{"cboSS", "17"}});
    main.findChild<QPushButton*>("cmdRashi")->click();
    QVERIFY(main.resultsWindow());
    PeriodsBirth birth = main.resultsWindow()->preciseBirth();
    QCOMPARE(birth.second, 17);
    QCOMPARE(birth.details, RunChart(main.ReadForm()).chart.birth);
    QVERIFY(!birth.place);
    main.resultsWindow()->findChild<QPushButton*>("cmdOK")->click();
#ifdef ORVANTA_HAVE_ATLAS
    const Place pune{"Pune", "Maharashtra", "India", "IN", 18.51957, 73.85535, "Asia/Kolkata", 0};
    QVERIFY(!main.atlas()->take(pune));
    main.findChild<QPushButton*>("cmdRashi")->click();
    QVERIFY(main.resultsWindow());
    birth = main.resultsWindow()->preciseBirth();
    QCOMPARE(birth.place, (AttachedPlace{pune.latitude, pune.longitude, pune.timeZone}));
    main.resultsWindow()->findChild<QPushButton*>("cmdOK")->click();
#endif
}

QTEST_MAIN(TestFrmMain)
#include "tst_frm_main.moc"
