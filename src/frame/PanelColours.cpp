#include "frame/PanelColours.h"

#include <QLineEdit>
#include <QPalette>

void HandPanelColoursToBoxes(QWidget* panel) {
    const QPalette& colours = panel->palette();
    for (QLineEdit* box : panel->findChildren<QLineEdit*>()) {
        // Only these two roles become the box's own; the others still follow the desktop.
        QPalette own = box->palette();
        for (const QPalette::ColorGroup group :
             {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            for (const QPalette::ColorRole role : {QPalette::Base, QPalette::Text})
                own.setColor(group, role, colours.color(group, role));
        box->setPalette(own);
    }
}
