#include "support/MessageRecorder.h"

MessageRecorder::MessageRecorder()
    : previous_(
          SetMessagePresenter([this](const MessageRequest& request) { return Present(request); })) {
}

MessageRecorder::~MessageRecorder() {
    SetMessagePresenter(previous_);
}

MessageAnswer MessageRecorder::Present(const MessageRequest& request) {
    messages.append({request.kind, request.caption, request.text, request.owner});
    if (whileShown)
        whileShown(request);
    if (!answers.isEmpty())
        return answers.takeFirst();
    const bool question = request.kind == MessageKind::Information ||
                          request.kind == MessageKind::Question ||
                          request.kind == MessageKind::SaveQuestion;
    return question ? MessageAnswer::Yes : MessageAnswer::Ok;
}

namespace {

QString KindName(MessageKind kind) {
    switch (kind) {
    case MessageKind::Plain:
        return "Plain";
    case MessageKind::Warning:
        return "Warning";
    case MessageKind::Information:
        return "Information";
    case MessageKind::Error:
        return "Error";
    case MessageKind::Question:
        return "Question";
    case MessageKind::SaveQuestion:
        return "SaveQuestion";
    }
    return "Kind " + QString::number(int(kind));
}

} // namespace

QStringList MessageRecorder::shown() const {
    QStringList result;
    for (const RecordedMessage& m : messages)
        result.append(KindName(m.kind) + ' ' + m.caption + ": " + m.text);
    return result;
}

QStringList MessageRecorder::texts() const {
    QStringList result;
    for (const RecordedMessage& m : messages)
        result.append(m.text);
    return result;
}
