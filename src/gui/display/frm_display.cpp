#include "gui/display/frm_display.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include <QAction>
#include <QDateTime>
#include <QKeyEvent>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QStackedWidget>
#include <QTabBar>

#include "core/display/hover.h"
#include "gui/grahas/frm_chart.h"
#include "gui/kit/appearance.h"
#include "gui/kit/link_menus.h"
#include "gui/kit/message_box.h"
#include "gui/kit/web_links.h"
#include "gui/periods/frm_periods.h"
#include "gui/periods/period_files.h"
#include "gui/report/frm_save.h"

namespace orvanta {

const std::array<const char*, Results::kRows> SubDashaLabelArrays = {
    "lblSubDashaNameZero", "lblSubDashaNameOne", "lblSubDashaNameTwo",   "lblSubDashaNameThree", "lblSubDashaNameFour",
    "lblSubDashaNameFive", "lblSubDashaNameSix", "lblSubDashaNameSeven", "lblSubDashaNameEight"};

namespace {

QString Indexed(const char* name, int index) { return QString::fromLatin1(name) + u'_' + QString::number(index); }

// The pointer over the Maha Dasha names: an arrow with a small open book beside it,
// telling that resting here shows the period's reading.
QCursor DashaPointer() {
    QPixmap image(32, 32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    arrow.moveTo(1, 1);
    arrow.lineTo(1, 22);
    arrow.lineTo(6.5, 17);
    arrow.lineTo(10.5, 26);
    arrow.lineTo(14, 24.5);
    arrow.lineTo(10, 16);
    arrow.lineTo(17, 16);
    arrow.closeSubpath();
    painter.setPen(QPen(Qt::black, 1.2));
    painter.setBrush(Qt::white);
    painter.drawPath(arrow);
    // The book: two pale yellow pages with lines of text.
    painter.setPen(QPen(QColor(look::Brown), 1.2));
    painter.setBrush(QColor(look::PaleYellow));
    painter.drawRect(QRectF(17.5, 19.5, 6.5, 10));
    painter.drawRect(QRectF(24, 19.5, 6.5, 10));
    painter.setPen(QPen(QColor(look::Brown), 0.8));
    for (int line = 0; line < 3; ++line) {
        const double y = 22.5 + 2.5 * line;
        painter.drawLine(QPointF(19, y), QPointF(22.5, y));
        painter.drawLine(QPointF(25.5, y), QPointF(29, y));
    }
    painter.end();
    return QCursor(image, 1, 1);
}

QLineEdit* Box(const QString& name, const QRect& rect, const QFont& font, const QPalette& colours,
               QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignCenter);
    if (box->font() != font) box->setFont(font);  // the date boxes have it from their frame
    box->setTextMargins(0, 0, 0, 0);
    box->setPalette(colours);
    box->setGeometry(rect);
    return box;
}

// `colours` as Colours(text colour, look::Brown).
FittingLabel* Label(const char* name, const QString& text, const QRect& rect, const QFont& font,
                    const QPalette& colours, Qt::Alignment alignment, QWidget* parent) {
    auto* label = new FittingLabel(QString(), rect, alignment, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    label->setPalette(colours);
    label->setCaption(text);
    return label;
}

// A wrapped label that keeps its height for the last width it was asked about: the scroll
// area around it asks again for the same width each time it lays itself out, and every
// answer lays the whole text out anew. All that the height depends on is compared first.
class WrappedText : public QLabel {
public:
    using QLabel::QLabel;

    int heightForWidth(int width) const override {
        const Measure measure{width,        text(),     font(),           margin(),     indent(),
                              int(alignment()), textFormat(), wordWrap(), contentsMargins(), frameWidth(),
                              layoutDirection()};
        if (!measured_ || !(measured_->first == measure)) measured_.emplace(measure, QLabel::heightForWidth(width));
        return measured_->second;
    }

private:
    struct Measure {
        int width;
        QString text;
        QFont font;
        int margin;
        int indent;
        int alignment;
        Qt::TextFormat format;
        bool wordWrap;
        QMargins contents;
        int frame;
        Qt::LayoutDirection direction;
        bool operator==(const Measure&) const = default;
    };
    mutable std::optional<std::pair<Measure, int>> measured_;
};

// A block of wrapped text in a fixed rectangle; it scrolls when the text is longer than
// the rectangle holds, so that no line is ever cut off.
QLabel* TextBlock(const char* name, const QString& text, const QRect& rect, const QFont& font, QRgb colour,
                  QRgb background, int margin, QWidget* parent) {
    auto* area = new QScrollArea(parent);
    area->setObjectName(QString::fromLatin1(name) + QStringLiteral("Area"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setGeometry(rect);
    Paint(area, colour, background);
    Paint(area->viewport(), colour, background);
    auto* label = new WrappedText(text);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setFont(font);
    label->setMargin(margin);
    Paint(label, colour, background);
    label->setAutoFillBackground(true);
    area->setWidget(label);
    return label;
}

QPushButton* Button(const char* name, const QString& caption, const QRect& rect, QWidget* parent) {
    QPushButton* button = orvanta::Button(name, caption, parent);
    button->setGeometry(rect);
    return button;
}

// The tab strip: its tabs share the strip's whole width, each as wide as its caption
// plus an equal part of what is left, so that both captions show whole in the
// designed width.
class TabStrip : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int index) const override {
        QSize size = QTabBar::tabSizeHint(index);
        if (count() == 0 || width() <= 0) return size;
        const std::vector<int>& advances = captionAdvances();
        int captions = 0;
        for (const int advance : advances) captions += advance;
        const int spare = std::max(0, width() - captions);
        size.setWidth(advances[static_cast<std::size_t>(index)] + spare / count() +
                      (index == count() - 1 ? spare % count() : 0));
        return size;
    }
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }

    // The captions' widths in the strip's font, measured again only when a caption or
    // the font has changed: the tabs are laid out many times while the window opens.
    const std::vector<int>& captionAdvances() const {
        QStringList captions;
        for (int i = 0; i < count(); ++i) captions << tabText(i);
        if (captions != measuredCaptions_ || font() != measuredFont_) {
            const QFontMetrics metrics(font());
            advances_.clear();
            for (const QString& caption : captions) advances_.push_back(metrics.horizontalAdvance(caption));
            measuredCaptions_ = captions;
            measuredFont_ = font();
        }
        return advances_;
    }

    // Drawn here rather than by the style, whose tab margins would leave too little
    // room for the captions: the selected tab raised and pale yellow, the other a
    // little darker, each caption centred in its tab.
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QColor face = palette().color(QPalette::Button);
        const QColor edge = face.darker(250);
        for (int i = 0; i < count(); ++i) {
            const bool selected = i == currentIndex();
            QRect tab = tabRect(i).adjusted(0, selected ? 0 : 2, -1, -1);
            painter.fillRect(tab, selected ? face : face.darker(112));
            painter.setPen(edge);
            painter.drawLine(tab.topLeft(), tab.topRight());
            painter.drawLine(tab.topLeft(), tab.bottomLeft());
            painter.drawLine(tab.topRight(), tab.bottomRight());
            if (!selected) painter.drawLine(tab.bottomLeft(), tab.bottomRight());
            painter.setPen(palette().color(QPalette::ButtonText));
            painter.drawText(tab, Qt::AlignCenter, tabText(i));
            if (selected && hasFocus()) {
                QStyleOptionFocusRect focus;
                focus.initFrom(this);
                focus.rect = tab.adjusted(3, 3, -3, -3);
                style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
            }
        }
    }

private:
    mutable QStringList measuredCaptions_;
    mutable QFont measuredFont_;
    mutable std::vector<int> advances_;
};

}  // namespace

FrmDisplay::FrmDisplay(const ChartRun& chart, const InterpretationTexts& texts, QWidget* parent)
    : QMainWindow(parent), birth_(chart.birth), results_(chart.results), dasha_(chart.dasha), texts_(texts),
      preciseBirth_{chart.birth, 0, std::nullopt} {
    setObjectName(QStringLiteral("frmDisplay"));
    setWindowTitle(QString::fromLatin1(kWindowCaption));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    BuildWindow();
    BuildMenus();
    Form_Load();
    ShowResults();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        adjustSize();
        move(screen->availableGeometry().center() - rect().center());
    }
}

// The fonts and palettes of the window, each built once and shared by the widgets
// that show it.
struct FrmDisplay::Look {
    QFont small = Verdana(8.25);
    QFont link = Verdana(8.25, false, true);
    QFont heading = Verdana(9.75, true, true);
    QFont name = Verdana(9, true);
    QPalette whiteOnBrown = Colours(look::White, look::Brown);
    QPalette paleCyanOnBrown = Colours(look::PaleCyan, look::Brown);
    QPalette lightOrangeOnBrown = Colours(look::LightOrange, look::Brown);
    QPalette dashaName = Colours(look::PaleYellow, look::Brown);
    QPalette dashaDate = Colours(look::Brown, look::PaleYellow);
    QPalette subDashaDate = Colours(look::Black, look::LightOrange);
};

namespace {
CaptionFrame* PlacedFrame(const QString& name, const QRect& rect, const QPalette& colours, QWidget* parent,
                          const QString& caption = {}, QRgb captionColour = look::White) {
    CaptionFrame* frame = Frame(name, caption, colours, parent, captionColour);
    frame->setGeometry(rect);
    return frame;
}
}  // namespace

void FrmDisplay::BuildWindow() {
    const Twips tw(this);
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("displayArea"));
    area->setAutoFillBackground(true);
    Paint(area, look::White, look::Brown);
    Paint(this, look::White, look::Brown);
    area->setFixedSize(tw.x(11070), tw.y(8400));
    setCentralWidget(area);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    const Look looks;
    BuildHeadings(tw, looks, area);
    CaptionFrame* frame1 = PlacedFrame(QStringLiteral("Frame1"), tw.rect(0, 720, 11055, 7215), looks.whiteOnBrown, area);
    BuildMahaDashaRows(tw, looks, frame1);
    BuildSubDashaPanels(tw, looks, frame1);
    BuildInterpretation(tw, looks, frame1);
    BuildInformationPanels(tw, looks, frame1);
    BuildButtons(tw, looks, frame1);
    CaptionFrame* frame5 = PlacedFrame(QStringLiteral("Frame5"), tw.rect(0, 7950, 11055, 435), looks.whiteOnBrown, area);
    lblBottomLink_ = Label("lblBottomLink",
                           QStringLiteral("More free Vedic astrology software and articles: visit us online"),
                           tw.rect(120, 90, 10815, 270), looks.link, looks.paleCyanOnBrown, Qt::AlignHCenter, frame5);
    lblBottomLink_->setCursor(Qt::PointingHandCursor);
    lblBottomLink_->installEventFilter(this);

    // Escape, and Enter unless another button has the focus, press "&Exit".
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &FrmDisplay::cmdExit_Click);
    for (auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* enter = new QShortcut(QKeySequence(key), this);
        connect(enter, &QShortcut::activated, this, &FrmDisplay::EnterPressed);
    }
}

// The web link and the two headings above the frames.
void FrmDisplay::BuildHeadings(const Twips& tw, const Look& looks, QWidget* area) {
    lblHomeLink_ = Label("lblHomeLink", QStringLiteral("Orvanta - free Vedic astrology software"),
                         tw.rect(120, 60, 4200, 270), looks.link, looks.paleCyanOnBrown, Qt::AlignLeft, area);
    lblHomeLink_->setCursor(Qt::PointingHandCursor);
    lblHomeLink_->installEventFilter(this);
    Label15_ = Label("Label15", QStringLiteral("Vimshottari Dasha "), tw.rect(6960, 0, 2475, 270),
                     Verdana(12, true, true), Colours(look::Yellow, look::Brown), Qt::AlignHCenter, area);
    lblDashaAtTimeOfBirth_ = Label("lblDashaAtTimeOfBirth", QStringLiteral("Dasha At The Time Of Birth"),
                                   tw.rect(6690, 480, 2925, 240), looks.heading, looks.whiteOnBrown, Qt::AlignHCenter,
                                   area);
}

// The Maha Dasha rows: name, start and end, and the hint under them.
void FrmDisplay::BuildMahaDashaRows(const Twips& tw, const Look& looks, QWidget* frame1) {
    CaptionFrame* frame4 = PlacedFrame(QStringLiteral("Frame4"), tw.rect(0, -30, 5055, 3735), looks.whiteOnBrown,
                                       frame1, QStringLiteral("Maha Dasha"));
    frame4->setFont(looks.small);
    Label("lblHeadingName", QStringLiteral("Maha Dasha"), tw.rect(300, 360, 1320, 240), looks.heading,
          looks.lightOrangeOnBrown, Qt::AlignLeft, frame4);
    Label("lblHeadingStarts", QStringLiteral("Dasha Starts"), tw.rect(1905, 360, 1395, 240), looks.heading,
          looks.lightOrangeOnBrown, Qt::AlignLeft, frame4);
    // Designed 315 high, which would reach 75 twips into the first row's end box; kept to
    // the 240 of its neighbours so that heading and box stay apart.
    Label("lblHeadingEnd", QStringLiteral("Dasha End"), tw.rect(3600, 360, 1140, 240), looks.heading,
          looks.lightOrangeOnBrown, Qt::AlignLeft, frame4);
    const QCursor pointer = DashaPointer();
    for (int r = 0; r < Results::kRows; ++r) {
        const int top = 600 + 315 * r;
        txtDashaName_[r] =
            Box(Indexed("txtDashaName", r), tw.rect(120, top, 1695, 315), looks.name, looks.dashaName, frame4);
        txtDashaName_[r]->setCursor(pointer);
        txtDashaName_[r]->setMouseTracking(true);
        txtDashaName_[r]->installEventFilter(this);
        txtDashaStarts_[r] =
            Box(Indexed("txtDashaStarts", r), tw.rect(1815, top, 1575, 315), looks.small, looks.dashaDate, frame4);
        txtDashaEnd_[r] =
            Box(Indexed("txtDashaEnd", r), tw.rect(3390, top, 1575, 315), looks.small, looks.dashaDate, frame4);
    }
    Label1_ = Label("Label1", QStringLiteral("* Keep the Mouse over Maha Dasha  for Details."),
                    tw.rect(120, 3480, 4650, 195), Verdana(8.25, true, true), looks.whiteOnBrown, Qt::AlignLeft, frame4);
    Label1_->setCursor(Qt::PointingHandCursor);
    Label1_->installEventFilter(this);
}

// The nine sub-period panels, stacked at one place.
void FrmDisplay::BuildSubDashaPanels(const Twips& tw, const Look& looks, QWidget* frame1) {
    subDashaPanels_ = new QStackedWidget(frame1);
    subDashaPanels_->setObjectName(QStringLiteral("subDashaPanels"));
    subDashaPanels_->setGeometry(tw.rect(0, 3720, 5055, 3375));
    const QRect panelRect(QPoint(0, 0), subDashaPanels_->size());
    for (int k = 0; k < Results::kRows; ++k) {
        CaptionFrame* panel =
            PlacedFrame(Indexed("fraSubDasha", k), panelRect, looks.whiteOnBrown, nullptr, {}, look::PaleCyan);
        panel->setFont(looks.small);
        fraSubDasha_[k] = panel;
        for (int s = 0; s < 9; ++s) {
            lblSubDashaName_[k][s] = Label("", {}, tw.rect(480, 405 + 315 * s, 810, 210), looks.name,
                                           looks.lightOrangeOnBrown, Qt::AlignLeft, panel);
            lblSubDashaName_[k][s]->setObjectName(Indexed(SubDashaLabelArrays[k], s));
            for (int end = 0; end < 2; ++end) {
                const int n = Results::CellIndex(k, s + 1, end == 1);
                txtSubDasha_[n] = Box(Indexed("txtSubDasha", n), tw.rect(end ? 3375 : 1800, 360 + 315 * s, 1575, 315),
                                      looks.small, looks.subDashaDate, panel);
            }
        }
        subDashaPanels_->addWidget(panel);
    }
}

// The interpretation area: the caption of the period hovered and its reading.
void FrmDisplay::BuildInterpretation(const Twips& tw, const Look& looks, QWidget* frame1) {
    CaptionFrame* frame3 = PlacedFrame(QStringLiteral("Frame3"), tw.rect(5160, -20, 5895, 3735), looks.whiteOnBrown,
                                       frame1);
    lblMahaDasha_ = Label("lblMahaDasha", QStringLiteral("Dasha Starts"), tw.rect(2250, 240, 1395, 240), looks.heading,
                          looks.whiteOnBrown, Qt::AlignHCenter, frame3);
    txtMahaDashaDesc_ = new QPlainTextEdit(frame3);
    txtMahaDashaDesc_->setObjectName(QStringLiteral("txtMahaDashaDesc"));
    txtMahaDashaDesc_->setReadOnly(true);
    txtMahaDashaDesc_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtMahaDashaDesc_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtMahaDashaDesc_->setFont(looks.small);
    txtMahaDashaDesc_->setPalette(looks.lightOrangeOnBrown);
    txtMahaDashaDesc_->setGeometry(tw.rect(120, 600, 5655, 2895));
    txtMahaDashaDesc_->setPlainText(QString::fromStdString(texts_.introTexts[0]) + u'\n');
}

// The two information panels behind the tab strip: the Vimshottari introduction and the
// Vedic details.
void FrmDisplay::BuildInformationPanels(const Twips& tw, const Look& looks, QWidget* frame1) {
    infoPanels_ = new QStackedWidget(frame1);
    infoPanels_->setObjectName(QStringLiteral("infoPanels"));
    infoPanels_->setGeometry(tw.rect(5160, 3720, 5895, 2895));
    const QRect infoRect(QPoint(0, 0), infoPanels_->size());
    fraVimshottariCaption_ = PlacedFrame(QStringLiteral("fraVimshottariCaption"), infoRect, looks.whiteOnBrown, nullptr);
    TextBlock("Label6", QString::fromStdString(texts_.introTexts[0]), infoRect.adjusted(tw.x(60), tw.y(60), -tw.x(60), -tw.y(60)),
              Verdana(9, false, false, true), look::PaleYellow, look::Brown, 4, fraVimshottariCaption_);
    fraVedicDetails_ = PlacedFrame(QStringLiteral("fraVedicDetails"), infoRect, looks.whiteOnBrown, nullptr);
    BuildVedicDetails(tw, fraVedicDetails_);
    TextBlock("Label13", QString::fromStdString(texts_.introTexts[1]), tw.rect(4050, 240, 1720, 2535), looks.small,
              look::DarkRedBrown, look::LightOrange, 2, fraVedicDetails_);
    infoPanels_->addWidget(fraVimshottariCaption_);
    infoPanels_->addWidget(fraVedicDetails_);
}

// The seven Vedic details, each a caption beside its value.
void FrmDisplay::BuildVedicDetails(const Twips& tw, QWidget* panel) {
    const std::array<std::pair<const char*, QLabel**>, 7> details = {{
        {"Julian Day", &lblJulianDay_},
        {"Ayanamsa", &lblAyanamsha_},
        {"Lagna / Asc", &lblLagna_},
        {"Lagna Position", &lblLagnaPosition_},
        {"Nakshatra", &lblNakshatra_},
        {"Rashi", &lblRashi_},
        {"Lord", &lblLord_},
    }};
    const std::array<const char*, 7> valueNames = {"lblJulianDay", "lblAyanamsha", "lblLagna", "lblLagnaPosition",
                                                   "lblNakshatra", "lblRashi", "lblLord"};
    const QPalette detailCaption =
        Colours(look::LightOrange, QGuiApplication::palette().color(QPalette::Base).rgb());
    const QPalette detailValue = Colours(look::Black, look::LightOrange);
    // The captions share one width, widened around their designed centre when the
    // longest ("Lagna Position") needs more room than designed.
    const QFont detailText = Verdana(9.75);
    const QFontMetrics captionMetrics(detailText);
    constexpr int kIndent = 2;  // text to border; the default would be half an "x" wide
    QRect captionRect = tw.rect(120, 0, 1500, 315);
    int captionWidth = captionRect.width();
    for (const auto& detail : details) {
        captionWidth = std::max(captionWidth,
                                captionMetrics.horizontalAdvance(QString::fromLatin1(detail.first)) + kIndent + 3);
    }
    const int valueLeft = tw.x(1680);
    captionRect.adjust(-(captionWidth - captionRect.width()) / 2, 0, 0, 0);
    captionRect.setLeft(std::max(captionRect.left(), 2));
    captionRect.setRight(std::min(captionRect.left() + captionWidth - 1, valueLeft - 1));
    for (std::size_t row = 0; row < details.size(); ++row) {
        const int top = 240 + 370 * static_cast<int>(row);
        auto* caption = new QLabel(QString::fromLatin1(details[row].first), panel);
        caption->setObjectName(QStringLiteral("lblDetailCaption_") + QString::number(row));
        caption->setFont(detailText);
        caption->setFrameStyle(QFrame::Box | QFrame::Plain);
        caption->setIndent(kIndent);
        caption->setAutoFillBackground(true);
        caption->setPalette(detailCaption);
        caption->setGeometry(captionRect.left(), tw.y(top), captionRect.width(), tw.y(top + 315) - tw.y(top));
        auto* value = new QLabel(panel);
        value->setObjectName(QString::fromLatin1(valueNames[row]));
        value->setFont(detailText);
        value->setFrameStyle(QFrame::Box | QFrame::Plain);
        value->setIndent(kIndent);
        value->setAutoFillBackground(true);
        value->setPalette(detailValue);
        value->setGeometry(tw.rect(1680, top, 2265, 315));
        *details[row].second = value;
    }
}

// The tab strip and the Exit, Print and Back buttons.
void FrmDisplay::BuildButtons(const Twips& tw, const Look& looks, QWidget* frame1) {
    TabStrip1_ = new TabStrip(frame1);
    TabStrip1_->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1_->setFont(looks.small);
    TabStrip1_->setExpanding(false);
    TabStrip1_->setUsesScrollButtons(false);
    TabStrip1_->setElideMode(Qt::ElideNone);
    TabStrip1_->setDrawBase(false);
    TabStrip1_->addTab(QStringLiteral("Vimshottari Dasha"));
    TabStrip1_->addTab(QStringLiteral("Vedic Details"));
    Paint(TabStrip1_, look::Black, look::PaleYellow);
    TabStrip1_->setGeometry(tw.rect(5160, 6720, 3165, 375));
    TabStrip1_->setTabText(0, TabStrip1_->tabText(0));  // lays the tabs out again for the strip's width
    connect(TabStrip1_, &QTabBar::currentChanged, this, &FrmDisplay::TabStrip1_Click);

    cmdExit_ = Button("cmdExit", QStringLiteral("&Exit"), tw.rect(8400, 6720, 660, 375), frame1);
    cmdExit_->setDefault(true);
    cmdPrint_ = Button("cmdPrint", QStringLiteral("Print"), tw.rect(9120, 6720, 855, 375), frame1);
    cmdOK_ = Button("cmdOK", QStringLiteral("&Back"), tw.rect(10080, 6720, 900, 375), frame1);
    connect(cmdExit_, &QPushButton::clicked, this, &FrmDisplay::cmdExit_Click);
    connect(cmdPrint_, &QPushButton::clicked, this, &FrmDisplay::cmdPrint_Click);
    connect(cmdOK_, &QPushButton::clicked, this, &FrmDisplay::cmdOK_Click);
}

void FrmDisplay::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QAction* back = file->addAction(QStringLiteral("&Back"));
    back->setObjectName(QStringLiteral("mnuFileBack"));
    connect(back, &QAction::triggered, this, &FrmDisplay::mnuFileBack_Click);
    QAction* exit = file->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("mnuExit"));
    connect(exit, &QAction::triggered, this, &FrmDisplay::mnuExit_Click);

    QMenu* periods = menuBar()->addMenu(QStringLiteral("&Periods"));
    periods->setObjectName(QStringLiteral("mnuPeriods"));
    QAction* precise = periods->addAction(QStringLiteral("&Precise Periods..."));
    precise->setObjectName(QStringLiteral("mnuPrecisePeriods"));
    connect(precise, &QAction::triggered, this, &FrmDisplay::mnuPrecisePeriods_Click);
    QAction* birthChart = periods->addAction(QStringLiteral("Birth &Chart..."));
    birthChart->setObjectName(QStringLiteral("mnuBirthChart"));
    connect(birthChart, &QAction::triggered, this, &FrmDisplay::mnuBirthChart_Click);
    QAction* calendar = periods->addAction(QStringLiteral("Export &Calendar (.ics)..."));
    calendar->setObjectName(QStringLiteral("mnuExportCalendar"));
    connect(calendar, &QAction::triggered, this, &FrmDisplay::mnuExportCalendar_Click);
    QAction* table = periods->addAction(QStringLiteral("Export &Table (CSV)..."));
    table->setObjectName(QStringLiteral("mnuExportTable"));
    connect(table, &QAction::triggered, this, &FrmDisplay::mnuExportTable_Click);

    new LinkMenus(menuBar(), this);
}

void FrmDisplay::Form_Load() {
    infoPanels_->setCurrentWidget(fraVimshottariCaption_);
    infoPanels_->setCurrentWidget(fraVedicDetails_);
    // The marked tab agrees with the panel in front.
    const QSignalBlocker quiet(TabStrip1_);
    TabStrip1_->setCurrentIndex(1);
}

void FrmDisplay::ShowResults() {
    for (int r = 0; r < Results::kRows; ++r) {
        txtDashaName_[r]->setText(QString::fromStdString(results_.dashaName[r]));
        txtDashaStarts_[r]->setText(QString::fromStdString(results_.dashaStarts[r]));
        txtDashaEnd_[r]->setText(QString::fromStdString(results_.dashaEnd[r]));
        for (int s = 0; s < 9; ++s) lblSubDashaName_[r][s]->setCaption(QString::fromStdString(results_.subDashaLords[r][s]));
    }
    for (int n = 1; n <= Results::kCells; ++n) {
        txtSubDasha_[n]->setText(QString::fromStdString(results_.cell(n)));
        txtSubDasha_[n]->setHidden(!results_.cellVisible(n));
    }
    fraSubDasha_[0]->setCaption(QString::fromStdString(results_.subDashaCaption));
    if (results_.frontPanel >= 0 && results_.frontPanel < Results::kRows) {
        subDashaPanels_->setCurrentIndex(results_.frontPanel);
    }
    lblDashaAtTimeOfBirth_->setCaption(QString::fromStdString(results_.dashaAtTimeOfBirth));
    lblNakshatra_->setText(QString::fromStdString(results_.nakshatra));
    lblRashi_->setText(QString::fromStdString(results_.rashi));
    lblLord_->setText(QString::fromStdString(results_.lord));
    lblAyanamsha_->setText(QString::fromStdString(results_.ayanamsha));
    lblLagna_->setText(QString::fromStdString(results_.lagna));
    lblLagnaPosition_->setText(QString::fromStdString(results_.lagnaPosition));
    lblJulianDay_->setText(QString::fromStdString(results_.julianDay));
}

void FrmDisplay::TabStrip1_Click() {
    // Tabs are numbered from 1; only tab 1 shows the Vimshottari panel.
    const int selected = TabStrip1_->currentIndex() + 1;
    infoPanels_->setCurrentWidget(selected == 1 ? fraVimshottariCaption_ : fraVedicDetails_);
}

void FrmDisplay::txtDashaName_MouseMove(int index) {
    if (index < 0 || index >= Results::kRows) return;
    const HoverView view = HoverDashaName(txtDashaName_[index]->text().toStdString());
    subDashaPanels_->setCurrentIndex(index);
    fraSubDasha_[index]->setCaption(QString::fromStdString(view.subDashaCaption));
    if (!view.mahaDashaCaption) return;
    lblMahaDasha_->setCaption(QString::fromStdString(*view.mahaDashaCaption));
    const auto description = static_cast<std::size_t>(view.descriptionIndex);
    if (description < texts_.dashaDescriptions.size()) {
        const QString text = QString::fromStdString(texts_.dashaDescriptions[description]);
        if (txtMahaDashaDesc_->toPlainText() != text) txtMahaDashaDesc_->setPlainText(text);
    }
}

void FrmDisplay::cmdOK_Click() {
    goingBack_ = true;
    close();
    emit backRequested();
}

void FrmDisplay::mnuFileBack_Click() { cmdOK_Click(); }

void FrmDisplay::cmdExit_Click() { close(); }

void FrmDisplay::mnuExit_Click() { close(); }

void FrmDisplay::cmdPrint_Click() {
    FrmSave dlg(birth_, results_, texts_, this);
    dlg.exec();
}

void FrmDisplay::mnuPrecisePeriods_Click() {
    std::string error;
    const std::unique_ptr<FrmPeriods> dlg = FrmPeriods::Create(preciseBirth_, dasha_, this, error);
    if (!dlg) {
        ShowMessage(this, {error, Icon::Error});
        return;
    }
    dlg->exec();
}

void FrmDisplay::mnuBirthChart_Click() { OpenBirthChartAt(this, preciseBirth_, QDateTime::currentSecsSinceEpoch()); }

void FrmDisplay::mnuExportCalendar_Click() {
    ExportPeriods(this, PeriodExport::Calendar, preciseBirth_, RunPeriodsSettings(), QDateTime::currentSecsSinceEpoch());
}

void FrmDisplay::mnuExportTable_Click() {
    ExportPeriods(this, PeriodExport::Table, preciseBirth_, RunPeriodsSettings(), QDateTime::currentSecsSinceEpoch());
}

void FrmDisplay::Label1_Click() { OpenWebAddress(WebLinkUrl(WebLink::DashaArticles)); }

void FrmDisplay::lblHomeLink_Click() { OpenWebAddress(WebLinkUrl(WebLink::VisitUs)); }

void FrmDisplay::EnterPressed() {
    if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button != cmdExit_) {
        button->click();
        return;
    }
    cmdExit_Click();
}

bool FrmDisplay::eventFilter(QObject* watched, QEvent* event) {
    const auto row = std::find(txtDashaName_.begin(), txtDashaName_.end(), watched);
    const int r = row == txtDashaName_.end() ? -1 : static_cast<int>(row - txtDashaName_.begin());
    // A name box reached by the keyboard shows its period as the mouse over it does;
    // Up and Down step between the name boxes. The focus a box gets when the window
    // opens or is activated again is no step of the user's and shows nothing.
    const auto byKeyboard = [event] {
        if (event->type() != QEvent::FocusIn) return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::OtherFocusReason;
    };
    if (r >= 0 && (event->type() == QEvent::MouseMove || byKeyboard())) {
        txtDashaName_MouseMove(r);
    } else if (r >= 0 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            // At the first or last row the step stays on the box and shows its period.
            const int next = std::clamp(key == Qt::Key_Up ? r - 1 : r + 1, 0, Results::kRows - 1);
            if (next == r) txtDashaName_MouseMove(r);
            else txtDashaName_[static_cast<std::size_t>(next)]->setFocus(Qt::OtherFocusReason);
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == Label1_) Label1_Click();
        if (watched == lblHomeLink_ || watched == lblBottomLink_) lblHomeLink_Click();
    }
    return QMainWindow::eventFilter(watched, event);
}

void FrmDisplay::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!goingBack_) emit exitRequested();
}

}  // namespace orvanta
