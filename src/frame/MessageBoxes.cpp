#include "frame/MessageBoxes.h"

#include "base/AppInfo.h"
#include "base/Seam.h"

#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>

namespace {

// Qt places a box by a guess at the window manager's frame, which leaves it above the centre.
// Like the windows, a box puts its own area exactly at the centre: of its owner, or else of
// the screen.
class CentredMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override {
        // The box takes its final size here.
        QMessageBox::showEvent(event);
        const QWidget* owner = parentWidget();
        const QScreen* screen = this->screen();
        if (owner && owner->isVisible())
            move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), owner->geometry())
                     .topLeft());
        else if (screen)
            move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                     screen->availableGeometry())
                     .topLeft());
    }
};

MessageAnswer PresentInMessageBox(const MessageRequest& request) {
    CentredMessageBox box(request.owner);
    box.setWindowTitle(request.caption);
    box.setTextFormat(Qt::PlainText);
    box.setText(DisplayText(request.text));
    QPushButton* no = nullptr;
    QPushButton* cancel = nullptr;
    switch (request.kind) {
    case MessageKind::Plain:
    case MessageKind::Error:
        box.setIcon(QMessageBox::NoIcon);
        box.setDefaultButton(box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole));
        break;
    case MessageKind::Warning:
        box.setIcon(QMessageBox::Warning);
        box.setDefaultButton(box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole));
        break;
    case MessageKind::Information: {
        box.setIcon(QMessageBox::Information);
        QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
        // The buttons read as designed, in English; a screen reader says them in Italian.
        yes->setAccessibleName(QString::fromUtf8("Sì"));
        box.setDefaultButton(yes);
        no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
        box.setEscapeButton(no);
        break;
    }
    case MessageKind::Question:
    case MessageKind::SaveQuestion:
        box.setIcon(QMessageBox::Question);
        box.setDefaultButton(box.addButton(QString::fromUtf8("&Sì"), QMessageBox::YesRole));
        no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
        box.setEscapeButton(no);
        if (request.kind == MessageKind::SaveQuestion) {
            cancel = box.addButton(QStringLiteral("Annulla"), QMessageBox::RejectRole);
            box.setEscapeButton(cancel);
        }
        break;
    }
    box.exec();
    if (!no)
        return MessageAnswer::Ok;
    if (cancel && box.clickedButton() == cancel)
        return MessageAnswer::Cancel;
    return box.clickedButton() == no ? MessageAnswer::No : MessageAnswer::Yes;
}

Seam<MessagePresenter>& Presenter() {
    static Seam<MessagePresenter> seam(PresentInMessageBox);
    return seam;
}

MessageAnswer Present(MessageKind kind, const QString& caption, const QString& text,
                      QWidget* owner = nullptr) {
    return Presenter().Current()({kind, caption, text, owner});
}

} // namespace

MessagePresenter SetMessagePresenter(MessagePresenter replacement) {
    return Presenter().Replace(std::move(replacement));
}

void ShowMessage(const QString& text) {
    Present(MessageKind::Plain, QString::fromUtf8(ApplicationTitle), text);
}

void MessageWarning(const QString& text) {
    Present(MessageKind::Warning, QStringLiteral("Warning"), text);
}

bool MessageInformationYesNo(const QString& text) {
    return Present(MessageKind::Information, QStringLiteral("Information"), text) ==
           MessageAnswer::Yes;
}

bool MessageQuestionYesNo(const QString& text) {
    return Present(MessageKind::Question, QString::fromUtf8(ApplicationTitle), text) ==
           MessageAnswer::Yes;
}

MessageAnswer MessageSaveChanges(const QString& text) {
    return Present(MessageKind::SaveQuestion, QString::fromUtf8(ApplicationTitle), text);
}

void ShowErrorBox(QWidget* owner, const QString& text) {
    Present(MessageKind::Error, QString::fromUtf8(ApplicationTitle), text, owner);
}

QString DisplayText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}
