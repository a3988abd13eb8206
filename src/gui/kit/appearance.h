#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QRect>
#include <QWidget>

#include "orvanta_version.h"

class QApplication;

namespace orvanta {

// The shared look of the program's windows.
namespace look {
inline constexpr QRgb Brown = qRgb(128, 64, 0);
inline constexpr QRgb PaleYellow = qRgb(255, 255, 192);
inline constexpr QRgb LightOrange = qRgb(255, 192, 128);
inline constexpr QRgb PaleCyan = qRgb(128, 255, 255);
inline constexpr QRgb Yellow = qRgb(255, 255, 128);
inline constexpr QRgb DarkRedBrown = qRgb(64, 0, 0);
inline constexpr QRgb White = qRgb(255, 255, 255);
inline constexpr QRgb Black = qRgb(0, 0, 0);
}  // namespace look

inline constexpr const char* kProgramTitle = "Orvanta";
inline constexpr const char* kWindowCaption = "Orvanta v" ORVANTA_VERSION;

// Verdana, or the face substituted for it where Verdana is not installed.
QFont Verdana(double points, bool bold = false, bool underline = false, bool italic = false);

// Fusion style (it honours the palettes below on every platform), DejaVu Sans standing
// in for Verdana, and Verdana 8.25 pt as the default font.
void InstallAppearance(QApplication& app);

// Text colour and background of one widget.
void Paint(QWidget* widget, QRgb text, QRgb background);
// The colours Paint gives, as a palette that sets those roles only: the rest still come
// from the widget's parent. A window that paints many fresh widgets alike builds it once
// and hands it to setPalette, which gives each the colours Paint would.
QPalette Colours(QRgb text, QRgb background);
// The colours of a pale yellow command button.
void PaintButton(QWidget* button);
// A pale yellow command button in bold Verdana, named for the tests; never a dialog's
// default, so that Enter stays with the boxes.
QPushButton* Button(const char* name, const QString& caption, QWidget* parent, double points = 8.25);
// A box's caption: bold Verdana, brown on light orange, its mnemonic leading to `buddy`.
QLabel* Caption(const QString& text, QWidget* buddy, QWidget* parent);
// A check box or option button: light orange on brown, its mark in a pale yellow box.
void PaintCheck(QWidget* check);
// The rows of a list or table: black on pale yellow, every other row `alternateRow`;
// the rest of `palette` as it is.
QPalette PaleYellowRows(QPalette palette, QColor alternateRow);
// The rows of the period lists: PaleYellowRows with every other row a shade darker, the
// chosen row pale yellow on brown and the headings black on light orange.
QPalette PeriodRows(QPalette palette);

// Layout sizes in twips (1/1440 inch) turned into pixels through the logical DPI of the
// widget's screen. Edges are rounded, not sizes, so that boxes placed edge to edge in
// twips stay edge to edge in pixels.
class Twips {
public:
    explicit Twips(const QWidget* widget);
    int x(int twips) const;
    int y(int twips) const;
    QRect rect(int left, int top, int width, int height) const;

private:
    double perTwipX_;
    double perTwipY_;
};

// A label kept on one line: when its text is wider or taller than its design rectangle
// it grows (around its centre when centred, to the right otherwise), staying inside its
// parent, so that no caption is ever cut off.
class FittingLabel : public QLabel {
    Q_OBJECT
public:
    FittingLabel(const QString& text, const QRect& design, Qt::Alignment alignment, QWidget* parent);
    void setCaption(const QString& text);

private:
    void fit();
    QRect design_;
};

// A frame in the style of the program: an etched rectangle with an optional caption set
// into its top edge.
class CaptionFrame : public QWidget {
    Q_OBJECT
public:
    explicit CaptionFrame(const QString& caption = {}, QWidget* parent = nullptr);
    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    void setCaptionStyle(const QFont& font, QRgb colour);
    // Room taken by the caption at the top, for frames that hold a layout.
    int captionHeight() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
    QFont captionFont_;
    QColor captionColour_;
};

// A CaptionFrame named for the tests, its caption in bold Verdana 9.75 pt of
// `captionColour`, `colours` (as Colours(text, look::Brown)) inside.
CaptionFrame* Frame(const QString& name, const QString& caption, const QPalette& colours, QWidget* parent,
                    QRgb captionColour = look::White);

}  // namespace orvanta
