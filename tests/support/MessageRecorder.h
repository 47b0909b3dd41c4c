#pragma once
// Stands in for the real message boxes while it lives: records every box the program asks
// for and answers with scripted answers (Ok, or Yes for questions, once the script runs out).
#include "frame/MessageBoxes.h"
#include "support/StandIn.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>

struct RecordedMessage {
    MessageKind kind;
    QString caption;
    QString text;
    QPointer<QWidget> owner;
};

class MessageRecorder {
public:
    MessageRecorder();

    MessageAnswer Present(const MessageRequest& request);

    QList<RecordedMessage> messages;
    QList<MessageAnswer> answers;
    // Runs while the box would be open, to look at the windows as the user sees them then.
    std::function<void(const MessageRequest&)> whileShown;

    QStringList texts() const;
    // Each box whole, as "Kind Caption: text" ("Plain Quotario: ..."), to compare all at once.
    QStringList shown() const;

private:
    StandIn<MessagePresenter> standIn_;
};
