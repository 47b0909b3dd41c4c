#include "frame/UpDown.h"

#include "base/NumText.h"
#include "frame/HandlerGuard.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

namespace {

QToolButton* ArrowButton(QWidget* parent, Qt::ArrowType arrow) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TUpDown::TUpDown(QWidget* parent)
    : QWidget(parent), up_(ArrowButton(this, Qt::UpArrow)),
      down_(ArrowButton(this, Qt::DownArrow)) {
    up_->setObjectName(QStringLiteral("up"));
    down_->setObjectName(QStringLiteral("down"));
    ConnectGuarded(
        up_, &QToolButton::clicked, this, [](TUpDown* s) { s->Step(+1); });
    ConnectGuarded(down_, &QToolButton::clicked, this, [](TUpDown* s) { s->Step(-1); });
}

void TUpDown::SetRange(int min, int max) {
    min_ = min;
    max_ = max;
}

void TUpDown::SetAssociate(QLineEdit* associate) {
    if (associate_)
        associate_->removeEventFilter(this);
    associate_ = associate;
    if (!associate_)
        return;
    associate_->installEventFilter(this);
    // A screen reader names each arrow after the box it steps.
    const QString boxName = associate_->accessibleName();
    up_->setAccessibleName(boxName + QStringLiteral(", aumenta"));
    down_->setAccessibleName(boxName + QStringLiteral(", diminuisci"));
}

int TUpDown::CurrentValue() const {
    int value = startValue_;
    try {
        value = StrToInt(associate_->text().toStdString());
    } catch (const EConvertError&) {
        // Not a number the spinner can step from: it starts again from its start value.
    }
    return std::clamp(value, min_, max_);
}

void TUpDown::Step(int direction) {
    if (!associate_)
        return;
    const long long next =
        static_cast<long long>(CurrentValue()) + static_cast<long long>(direction) * increment_;
    const int value = static_cast<int>(std::clamp<long long>(next, min_, max_));
    associate_->setText(QString::number(value));
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == associate_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Guarded(this, [this, key] { Step(key == Qt::Key_Up ? +1 : -1); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TUpDown::resizeEvent(QResizeEvent* /*event*/) {
    const int upper = height() / 2;
    up_->setGeometry(0, 0, width(), upper);
    down_->setGeometry(0, upper, width(), height() - upper);
}
