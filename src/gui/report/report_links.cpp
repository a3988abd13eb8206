#include "gui/report/report_links.h"

#include <QAbstractTextDocumentLayout>
#include <QDesktopServices>
#include <QEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QPointer>
#include <QScrollBar>
#include <QTextEdit>
#include <QUrl>

namespace orvanta {

namespace {

constexpr const char* kHookName = "orvanta_report_links";

// Watches one box: keeps the link marks in step with its text and answers clicks on
// its viewport. Owned by the box; removing it restores the box.
class ReportLinkHook : public QObject {
public:
    explicit ReportLinkHook(QTextEdit* box) : QObject(box), box_(box) {
        setObjectName(QLatin1String(kHookName));
        QWidget* viewport = box->viewport();
        hadMouseTracking_ = viewport->hasMouseTracking();
        viewport->setMouseTracking(true);
        viewport->installEventFilter(this);
        connect(box->document(), &QTextDocument::contentsChanged, this, &ReportLinkHook::Rescan);
        Rescan();
    }

    // Gives the box back as it was; not in the destructor, which also runs while the box
    // itself is being destroyed.
    void Detach() {
        if (!box_) return;
        disconnect(box_->document(), nullptr, this, nullptr);
        box_->setExtraSelections({});
        box_->viewport()->removeEventFilter(this);
        box_->viewport()->setMouseTracking(hadMouseTracking_);
        box_->viewport()->setCursor(Qt::IBeamCursor);
        box_ = nullptr;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Only mouse events are looked at: the box is not touched while the widgets are
        // being destroyed, when they still send events of other kinds.
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove) return false;
        if (!box_ || watched != box_->viewport()) return false;
        if (type == QEvent::MouseButtonPress) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                const int link = LinkAt(mouse->position().toPoint());
                if (link >= 0) OpenReportLink(text_.mid(links_[link].start, links_[link].length));
            }
        } else {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->buttons() == Qt::NoButton)
                box_->viewport()->setCursor(LinkAt(mouse->position().toPoint()) >= 0 ? Qt::PointingHandCursor
                                                                                      : Qt::IBeamCursor);
        }
        return false;  // the box handles every event as usual
    }

private:
    void Rescan() {
        text_ = box_->document()->toPlainText();
        links_ = FindWebAddresses(text_);
        QList<QTextEdit::ExtraSelection> marks;
        for (const WebAddressRange& link : links_) {
            QTextEdit::ExtraSelection mark;
            mark.cursor = QTextCursor(box_->document());
            mark.cursor.setPosition(static_cast<int>(link.start));
            mark.cursor.setPosition(static_cast<int>(link.start + link.length), QTextCursor::KeepAnchor);
            mark.format.setForeground(box_->palette().color(QPalette::Link));
            mark.format.setFontUnderline(true);
            marks.append(mark);
        }
        box_->setExtraSelections(marks);
    }

    // The link under a viewport point, or -1. Only a point on a character counts, not
    // the empty room after the end of a line.
    int LinkAt(QPoint viewportPoint) const {
        const QPointF documentPoint(viewportPoint.x() + box_->horizontalScrollBar()->value(),
                                    viewportPoint.y() + box_->verticalScrollBar()->value());
        const int position = box_->document()->documentLayout()->hitTest(documentPoint, Qt::ExactHit);
        if (position < 0) return -1;
        for (qsizetype i = 0; i < links_.size(); ++i) {
            if (position >= links_[i].start && position < links_[i].start + links_[i].length)
                return static_cast<int>(i);
        }
        return -1;
    }

    QPointer<QTextEdit> box_;
    bool hadMouseTracking_ = false;
    QString text_;  // positions in it are document positions
    QList<WebAddressRange> links_;
};

ReportLinkHook* HookOf(const QTextEdit* box) {
    if (!box) return nullptr;
    for (QObject* child : box->children()) {
        if (child->objectName() == QLatin1String(kHookName)) return static_cast<ReportLinkHook*>(child);
    }
    return nullptr;
}

}  // namespace

void EnableReportLinks(QTextEdit* box) {
    if (!box || HookOf(box)) return;
    new ReportLinkHook(box);
}

void DisableReportLinks(QTextEdit* box) {
    if (ReportLinkHook* hook = HookOf(box)) {
        hook->Detach();
        delete hook;
    }
}

bool ReportLinksEnabled(const QTextEdit* box) { return HookOf(box) != nullptr; }

bool OpenReportLink(const QString& address) {
    if (address.isEmpty() || address.size() > kMaxLinkLength) return false;
    const QUrl url = address.startsWith(QLatin1String("www."), Qt::CaseInsensitive)
                         ? QUrl(QStringLiteral("http://") + address, QUrl::TolerantMode)
                         : QUrl(address, QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) return false;
    return QDesktopServices::openUrl(url);
}

}  // namespace orvanta
