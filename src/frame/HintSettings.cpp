#include "frame/HintSettings.h"

#include <QApplication>
#include <QPalette>
#include <QProxyStyle>
#include <QStyle>
#include <QToolTip>

namespace {

class HintDelayStyle : public QProxyStyle {
public:
    HintDelayStyle(const QString& baseStyle, int delayMs)
        : QProxyStyle(baseStyle), delayMs_(delayMs) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ToolTip_WakeUpDelay)
            return delayMs_;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    int delayMs_;
};

} // namespace

void SetProgramHints(const QColor& background, int delayMs) {
    QPalette palette = QToolTip::palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::ToolTipBase, background);
        palette.setColor(group, QPalette::ToolTipText, Qt::black);
    }
    QToolTip::setPalette(palette);
    // The proxy is built on a fresh copy of the current style: the application deletes the
    // style it replaces.
    QApplication::setStyle(new HintDelayStyle(QApplication::style()->name(), delayMs));
}
