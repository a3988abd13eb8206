#pragma once

#include <functional>

#include "core/base/message.h"

class QWidget;

namespace orvanta {

// Shows one message box: title "Orvanta", the message's text and icon, one OK button,
// modal. Returns when the user has closed it. The focus is the caller's business.
void ShowMessage(QWidget* parent, const Message& message);

// Every message of the program goes through ShowMessage; a sink set here receives them
// instead of a box (tests observe the messages this way). Returns the previous sink;
// an empty sink restores the box.
using MessageSink = std::function<void(QWidget* parent, const Message& message)>;
MessageSink SetMessageSink(MessageSink sink);

}  // namespace orvanta
