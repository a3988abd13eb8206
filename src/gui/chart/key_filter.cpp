#include "gui/chart/key_filter.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

#include "gui/kit/message_box.h"

namespace orvanta {

namespace {

// Characters the box still takes in place of its selection; -1 when it has no limit.
qsizetype Room(const QLineEdit* edit, Control box) {
    const int limit = MaxLength(box);
    if (limit <= 0) return -1;
    return std::max<qsizetype>(0, limit - (edit->text().size() - edit->selectedText().size()));
}

bool IsShortcut(const QKeyEvent* event) {
    for (auto key : {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::SelectAll, QKeySequence::Undo,
                     QKeySequence::Redo, QKeySequence::Delete, QKeySequence::Backspace}) {
        if (event->matches(key)) return true;
    }
    // Control with a letter is a command; Control with Alt is AltGr on Windows, a character.
    const auto mods = event->modifiers();
    return (mods & Qt::ControlModifier) && !(mods & Qt::AltModifier);
}

}  // namespace

bool FilterTypedKey(QLineEdit* edit, Control box, QKeyEvent* event, QWidget* messageParent) {
    if (event->matches(QKeySequence::Paste)) {
        PasteFiltered(edit, box, QApplication::clipboard()->text(QClipboard::Clipboard), messageParent);
        return true;
    }
    const int key = event->key();
    if (key == Qt::Key_Backspace) {
        if (FilterKey(box, kBackspace)) return false;  // QLineEdit deletes
        ShowMessage(messageParent, KeyRefusedMessage(box));
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Accepted (the name) it does nothing; refused (the numbers) it shows the message.
        if (!FilterKey(box, kEnter)) ShowMessage(messageParent, KeyRefusedMessage(box));
        return true;
    }
    const QString text = event->text();
    if (text.isEmpty() || IsShortcut(event)) return false;
    for (const QChar c : text) {
        if (!c.isPrint()) return false;  // navigation and editing keys carry control codes
    }

    bool refused = false;
    for (const char32_t c : text.toUcs4()) {
        const auto accepted = FilterKey(box, c);
        if (!accepted) {
            refused = true;
            continue;
        }
        if (Room(edit, box) == 0) continue;  // a full box takes nothing more, silently
        edit->insert(QString::fromUcs4(&*accepted, 1));
    }
    if (refused) ShowMessage(messageParent, KeyRefusedMessage(box));
    return true;
}

void PasteFiltered(QLineEdit* edit, Control box, const QString& text, QWidget* messageParent) {
    if (edit->isReadOnly()) return;
    const FilteredText filtered = FilterText(box, text.toStdString());
    QString accepted = QString::fromStdString(filtered.text);
    const qsizetype room = Room(edit, box);
    if (room >= 0) accepted.truncate(room);
    if (!accepted.isEmpty()) edit->insert(accepted);
    if (filtered.refused) ShowMessage(messageParent, KeyRefusedMessage(box));
}

PasteGuard::PasteGuard(QLineEdit* edit, Control box, QWidget* messageParent)
    : QObject(edit), edit_(edit), box_(box), messageParent_(messageParent) {
    edit->setAcceptDrops(false);
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit->installEventFilter(this);
}

bool PasteGuard::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit_) return false;
    switch (event->type()) {
    case QEvent::ContextMenu: {
        // The standard menu's Paste would bypass the filter; this one routes it through.
        QMenu menu(edit_);
        QAction* undo = menu.addAction(tr("&Undo"), edit_, &QLineEdit::undo);
        undo->setEnabled(edit_->isUndoAvailable());
        menu.addSeparator();
        menu.addAction(tr("Cu&t"), edit_, &QLineEdit::cut)->setEnabled(edit_->hasSelectedText());
        menu.addAction(tr("&Copy"), edit_, &QLineEdit::copy)->setEnabled(edit_->hasSelectedText());
        QAction* paste = menu.addAction(tr("&Paste"), edit_, [this] {
            PasteFiltered(edit_, box_, QApplication::clipboard()->text(QClipboard::Clipboard), messageParent_);
        });
        paste->setObjectName(QStringLiteral("edit-paste"));
        paste->setEnabled(!QApplication::clipboard()->text(QClipboard::Clipboard).isEmpty());
        menu.addAction(tr("Delete"), edit_, &QLineEdit::del)->setEnabled(edit_->hasSelectedText());
        menu.addSeparator();
        menu.addAction(tr("Select All"), edit_, &QLineEdit::selectAll)->setEnabled(!edit_->text().isEmpty());
        menu.exec(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::MiddleButton) return false;
        if (QApplication::clipboard()->supportsSelection()) {
            edit_->deselect();
            edit_->setCursorPosition(edit_->cursorPositionAt(mouse->position().toPoint()));
            PasteFiltered(edit_, box_, QApplication::clipboard()->text(QClipboard::Selection), messageParent_);
        }
        return true;
    }
    default: return false;
    }
}

}  // namespace orvanta
