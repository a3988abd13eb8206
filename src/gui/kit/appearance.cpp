#include "gui/kit/appearance.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QStyleFactory>

#include <algorithm>

namespace orvanta {

namespace {

// The pixels drawRect(rect) covers with a one-pixel pen (the right and bottom edges one
// pixel outside the rectangle), filled as four strips: for the long edges of a large
// frame that is many times quicker than the pen's stroker.
void Outline(QPainter& painter, const QRect& rect, const QColor& colour) {
    if (rect.width() <= 0 || rect.height() <= 0) {
        painter.setPen(colour);
        painter.drawRect(rect);
        return;
    }
    const int width = rect.width() + 1;
    const int height = rect.height() + 1;
    painter.fillRect(rect.left(), rect.top(), width, 1, colour);
    painter.fillRect(rect.left(), rect.top() + height - 1, width, 1, colour);
    painter.fillRect(rect.left(), rect.top(), 1, height, colour);
    painter.fillRect(rect.left() + width - 1, rect.top(), 1, height, colour);
}

}  // namespace

QFont Verdana(double points, bool bold, bool underline, bool italic) {
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setUnderline(underline);
    font.setItalic(italic);
    return font;
}

void InstallAppearance(QApplication& app) {
    QFont::insertSubstitution(QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"));
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(fusion);
    app.setFont(Verdana(8.25));
}

void Paint(QWidget* widget, QRgb text, QRgb background) {
    QPalette palette = widget->palette();
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) palette.setColor(role, QColor(text));
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) palette.setColor(role, QColor(background));
    widget->setPalette(palette);
}

QPalette Colours(QRgb text, QRgb background) {
    QPalette palette;
    palette.setResolveMask(0);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) palette.setColor(role, QColor(text));
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) palette.setColor(role, QColor(background));
    return palette;
}

void PaintButton(QWidget* button) {
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, QColor(look::PaleYellow));
    palette.setColor(QPalette::ButtonText, QColor(look::Black));
    palette.setColor(QPalette::Window, QColor(look::PaleYellow));
    button->setPalette(palette);
}

QPushButton* Button(const char* name, const QString& caption, QWidget* parent, double points) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFont(Verdana(points, true));
    button->setAutoDefault(false);
    PaintButton(button);
    return button;
}

QLabel* Caption(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(Verdana(8.25, true));
    Paint(label, look::LightOrange, look::Brown);
    label->setBuddy(buddy);
    return label;
}

void PaintCheck(QWidget* check) {
    Paint(check, look::LightOrange, look::Brown);
    QPalette palette = check->palette();
    palette.setColor(QPalette::Base, QColor(look::PaleYellow));
    check->setPalette(palette);
}

QPalette PaleYellowRows(QPalette palette, QColor alternateRow) {
    palette.setColor(QPalette::Base, QColor(look::PaleYellow));
    palette.setColor(QPalette::AlternateBase, alternateRow);
    palette.setColor(QPalette::Text, QColor(look::Black));
    return palette;
}

QPalette PeriodRows(QPalette palette) {
    palette = PaleYellowRows(palette, QColor(look::PaleYellow).darker(106));
    palette.setColor(QPalette::Highlight, QColor(look::Brown));
    palette.setColor(QPalette::HighlightedText, QColor(look::PaleYellow));
    palette.setColor(QPalette::Button, QColor(look::LightOrange));
    palette.setColor(QPalette::ButtonText, QColor(look::Black));
    return palette;
}

Twips::Twips(const QWidget* widget)
    : perTwipX_(widget->logicalDpiX() / 1440.0), perTwipY_(widget->logicalDpiY() / 1440.0) {}

int Twips::x(int twips) const { return qRound(twips * perTwipX_); }
int Twips::y(int twips) const { return qRound(twips * perTwipY_); }

QRect Twips::rect(int left, int top, int width, int height) const {
    const int l = x(left);
    const int t = y(top);
    return {l, t, x(left + width) - l, y(top + height) - t};
}

FittingLabel::FittingLabel(const QString& text, const QRect& design, Qt::Alignment alignment, QWidget* parent)
    : QLabel(text, parent), design_(design) {
    setAlignment(alignment | Qt::AlignVCenter);
    setGeometry(design);
    fit();
}

void FittingLabel::setCaption(const QString& text) {
    setText(text);
    fit();
}

void FittingLabel::fit() {
    const QFontMetrics metrics(font());
    const int frame = 2 * frameWidth();
    const int needWidth = metrics.horizontalAdvance(text()) + frame + 2;
    const int needHeight = metrics.height() + frame;
    QRect area = design_;
    if (needWidth > area.width()) {
        const int grow = needWidth - area.width();
        if (alignment() & Qt::AlignHCenter) area.adjust(-grow / 2, 0, grow - grow / 2, 0);
        else area.setWidth(needWidth);
    }
    if (needHeight > area.height()) area.setHeight(needHeight);
    if (const QWidget* owner = parentWidget()) {
        const int room = owner->width() > 0 ? owner->width() : area.right() + 1;
        if (area.right() >= room) area.moveRight(room - 1);
        if (area.left() < 0) area.moveLeft(0);
    }
    setGeometry(area);
}

CaptionFrame::CaptionFrame(const QString& caption, QWidget* parent)
    : QWidget(parent), caption_(caption), captionFont_(font()), captionColour_(look::White) {
    setAutoFillBackground(true);
}

void CaptionFrame::setCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    update();
}

void CaptionFrame::setCaptionStyle(const QFont& font, QRgb colour) {
    captionFont_ = font;
    captionColour_ = QColor(colour);
    update();
}

int CaptionFrame::captionHeight() const { return QFontMetrics(captionFont_).height(); }

void CaptionFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor background = palette().color(QPalette::Window);
    const int top = caption_.isEmpty() ? 0 : captionHeight() / 2;
    const QRect edge = rect().adjusted(0, top, -2, -2);
    Outline(painter, edge, background.darker(160));
    Outline(painter, edge.translated(1, 1), background.lighter(160));
    if (caption_.isEmpty()) return;
    painter.setFont(captionFont_);
    const QFontMetrics metrics(captionFont_);
    const QRect text(8, 0, std::min(metrics.horizontalAdvance(caption_) + 6, width() - 12), captionHeight());
    painter.fillRect(text, background);
    painter.setPen(captionColour_);
    painter.drawText(text, Qt::AlignCenter, caption_);
}

CaptionFrame* Frame(const QString& name, const QString& caption, const QPalette& colours, QWidget* parent,
                    QRgb captionColour) {
    auto* frame = new CaptionFrame(caption, parent);
    frame->setObjectName(name);
    frame->setCaptionStyle(Verdana(9.75, true), captionColour);
    frame->setPalette(colours);
    return frame;
}

}  // namespace orvanta
