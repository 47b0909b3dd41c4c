#include "windows/Unit1.h"
#include "ui_Unit1.h"

#include "base/AppInfo.h"
#include "frame/BoxTexts.h"
#include "frame/EnterKey.h"
#include "frame/HandlerGuard.h"
#include "frame/MessageBoxes.h"
#include "frame/PanelColours.h"
#include "frame/ProgramFocus.h"
#include "frame/WindowActivation.h"
#include "rules/ResultTexts.h"
#include "rules/SlipDataCheck.h"
#include "rules/TaxComputation.h"
#include "windows/ProgramEnd.h"
#include "windows/Unit2.h"

#include <QCloseEvent>
#include <QDate>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QValidator>

#include <algorithm>

TForm1* Form1 = nullptr;

namespace {

constexpr const char* DigitsMessage = "Accetto solo valori numerici !!";
constexpr const char* DigitsAndCommaMessage = "Accetto la virgola e valori numerici !!";

constexpr const char* AppExceptionMessage = "ERRORE.........\r"
                                            " Nei campi di scrittura di questa colonna\r"
                                            "COLORE GIALLO.\r"
                                            " Sono ammessi solamente valori numerici e\r"
                                            " non possono essere lasciati vuoti !!!";

// Digits, backspace (8) and carriage return (13) pass every typing rule.
bool IsDigitKey(QChar key) {
    const char16_t c = key.unicode();
    return (c >= u'0' && c <= u'9') || c == 8 || c == 13;
}

bool IsDigitOrCommaKey(QChar key) {
    return IsDigitKey(key) || key == QLatin1Char(',');
}

// A box's typing rule: the characters it takes, and what it says of any other.
struct TypingRule {
    bool (*passes)(QChar key);
    const char* message;
};
const TypingRule DigitsRule{IsDigitKey, DigitsMessage};
const TypingRule DigitsAndCommaRule{IsDigitOrCommaKey, DigitsAndCommaMessage};

void ApplyRule(const TypingRule& rule, QChar& key) {
    if (rule.passes(key))
        return;
    key = QChar();
    ShowMessage(QString::fromUtf8(rule.message));
}

// Tab and Backtab move the focus, and Delete (U+007F under X11) edits the text: none of them
// is a typed character.
bool IsTypedCharacter(const QKeyEvent* key) {
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        return false;
    const QString text = key->text();
    return !text.isEmpty() && text != QString(QChar(0x7F));
}

// The tax code is written in capitals, however it is typed.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& /*pos*/) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

// Text that reaches a box other than by typing (pasted, dropped) passes the box's typing rule
// character by character: one character the rule does not take refuses the whole text, and the
// box keeps what it held. Only the user's own edits are judged, and only of a text that passed:
// a text the program sets is its own.
class TypingRuleValidator final : public QValidator {
public:
    TypingRuleValidator(QLineEdit* box, const TypingRule& rule) : QValidator(box), rule_(rule) {
        connect(
            box, &QLineEdit::inputRejected, this,
            [this] {
                // Also sent for a character beyond the box's longest text, which says nothing.
                if (!refused_)
                    return;
                refused_ = false;
                // Once the box has its text back.
                QTimer::singleShot(
                    0, this,
                    [this] {
                        Guarded(
                            parent(), [this] { ShowMessage(QString::fromUtf8(rule_.message)); });
                    });
            });
    }

    State validate(QString& input, int& /*pos*/) const override {
        const bool passes = std::all_of(input.cbegin(), input.cend(), rule_.passes);
        // Setting a text clears the box's undo history; an edit of the user adds to it.
        const bool usersEdit = static_cast<const QLineEdit*>(parent())->isUndoAvailable();
        refused_ = !passes && passedBefore_ && usersEdit;
        passedBefore_ = passes || refused_;
        return refused_ ? Invalid : Acceptable;
    }

private:
    TypingRule rule_;
    mutable bool refused_ = false;
    mutable bool passedBefore_ = true;
};

} // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TForm1>()) {
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Quotario   Programma Freeware      ") +
                   QString::fromUtf8(AuthorWebAddress));
    setFixedSize(582, 412);
    if (const QScreen* screen = this->screen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    ui->EdCodFisc->setValidator(new UpperCaseValidator(ui->EdCodFisc));
    for (QWidget* column : {ui->Panel1, ui->Panel2})
        HandPanelColoursToBoxes(column);

    keyPressHandlers_ = {
        {ui->REND1, &TForm1::REND1KeyPress}, {ui->RIVAL1, &TForm1::RIVAL1KeyPress},
        {ui->ALIQ1, &TForm1::ALIQ1KeyPress}, {ui->DETR1, &TForm1::DETR1KeyPress},
        {ui->PERC1, &TForm1::PERC1KeyPress}, {ui->MESI1, &TForm1::MESI1KeyPress},
        {ui->Edit1, &TForm1::Edit1KeyPress}, {ui->Edit2, &TForm1::Edit2KeyPress},
        {ui->Edit3, &TForm1::Edit3KeyPress}, {ui->Edit5, &TForm1::Edit5KeyPress},
        {ui->Edit6, &TForm1::Edit6KeyPress}, {ui->EdCCNR, &TForm1::EdCCNRKeyPress},
    };
    clickHandlers_ = {
        {ui->EdAcc, &TForm1::EdAccClick},
        {ui->Label21, &TForm1::Label21Click},
        {ui->Label29, &TForm1::Label29Click},
        {ui->EdSaldo, &TForm1::EdSaldoClick},
    };
    for (QObject* box : keyPressHandlers_.keys())
        box->installEventFilter(this);
    const std::pair<QLineEdit*, const TypingRule*> rules[] = {
        {ui->REND1, &DigitsAndCommaRule}, {ui->RIVAL1, &DigitsAndCommaRule},
        {ui->ALIQ1, &DigitsAndCommaRule}, {ui->DETR1, &DigitsAndCommaRule},
        {ui->PERC1, &DigitsRule},         {ui->MESI1, &DigitsRule},
        {ui->Edit1, &DigitsAndCommaRule}, {ui->Edit2, &DigitsAndCommaRule},
        {ui->Edit3, &DigitsAndCommaRule}, {ui->Edit5, &DigitsRule},
        {ui->Edit6, &DigitsRule},         {ui->EdCCNR, &DigitsRule},
    };
    for (const auto& [box, rule] : rules)
        box->setValidator(new TypingRuleValidator(box, *rule));
    // Each yellow box's start and reset texts, which a click selects whole.
    // (The form starts the other buildings' income at "00", the resets at "00,00".)
    const TaxEntryTexts& start = StartEntryTexts;
    startTexts_ = {
        {ui->REND1, {QText(start.mainResidence.income)}},
        {ui->RIVAL1, {QText(start.mainResidence.revaluationPercent)}},
        {ui->ALIQ1, {QText(start.mainResidence.ratePerThousand)}},
        {ui->DETR1, {QText(start.deduction)}},
        {ui->PERC1, {QText(start.mainResidence.sharePercent)}},
        {ui->MESI1, {QText(start.mainResidence.months)}},
        {ui->Edit1, {QStringLiteral("00"), QText(start.otherBuildings.income)}},
        {ui->Edit2, {QText(start.otherBuildings.revaluationPercent)}},
        {ui->Edit3, {QText(start.otherBuildings.ratePerThousand)}},
        {ui->Edit5, {QText(start.otherBuildings.sharePercent)}},
        {ui->Edit6, {QText(start.otherBuildings.months)}},
    };
    for (QObject* control : clickHandlers_.keys())
        control->installEventFilter(this);

    ConnectGuarded(ui->ResetBtn, &QPushButton::clicked, this, &TForm1::ResetBtnClick);
    ConnectGuarded(ui->ResetGenBtn, &QPushButton::clicked, this, &TForm1::ResetGenBtnClick);
    ConnectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    ConnectGuarded(ui->ChiudiBtn, &QPushButton::clicked, this, &TForm1::ChiudiBtnClick);
    ConnectGuarded(ui->CalcolaBtn, &QPushButton::clicked, this, &TForm1::CalcolaBtnClick);
    ConnectGuarded(ui->InfoBtn, &QPushButton::clicked, this, &TForm1::InfoBtnClick);
    WatchActivation(this, [this] { FormActivate(); });
    PressButtonsOnEnter(this);

    FormCreate();
}

TForm1::~TForm1() {
    if (Form1 == this)
        SetProgramErrorHandler({});
}

void TForm1::FormCreate() {
    SetProgramErrorHandler(
        [this](QObject* sender, std::exception_ptr error) { AppException(sender, error); });
    ui->EdAnno->setText(
        QStringLiteral("%1").arg(QDate::currentDate().year() % 100, 2, 10, QLatin1Char('0')));
    ui->EdAcc->setText(QStringLiteral("X"));
    ui->EdSaldo->clear();
    // The form file cannot hold a text of one space: the first account-holder line starts
    // with it here.
    ui->EdIntest1->setText(QStringLiteral(" "));
    ui->LabIci->setText(QStringLiteral("00"));
}

void TForm1::FormActivate() {
    GiveFocus(ui->EdCCNR);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const KeyPressHandler handler = keyPressHandlers_.value(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (handler && IsTypedCharacter(key))
            return FilterTypedText(watched, handler, key->text());
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const ClickHandler handler = clickHandlers_.value(watched);
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // A click into a start text selects it, so that what is typed replaces it instead of
        // being added to it ("00,00750").
        if (mouse->button() == Qt::LeftButton && startTexts_.contains(watched)) {
            auto* box = static_cast<QLineEdit*>(watched);
            if (startTexts_.value(watched).contains(box->text()))
                box->selectAll();
        }
        const auto* control = qobject_cast<QWidget*>(watched);
        if (handler && mouse->button() == Qt::LeftButton &&
            control->rect().contains(mouse->position().toPoint()))
            Guarded(watched, [this, handler] { (this->*handler)(); });
    }
    return QWidget::eventFilter(watched, event);
}

// Returns true when the text is discarded: a single rejected character rejects it all.
bool TForm1::FilterTypedText(QObject* box, KeyPressHandler handler, const QString& typed) {
    bool passes = false;
    Guarded(box, [&] {
        for (const QChar character : typed) {
            QChar key = character;
            (this->*handler)(key);
            if (key.isNull())
                return;
        }
        passes = true;
    });
    return !passes;
}

void TForm1::REND1KeyPress(QChar& key) {
    ApplyRule(DigitsAndCommaRule, key);
}
void TForm1::RIVAL1KeyPress(QChar& key) {
    ApplyRule(DigitsAndCommaRule, key);
}
void TForm1::ALIQ1KeyPress(QChar& key) {
    ApplyRule(DigitsAndCommaRule, key);
}
void TForm1::DETR1KeyPress(QChar& key) {
    ApplyRule(DigitsAndCommaRule, key);
}
void TForm1::PERC1KeyPress(QChar& key) {
    ApplyRule(DigitsRule, key);
}
void TForm1::MESI1KeyPress(QChar& key) {
    ApplyRule(DigitsRule, key);
}
void TForm1::Edit1KeyPress(QChar& key) {
    ApplyRule(DigitsAndCommaRule, key);
}
void TForm1::Edit2KeyPress(QChar& key) {
    ApplyRule(DigitsAndCommaRule, key);
}
void TForm1::Edit3KeyPress(QChar& key) {
    ApplyRule(DigitsAndCommaRule, key);
}
void TForm1::Edit5KeyPress(QChar& key) {
    ApplyRule(DigitsRule, key);
}
void TForm1::Edit6KeyPress(QChar& key) {
    ApplyRule(DigitsRule, key);
}
void TForm1::EdCCNRKeyPress(QChar& key) {
    ApplyRule(DigitsRule, key);
}

// Exactly one of the two boxes holds the mark after any click; a text typed into EdAcc that
// is not exactly "X" counts as no mark.
void TForm1::SwapMarks() {
    const QString mark = QStringLiteral("X");
    ui->EdAcc->setText(ui->EdAcc->text() == mark ? QString() : mark);
    ui->EdSaldo->setText(ui->EdAcc->text() == mark ? QString() : mark);
}

void TForm1::EdAccClick() {
    SwapMarks();
}
void TForm1::Label21Click() {
    SwapMarks();
}
void TForm1::Label29Click() {
    SwapMarks();
}
void TForm1::EdSaldoClick() {
    SwapMarks();
}

void TForm1::ResetYellowFields() {
    ShowResetTexts(YellowFieldsReset);
    ui->StatusBar2->clear();
    computedEntries_.reset();
}

void TForm1::ShowResetTexts(const ResetTexts& reset) {
    const TaxEntryTexts& entries = reset.entries;
    ui->REND1->setText(QText(entries.mainResidence.income));
    ui->RIVAL1->setText(QText(entries.mainResidence.revaluationPercent));
    ui->ALIQ1->setText(QText(entries.mainResidence.ratePerThousand));
    ui->DETR1->setText(QText(entries.deduction));
    ui->PERC1->setText(QText(entries.mainResidence.sharePercent));
    ui->MESI1->setText(QText(entries.mainResidence.months));
    ui->TOT1->setText(QText(reset.mainResidenceResult));
    ui->Edit1->setText(QText(entries.otherBuildings.income));
    ui->Edit2->setText(QText(entries.otherBuildings.revaluationPercent));
    ui->Edit3->setText(QText(entries.otherBuildings.ratePerThousand));
    ui->Edit5->setText(QText(entries.otherBuildings.sharePercent));
    ui->Edit6->setText(QText(entries.otherBuildings.months));
    ui->TOT2->setText(QText(reset.otherBuildingsResult));
    if (reset.totalEuros)
        ui->LabIci->setText(QText(*reset.totalEuros));
}

void TForm1::ResetBtnClick() {
    ResetYellowFields();
    GiveFocus(ui->REND1);
}

void TForm1::ResetGenBtnClick() {
    ResetYellowFields();
    for (QLineEdit* box :
         {ui->EdCCNR, ui->EdIntest1, ui->EdIntest2, ui->EdNome, ui->EdComun, ui->EdCodFisc})
        box->clear();
    ui->EdNum->setText(QStringLiteral("00"));
    ui->EdAnno->clear();
    ui->EdAcc->setText(QStringLiteral("X"));
    ui->EdSaldo->clear();
    GiveFocus(ui->EdCCNR);
}

void TForm1::Button1Click() {
    Form2->show();
    hide();
}

void TForm1::ChiudiBtnClick() {
    close();
}

void TForm1::closeEvent(QCloseEvent* event) {
    bool ends = true;
    Guarded(this, [&ends] { ends = PrepareProgramEnd(); });
    event->setAccepted(ends);
}

void TForm1::InfoBtnClick() {
    if (informationBox_)
        informationBox_();
}

void TForm1::SetInformationBox(std::function<void()> show) {
    informationBox_ = std::move(show);
}

void TForm1::CalcolaBtnClick() {
    const SlipDataFault fault = FirstSlipDataFault(
        {StdText(ui->EdCCNR), StdText(ui->EdIntest1), StdText(ui->EdIntest2), StdText(ui->EdNome),
         StdText(ui->EdComun), StdText(ui->EdCodFisc), StdText(ui->EdNum), StdText(ui->EdAnno)});
    if (fault.field != SlipDataField::None) {
        ShowMessage(QText(fault.message));
        const QHash<SlipDataField, QLineEdit*> boxes = {
            {SlipDataField::AccountNumber, ui->EdCCNR},
            {SlipDataField::HolderLine1, ui->EdIntest1},
            {SlipDataField::HolderLine2, ui->EdIntest2},
            {SlipDataField::Payer, ui->EdNome},
            {SlipDataField::Municipality, ui->EdComun},
            {SlipDataField::TaxCode, ui->EdCodFisc},
            {SlipDataField::BuildingCount, ui->EdNum},
            {SlipDataField::TaxYear, ui->EdAnno},
        };
        GiveFocus(boxes.value(fault.field));
        return;
    }

    // From here on the amounts shown belong to no entries until this press completes.
    computedEntries_.reset();
    const TaxEntryTexts texts = CurrentEntryTexts();
    // A text that is not a number ends the press here, on its way to AppException.
    const TaxEntries entries = ConvertEntries(texts);

    const RangeFault range = CheckRanges(entries);
    if (range != RangeFault::None) {
        MessageWarning(QText(RangeFaultMessage(range)));
        QLineEdit* box = range == RangeFault::Percentage ? ui->PERC1 : ui->MESI1;
        box->setText(QText(range == RangeFault::Percentage
                               ? StartEntryTexts.mainResidence.sharePercent
                               : StartEntryTexts.mainResidence.months));
        ui->TOT1->clear();
        GiveFocus(box);
        return;
    }

    const Instalment instalment = ComputeInstalment(entries);
    const ResultTexts results = ComputeResultTexts(instalment);
    ui->TOT1->setText(QText(results.mainResidence));
    ui->TOT2->setText(QText(results.otherBuildings));
    ui->LabIciTot->setText(QText(results.total));
    ui->LabIci->setText(QText(results.totalEuros));
    ui->LabCent->setText(QText(results.totalCents));
    ui->LabLett->setText(QText(results.totalInWords));
    QFont statusFont = ui->StatusBar2->font();
    statusFont.setPointSize(10);
    statusFont.setBold(true);
    ui->StatusBar2->setFont(statusFont);
    ui->StatusBar2->setText(QText(results.statusLine));

    if (IsZeroOrNegative(instalment)) {
        MessageWarning(QString::fromUtf8(ZeroOrNegativeMessage));
        ResetYellowFields();
        GiveFocus(ui->REND1);
        return;
    }
    computedEntries_ = texts;
}

TaxEntryTexts TForm1::CurrentEntryTexts() const {
    return {.mainResidence = {.income = StdText(ui->REND1),
                              .revaluationPercent = StdText(ui->RIVAL1),
                              .ratePerThousand = StdText(ui->ALIQ1),
                              .sharePercent = StdText(ui->PERC1),
                              .months = StdText(ui->MESI1)},
            .deduction = StdText(ui->DETR1),
            .otherBuildings = {.income = StdText(ui->Edit1),
                               .revaluationPercent = StdText(ui->Edit2),
                               .ratePerThousand = StdText(ui->Edit3),
                               .sharePercent = StdText(ui->Edit5),
                               .months = StdText(ui->Edit6)}};
}

bool TForm1::AmountsMatchEntries() const {
    return computedEntries_ && *computedEntries_ == CurrentEntryTexts();
}

void TForm1::AppException(QObject* /*sender*/, std::exception_ptr /*error*/) {
    computedEntries_.reset();
    ShowErrorBox(this, QString::fromUtf8(AppExceptionMessage));
    ShowResetTexts(ErrorHandlerReset);
    ui->StatusBar2->clear();
}
