#pragma once

// Shared by the window tests: observers for the message boxes and web addresses the
// windows would show or open, and the program's look.

#include <QApplication>
#include <QUrl>
#include <QWidget>

#include <vector>

#include "kit/gui/appearance.h"
#include "kit/gui/message_box.h"
#include "kit/gui/web_links.h"

namespace orvanta::testing {

struct ShownMessage {
    Message message;
    QWidget* focusWhenShown = nullptr;
};

// Collects the messages instead of showing boxes, for as long as it lives.
class MessageRecorder {
public:
    MessageRecorder() {
        previous_ = SetMessageSink([this](QWidget*, const Message& message) {
            shown.push_back({message, QApplication::focusWidget()});
        });
    }
    ~MessageRecorder() { SetMessageSink(previous_); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<ShownMessage> shown;

private:
    MessageSink previous_;
};

// Collects the web addresses instead of starting a browser.
class UrlRecorder {
public:
    UrlRecorder() {
        previous_ = SetUrlSink([this](const QUrl& url) {
            opened.push_back(url);
            return true;
        });
    }
    ~UrlRecorder() { SetUrlSink(previous_); }
    UrlRecorder(const UrlRecorder&) = delete;
    UrlRecorder& operator=(const UrlRecorder&) = delete;

    std::vector<QUrl> opened;

private:
    UrlSink previous_;
};

inline void InstallLook() { InstallAppearance(*static_cast<QApplication*>(QCoreApplication::instance())); }

inline QString IconName(Icon icon) { return icon == Icon::Error ? QStringLiteral("error") : QStringLiteral("information"); }

}  // namespace orvanta::testing
