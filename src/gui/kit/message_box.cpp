#include "gui/kit/message_box.h"

#include <QMessageBox>

#include <utility>

#include "gui/kit/appearance.h"

namespace orvanta {

namespace {
MessageSink& Sink() {
    static MessageSink sink;
    return sink;
}
}  // namespace

MessageSink SetMessageSink(MessageSink sink) { return std::exchange(Sink(), std::move(sink)); }

void ShowMessage(QWidget* parent, const Message& message) {
    if (Sink()) {
        Sink()(parent, message);
        return;
    }
    QMessageBox box(message.icon == Icon::Error ? QMessageBox::Critical : QMessageBox::Information,
                    QString::fromLatin1(kProgramTitle), QString::fromStdString(message.text), QMessageBox::Ok,
                    parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

}  // namespace orvanta
