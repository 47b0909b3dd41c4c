#pragma once
// Every kind of message box the program shows goes through here. Texts keep the carriage
// returns that separate their lines; only the display turns them into line breaks. Tests put
// a recorder in place of the presenter and script its answers.
#include <QString>

#include <functional>

class QWidget;

enum class MessageKind {
    Plain,       // captioned with the application title, no icon, one "OK"
    Warning,     // caption "Warning", exclamation icon, one "OK"
    Information, // caption "Information", information icon, "&Yes" (default) and "&No" (Escape)
    Error,       // the error handler's box: like the plain box, owned by the main window
    Question,    // captioned with the application title, question icon, "&Sì" (default) and
                 // "&No" (Escape)
    SaveQuestion // like Question, with a third button "Annulla" (Escape)
};

enum class MessageAnswer { Ok, Yes, No, Cancel };

struct MessageRequest {
    MessageKind kind = MessageKind::Plain;
    QString caption;
    QString text;             // lines joined by CR (or CR LF) as the program writes them
    QWidget* owner = nullptr; // the window the box belongs to; none centres it on the screen
};

// Shows the box and returns the user's answer.
using MessagePresenter = std::function<MessageAnswer(const MessageRequest& request)>;

// Installs a presenter in place of the real boxes and returns the one it replaces; an empty one
// puts the real boxes back.
MessagePresenter SetMessagePresenter(MessagePresenter presenter);

void ShowMessage(const QString& text);
void MessageWarning(const QString& text);
// True when the user answers "&Yes".
bool MessageInformationYesNo(const QString& text);
// The program's own question, in Italian; true when the user answers "&Sì".
bool MessageQuestionYesNo(const QString& text);
// The question before changes are lost: "&Sì", "&No" or "Annulla".
MessageAnswer MessageSaveChanges(const QString& text);
void ShowErrorBox(QWidget* owner, const QString& text);

// The text as the box shows it: every CR LF or lone CR becomes a line break.
QString DisplayText(const QString& text);
