#include "frame/MessageBoxes.h"
#include "support/DataRows.h"
#include "support/TestMain.h"
#include "support/WindowTest.h"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include <cmath>
#include <optional>

// Readable in any desktop palette, light or dark, and told to a screen reader: every text the
// windows paint stands out from what it is painted on, and every control has a name of its own.
class TestAccessibility : public WindowTest {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void everyTextStandsOutInEveryPalette_data();
    void everyTextStandsOutInEveryPalette();
    void fixedBackgroundsAreTheBoxesOwn();
    void everyControlHasANameOfItsOwnAndItsHint_data();
    void everyControlHasANameOfItsOwnAndItsHint();
    void namesSayWhatTheBoxHolds_data();
    void namesSayWhatTheBoxHolds();
    void captionsLabelTheirBoxesWithoutNewAltKeys_data();
    void captionsLabelTheirBoxesWithoutNewAltKeys();
    void informationBoxButtonsSpeakItalian();

private:
    QPalette desktopPalette_;
};

namespace {

// The contrast of two colours by the Web Content Accessibility Guidelines: 1 (none) to 21.
double ContrastRatio(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& colour) {
        const auto linear = [](double c) {
            return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
               0.0722 * linear(colour.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A dark desktop as Adwaita-Dark and qt6ct's dark schemes give it.
QPalette DarkPalette() {
    QPalette dark(QColor(0x35, 0x35, 0x35));
    const QColor white(Qt::white);
    const QColor grey(0x7f, 0x7f, 0x7f);
    for (const auto& [role, colour] : {std::pair{QPalette::Window, QColor(0x35, 0x35, 0x35)},
                                       {QPalette::WindowText, white},
                                       {QPalette::Base, QColor(0x2a, 0x2a, 0x2a)},
                                       {QPalette::AlternateBase, QColor(0x42, 0x42, 0x42)},
                                       {QPalette::Text, white},
                                       {QPalette::Button, QColor(0x35, 0x35, 0x35)},
                                       {QPalette::ButtonText, white},
                                       {QPalette::ToolTipBase, QColor(0x2a, 0x2a, 0x2a)},
                                       {QPalette::ToolTipText, white},
                                       {QPalette::Highlight, QColor(0x2a, 0x82, 0xda)},
                                       {QPalette::HighlightedText, white}})
        dark.setColor(role, colour);
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(QPalette::Disabled, role, grey);
    return dark;
}

// What a widget paints behind itself: its own background when it fills it, else that of the
// nearest widget under it that does (the window at last).
QColor Behind(const QWidget* widget, QPalette::ColorGroup group) {
    const QWidget* under = widget;
    while (!under->autoFillBackground() && !under->isWindow())
        under = under->parentWidget();
    return under->palette().color(group, under->backgroundRole());
}

struct TextColours {
    QColor text;
    QColor background;
};

// The colours the style paints a widget's text (or arrow) with; none for a widget that paints
// no text of its own.
std::optional<TextColours> PaintedColours(const QWidget* widget, QPalette::ColorGroup group) {
    const QPalette& palette = widget->palette();
    if (qobject_cast<const QLineEdit*>(widget))
        return TextColours{palette.color(group, QPalette::Text),
                           palette.color(group, QPalette::Base)};
    if (qobject_cast<const QPushButton*>(widget) || qobject_cast<const QToolButton*>(widget))
        return TextColours{palette.color(group, QPalette::ButtonText),
                           palette.color(group, QPalette::Button)};
    if (qobject_cast<const QRadioButton*>(widget) || qobject_cast<const QGroupBox*>(widget))
        return TextColours{palette.color(group, QPalette::WindowText), Behind(widget, group)};
    if (qobject_cast<const QLabel*>(widget))
        return TextColours{palette.color(group, widget->foregroundRole()), Behind(widget, group)};
    return std::nullopt;
}

// The hint as it is shown: the colours of the tool-tip that the widget's hint opens.
TextColours HintColours(QWidget* widget) {
    QToolTip::showText(widget->mapToGlobal(QPoint(1, 1)), widget->toolTip(), widget);
    TextColours colours;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->inherits("QTipLabel") && top->isVisible()) {
            const QPalette& palette = top->palette();
            colours = {palette.color(top->foregroundRole()), palette.color(top->backgroundRole())};
        }
    }
    QToolTip::hideText();
    return colours;
}

QList<QWidget*> ShownControls(QWidget* window) {
    QList<QWidget*> shown;
    for (QWidget* widget : window->findChildren<QWidget*>())
        if (widget->isVisibleTo(window))
            shown.append(widget);
    return shown;
}

bool IsControl(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractButton*>(widget) ||
           widget->focusPolicy() != Qt::NoFocus;
}

QString AccessibleText(QWidget* widget, QAccessible::Text which) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(which) : QString();
}

QString Describe(const QWidget* widget) {
    return widget->window()->objectName() + "." + widget->objectName() + " (" +
           widget->metaObject()->className() + ")";
}

// The rows name the windows: the data come before the window set that each test makes.
void AddWindowRows() {
    QTest::addColumn<QString>("windowName");
    QTest::newRow("main window") << QString("Form1");
    QTest::newRow("summary window") << QString("Form2");
}

QWidget* WindowNamed(const QString& name) {
    return name == "Form1" ? static_cast<QWidget*>(Form1) : static_cast<QWidget*>(Form2);
}

} // namespace

void TestAccessibility::initTestCase() {
    desktopPalette_ = QApplication::palette();
}

void TestAccessibility::cleanup() {
    QApplication::setPalette(desktopPalette_);
    WindowTest::cleanup();
}

void TestAccessibility::everyTextStandsOutInEveryPalette_data() {
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light desktop") << desktopPalette_;
    QTest::newRow("dark desktop") << DarkPalette();
}

// Normal text needs a contrast of at least 4.5 to 1; the state that the windows are in (active
// or not) changes the palette's colour group.
void TestAccessibility::everyTextStandsOutInEveryPalette() {
    QFETCH(QPalette, palette);
    // The windows are made anew under the palette, as the desktop gives it at start: outside
    // its event loop the application passes no change of palette on to its widgets.
    QApplication::setPalette(palette);
    QVERIFY(StartWindowSet());
    QStringList faint;
    int measured = 0;
    const auto check = [&](const QString& what, const TextColours& colours) {
        ++measured;
        const double ratio = ContrastRatio(colours.text, colours.background);
        if (ratio < 4.5)
            faint.append(QStringLiteral("%1: %2 on %3, %4:1")
                             .arg(what, colours.text.name(), colours.background.name())
                             .arg(ratio, 0, 'f', 2));
    };
    for (QWidget* window : {static_cast<QWidget*>(Form1), static_cast<QWidget*>(Form2)}) {
        for (QWidget* widget : ShownControls(window)) {
            for (const auto& [group, state] :
                 {std::pair{QPalette::Active, " active"}, {QPalette::Inactive, " inactive"}})
                if (const auto colours = PaintedColours(widget, group))
                    check(Describe(widget) + state, *colours);
            if (!widget->toolTip().isEmpty())
                check(Describe(widget) + " hint", HintColours(widget));
        }
    }
    QVERIFY2(measured > 100, qPrintable(QString::number(measured)));
    QVERIFY2(faint.isEmpty(), qPrintable(faint.join('\n')));
}

// Windows' own styles paint an edit box's background from the theme unless the box's own
// palette fixes it: a box that shows a fixed colour must hold it itself, not inherit it.
void TestAccessibility::fixedBackgroundsAreTheBoxesOwn() {
    QVERIFY(StartWindowSet());
    QStringList inherited;
    int fixed = 0;
    for (QWidget* window : {static_cast<QWidget*>(Form1), static_cast<QWidget*>(Form2)}) {
        for (const QLineEdit* box : window->findChildren<QLineEdit*>()) {
            if (box->palette().color(QPalette::Base) == desktopPalette_.color(QPalette::Base))
                continue;
            ++fixed;
            if (!(box->palette().resolveMask() & (1 << QPalette::Base)))
                inherited.append(Describe(box));
        }
    }
    QVERIFY(fixed > 0);
    QVERIFY2(inherited.isEmpty(), qPrintable(inherited.join('\n')));
}

void TestAccessibility::everyControlHasANameOfItsOwnAndItsHint_data() {
    AddWindowRows();
}

// A screen reader says a control's name when it gets the focus and its description (the hint)
// on request; two controls of one window must not sound alike.
void TestAccessibility::everyControlHasANameOfItsOwnAndItsHint() {
    QFETCH(QString, windowName);
    QWidget* window = WindowNamed(windowName);
    QHash<QString, QString> owners;
    QStringList faults;
    for (QWidget* widget : ShownControls(window)) {
        if (!widget->toolTip().isEmpty() &&
            AccessibleText(widget, QAccessible::Description) != widget->toolTip())
            faults.append(Describe(widget) + " does not describe itself with its hint");
        if (!IsControl(widget))
            continue;
        const QString name = AccessibleText(widget, QAccessible::Name);
        if (name.isEmpty())
            faults.append(Describe(widget) + " has no name");
        else if (owners.contains(name))
            faults.append(Describe(widget) + " sounds like " + owners[name] + ": " + name);
        else
            owners.insert(name, Describe(widget));
    }
    QVERIFY2(owners.size() > 10, qPrintable(QStringList(owners.keys()).join('\n')));
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
}

void TestAccessibility::namesSayWhatTheBoxHolds_data() {
    QTest::addColumn<QString>("windowName");
    QTest::addColumn<QString>("path"); // the control's name, under its parent's name if any
    QTest::addColumn<QString>("name");
    AddRow("main residence income", QString("Form1"), QString("REND1"),
           QString("Rendita catastale, abitazione principale"));
    AddRow("other buildings income", QString("Form1"), QString("Edit1"),
           QString("Rendita catastale, altri fabbricati"));
    AddRow("payer", QString("Form1"), QString("EdNome"),
           QString("Cognome e nome, comune del domicilio fiscale, via e numero civico"));
    AddRow("vertical correction", QString("Form2"), QString("Edit1"),
           QString("Correzione verticale"));
    AddRow("its upper arrow", QString("Form2"), QString("UpDown1/up"),
           QString("Correzione verticale, aumenta"));
    AddRow("horizontal lower arrow", QString("Form2"), QString("UpDown2/down"),
           QString("Correzione orizzontale, diminuisci"));
}

void TestAccessibility::namesSayWhatTheBoxHolds() {
    QFETCH(QString, windowName);
    QFETCH(QString, path);
    QFETCH(QString, name);
    QWidget* control = WindowNamed(windowName);
    for (const QString& step : path.split('/')) {
        control = control->findChild<QWidget*>(step);
        QVERIFY2(control, qPrintable(step));
    }
    QCOMPARE(AccessibleText(control, QAccessible::Name), name);
}

void TestAccessibility::captionsLabelTheirBoxesWithoutNewAltKeys_data() {
    AddWindowRows();
}

// The caption is what a screen reader reads as the box's label. A caption's "&" would give its
// box an Alt key the windows were not designed with.
void TestAccessibility::captionsLabelTheirBoxesWithoutNewAltKeys() {
    QFETCH(QString, windowName);
    QWidget* window = WindowNamed(windowName);
    int tied = 0;
    for (QLabel* caption : window->findChildren<QLabel*>()) {
        if (!caption->buddy())
            continue;
        ++tied;
        QVERIFY2(!caption->text().contains('&'), qPrintable(caption->objectName()));
        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(caption->buddy());
        QList<QAccessibleInterface*> labels;
        for (const auto& [label, relation] : box->relations(QAccessible::Label))
            labels.append(label);
        QVERIFY2(labels.contains(QAccessible::queryAccessibleInterface(caption)),
                 qPrintable(caption->objectName()));
    }
    QVERIFY(tied > 10);
}

void TestAccessibility::informationBoxButtonsSpeakItalian() {
    SeenBox seen;
    QStringList names;
    AnswerNextMessageBox(&seen, "&No", [&names](QMessageBox* box) {
        for (QAbstractButton* button : box->buttons())
            names.append(AccessibleText(button, QAccessible::Name));
    });
    MessageInformationYesNo("?");
    QVERIFY(seen.seen);
    QCOMPARE(seen.buttons, QStringList({"&Yes", "&No"}));
    QCOMPARE(names, QStringList({QString::fromUtf8("Sì"), "No"}));
}

QUOTARIO_GUI_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
