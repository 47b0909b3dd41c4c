#pragma once
// An up-down spinner bound to an edit box: each arrow writes the box's number plus or minus
// the step, kept between the lowest and the highest value, with no wrap-around. The number is
// read from the box's text at every step, so a text set by the program counts at once; a text
// that is no whole number (the settings file may leave "default value" there) counts as the
// start value. While the box has the focus, its up and down arrow keys step it as well.
#include <QWidget>

class QLineEdit;
class QToolButton;

class TUpDown : public QWidget {
    Q_OBJECT
public:
    explicit TUpDown(QWidget* parent = nullptr);

    void SetRange(int min, int max);
    void SetIncrement(int increment) { increment_ = increment; }
    void SetStartValue(int value) { startValue_ = value; }
    // The box the spinner writes into; it also takes the box's arrow keys, and its accessible
    // name, set before, names the arrows.
    void SetAssociate(QLineEdit* associate);
    QLineEdit* Associate() const { return associate_; }

    // One click on the upper (+1) or lower (-1) arrow.
    void Step(int direction);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int CurrentValue() const;

    QToolButton* up_;
    QToolButton* down_;
    QLineEdit* associate_ = nullptr;
    int min_ = 0;
    int max_ = 100;
    int increment_ = 1;
    int startValue_ = 0;
};
