#pragma once

// Shared by the window tests: observers for the message boxes and web addresses the
// windows would show or open, and the program's look.

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

#include "gui/kit/appearance.h"
#include "gui/kit/message_box.h"
#include "gui/kit/web_links.h"

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

// Runs `act` on the next modal window of class `className` once it is up (the dialog
// under test runs its own event loop, so the test acts from inside it). It gives up
// after sixty seconds of wall time (a loaded machine can take seconds to show a first
// file dialog), and then closes whatever modal window is up, so that the test fails
// where it waits instead of hanging.
inline void OnModal(const char* className, std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, className, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->inherits(className) && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        } else if (clock->hasExpired(60000)) {
            timer->stop();
            timer->deleteLater();
            qWarning("no modal %s came up within sixty seconds", className);
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        }
    });
    timer->start();
}

// Chooses `path` in an open file dialog and accepts it. The name goes straight into the
// dialog's name box: QFileDialog::selectFile() leaves that box alone while it has the
// focus, which it gets at some time after the dialog is shown.
inline void ChooseInFileDialog(QWidget* fileDialog, const QString& path) {
    auto* dialog = static_cast<QFileDialog*>(fileDialog);
    dialog->setDirectory(QFileInfo(path).absolutePath());
    if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) name->setText(path);
    static_cast<QDialog*>(dialog)->accept();
}

inline void InstallLook() { InstallAppearance(*static_cast<QApplication*>(QCoreApplication::instance())); }

inline QString IconName(Icon icon) { return icon == Icon::Error ? QStringLiteral("error") : QStringLiteral("information"); }

}  // namespace orvanta::testing
