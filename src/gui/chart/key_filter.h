#pragma once

#include <QObject>

#include "core/chart/birth_form.h"

class QEvent;
class QKeyEvent;
class QLineEdit;
class QString;

namespace orvanta {

// The key filters of the birth-details window's text boxes, for typing and for pasting.
//
// Typing: a character key goes to FilterKey; a refused character never reaches the box
// and its message is shown once; an accepted one is inserted as FilterKey returns it
// (the name's lower-case letters upper-cased) unless the box is full. Backspace and Enter
// are passed to the filter as the keys 8 and 13; navigation and editing keys (arrows,
// Delete, Tab, Home, End, copy, undo ...) are not characters and pass untouched.
//
// Pasting (the paste shortcuts, the context menu, the middle mouse button) puts the
// characters FilterText accepts in, as many as the box still takes, and shows the
// message once when any character was refused. Dropping text onto a box is turned off.
//
// The box's maximum length is kept here rather than in QLineEdit::maxLength, because
// the time-zone picker writes "-30" into the two-character minute box and that text
// must stay whole.

// The typed key of `event` for `box`; true when the event was consumed.
bool FilterTypedKey(QLineEdit* edit, Control box, QKeyEvent* event, QWidget* messageParent);
// Text arriving other than by typing.
void PasteFiltered(QLineEdit* edit, Control box, const QString& text, QWidget* messageParent);

// Installs the paste routes (shortcut, context menu, middle button) on `edit` and turns
// off drops and input-method composition, so that every character reaches the box
// through one of the two functions above. Key presses of ordinary characters are left
// to the window's own key handler, which calls FilterTypedKey.
class PasteGuard : public QObject {
    Q_OBJECT
public:
    PasteGuard(QLineEdit* edit, Control box, QWidget* messageParent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* edit_;
    Control box_;
    QWidget* messageParent_;
};

}  // namespace orvanta
