#include "windows/Unit1.h"
#include "ui_Unit1.h"

#include "base/AppInfo.h"
#include "frame/BoxTexts.h"
#include "frame/ButtonMenu.h"
#include "frame/DataFileDialog.h"
#include "frame/EnterKey.h"
#include "frame/HandlerGuard.h"
#include "frame/MessageBoxes.h"
#include "frame/PanelColours.h"
#include "frame/ProgramFocus.h"
#include "frame/WindowActivation.h"
#include "rules/EntryBoxes.h"
#include "rules/ResultTexts.h"
#include "rules/SlipDataCheck.h"
#include "rules/TaxCode.h"
#include "rules/TaxComputation.h"
#include "windows/ProgramEnd.h"
#include "windows/Unit2.h"

#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QValidator>

#include <algorithm>

TForm1* Form1 = nullptr;

namespace {

constexpr const char* AppExceptionMessage = "ERRORE.........\r"
                                            " Nei campi di scrittura di questa colonna\r"
                                            "COLORE GIALLO.\r"
                                            " Sono ammessi solamente valori numerici e\r"
                                            " non possono essere lasciati vuoti !!!";

void ApplyRule(TypingRule rule, QChar& key) {
    if (TypedCharacterPasses(rule, key.unicode()))
        return;
    key = QChar();
    ShowMessage(QText(TypingRuleMessage(rule)));
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
    TypingRuleValidator(QLineEdit* box, TypingRule rule) : QValidator(box), rule_(rule) {
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
                            parent(), [this] { ShowMessage(QText(TypingRuleMessage(rule_))); });
                    });
            });
    }

    State validate(QString& input, int& /*pos*/) const override {
        const bool passes = std::all_of(input.cbegin(), input.cend(), [this](QChar c) {
            return TypedCharacterPasses(rule_, c.unicode());
        });
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

QString DesignedTitle() {
    return QStringLiteral(" Quotario   Programma Freeware      ") +
           QString::fromUtf8(AuthorWebAddress);
}

// Asked before the texts go, at the end of the program or for another data file.
QString SaveChangesMessage(const QString& file) {
    return QStringLiteral("I dati sono cambiati dopo l'ultimo salvataggio nel file\r") +
           QDir::toNativeSeparators(file) + QStringLiteral("\rSalvare le modifiche?");
}

// The local file a drag carries, when it carries exactly one.
QString DraggedFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1 ||
        !data->urls().front().isLocalFile())
        return {};
    return data->urls().front().toLocalFile();
}

} // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TForm1>()) {
    ui->setupUi(this);
    ShowTitle();
    setFixedSize(582, 412);
    if (const QScreen* screen = this->screen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    for (QWidget* column : {ui->Panel1, ui->Panel2})
        HandPanelColoursToBoxes(column);

    for (const EntryBoxRow& row : EntryBoxTable) {
        QLineEdit* box = findChild<QLineEdit*>(QString::fromLatin1(row.name));
        boxes_[static_cast<std::size_t>(row.box)] = box;
        box->setMaxLength(row.maxLength);
        // Also for the drop of a data file.
        box->installEventFilter(this);
        box->setText(QText(row.startText));
        if (row.rule == TypingRule::Capitals)
            box->setValidator(new UpperCaseValidator(box));
        if (row.rule == TypingRule::Digits || row.rule == TypingRule::DigitsAndComma)
            box->setValidator(new TypingRuleValidator(box, row.rule));
        // Each yellow box's start and reset texts, which a click selects whole.
        if (IsYellow(row.box)) {
            QStringList texts = {QText(row.startText), QText(row.clearedText)};
            texts.removeDuplicates();
            startTexts_.insert(box, texts);
        }
    }
    const std::pair<EntryBoxId, KeyPressHandler> keyPressHandlers[] = {
        {EntryBoxId::REND1, &TForm1::REND1KeyPress}, {EntryBoxId::RIVAL1, &TForm1::RIVAL1KeyPress},
        {EntryBoxId::ALIQ1, &TForm1::ALIQ1KeyPress}, {EntryBoxId::DETR1, &TForm1::DETR1KeyPress},
        {EntryBoxId::PERC1, &TForm1::PERC1KeyPress}, {EntryBoxId::MESI1, &TForm1::MESI1KeyPress},
        {EntryBoxId::Edit1, &TForm1::Edit1KeyPress}, {EntryBoxId::Edit2, &TForm1::Edit2KeyPress},
        {EntryBoxId::Edit3, &TForm1::Edit3KeyPress}, {EntryBoxId::Edit5, &TForm1::Edit5KeyPress},
        {EntryBoxId::Edit6, &TForm1::Edit6KeyPress}, {EntryBoxId::EdCCNR, &TForm1::EdCCNRKeyPress},
    };
    for (const auto& [box, handler] : keyPressHandlers)
        keyPressHandlers_.insert(Box(box), handler);
    clickHandlers_ = {
        {ui->EdAcc, &TForm1::EdAccClick},
        {ui->Label21, &TForm1::Label21Click},
        {ui->Label29, &TForm1::Label29Click},
        {ui->EdSaldo, &TForm1::EdSaldoClick},
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
    CreateDatiMenu();
    setAcceptDrops(true);

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
    ui->LabIci->setText(QStringLiteral("00"));
}

void TForm1::FormActivate() {
    GiveFocus(ui->EdCCNR);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
        event->type() == QEvent::Drop) {
        if (TakeDrop(event))
            return true;
    } else if (event->type() == QEvent::KeyPress) {
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
    ApplyRule(RowOf(EntryBoxId::REND1).rule, key);
}
void TForm1::RIVAL1KeyPress(QChar& key) {
    ApplyRule(RowOf(EntryBoxId::RIVAL1).rule, key);
}
void TForm1::ALIQ1KeyPress(QChar& key) {
    ApplyRule(RowOf(EntryBoxId::ALIQ1).rule, key);
}
void TForm1::DETR1KeyPress(QChar& key) {
    ApplyRule(RowOf(EntryBoxId::DETR1).rule, key);
}
void TForm1::PERC1KeyPress(QChar& key) {
    ApplyRule(RowOf(EntryBoxId::PERC1).rule, key);
}
void TForm1::MESI1KeyPress(QChar& key) {
    ApplyRule(RowOf(EntryBoxId::MESI1).rule, key);
}
void TForm1::Edit1KeyPress(QChar& key) {
    ApplyRule(RowOf(EntryBoxId::Edit1).rule, key);
}
void TForm1::Edit2KeyPress(QChar& key) {
    ApplyRule(RowOf(EntryBoxId::Edit2).rule, key);
}
void TForm1::Edit3KeyPress(QChar& key) {
    ApplyRule(RowOf(EntryBoxId::Edit3).rule, key);
}
void TForm1::Edit5KeyPress(QChar& key) {
    ApplyRule(RowOf(EntryBoxId::Edit5).rule, key);
}
void TForm1::Edit6KeyPress(QChar& key) {
    ApplyRule(RowOf(EntryBoxId::Edit6).rule, key);
}
void TForm1::EdCCNRKeyPress(QChar& key) {
    ApplyRule(RowOf(EntryBoxId::EdCCNR).rule, key);
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
    for (const EntryBoxRow& row : EntryBoxTable)
        if (IsYellow(row.box))
            Box(row.box)->setText(QText(EntryTextOf(reset.entries, row.box)));
    ui->TOT1->setText(QText(reset.mainResidenceResult));
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
    for (const EntryBoxRow& row : EntryBoxTable)
        if (!IsYellow(row.box))
            Box(row.box)->setText(QText(row.clearedText));
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
    // A failure on the way keeps the window, and the texts, as they are.
    bool ends = false;
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
    const std::optional<TaxEntryTexts> computedBefore = computedEntries_;
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

    // A tax code that fails its own check is the user's to keep: the warning asks.
    if (!TaxCodeAccepted()) {
        computedEntries_ = computedBefore;
        GiveFocus(ui->EdCodFisc);
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
    TaxEntryTexts texts;
    for (const EntryBoxRow& row : EntryBoxTable)
        if (IsYellow(row.box))
            EntryTextOf(texts, row.box) = StdText(Box(row.box));
    return texts;
}

QLineEdit* TForm1::Box(EntryBoxId box) const {
    return boxes_[static_cast<std::size_t>(box)];
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

bool TForm1::TaxCodeAccepted() {
    const std::string code = StdText(ui->EdCodFisc);
    const TaxCodeCheck check = CheckTaxCode(code);
    return check.fault == TaxCodeFault::None ||
           MessageQuestionYesNo(QText(TaxCodeWarningMessage(code, check)));
}

void TForm1::ShowTitle() {
    setWindowTitle(dataFile_.isEmpty() ? DesignedTitle()
                                       : QFileInfo(dataFile_).fileName() + QString::fromUtf8(" –") +
                                             DesignedTitle());
}

// The data commands are the window's own keys in every box, and a menu opened as the print
// button's is: the right mouse button on a free area, Shift+F10 or the menu key.
void TForm1::CreateDatiMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("DatiMenu"));
    const struct {
        const char* text;
        QKeySequence keys;
        const char* hint;
        void (TForm1::*handler)();
    } items[] = {
        {"&Salva i dati…", QKeySequence(Qt::CTRL | Qt::Key_S),
         "Salva i dati del contribuente nel file in uso", &TForm1::SalvaItemClick},
        {"Salva i dati con &nome…", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
         "Salva i dati del contribuente in un nuovo file", &TForm1::SalvaConNomeItemClick},
        {"&Apri i dati…", QKeySequence(Qt::CTRL | Qt::Key_O),
         "Apre i dati di un contribuente salvati prima", &TForm1::ApriItemClick},
    };
    for (const auto& item : items) {
        QAction* action = menu->addAction(QString::fromUtf8(item.text));
        action->setShortcut(item.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setStatusTip(QString::fromUtf8(item.hint));
        addAction(action);
        ConnectGuarded(action, &QAction::triggered, this, item.handler);
    }
    // The hint of the item under the mouse stands in the status line while the menu is open.
    connect(menu, &QMenu::hovered, this, [this, menu](QAction* action) {
        Guarded(menu, [this, action] {
            if (!statusBeforeHint_)
                statusBeforeHint_ = ui->StatusBar2->text();
            ui->StatusBar2->setText(action->statusTip());
        });
    });
    ConnectGuarded(menu, &QMenu::aboutToHide, this, [](TForm1* window) {
        if (window->statusBeforeHint_)
            window->ui->StatusBar2->setText(*window->statusBeforeHint_);
        window->statusBeforeHint_.reset();
    });
    OpenMenuOnRequest(this, menu);
    for (QLineEdit* box : boxes_)
        OpenMenuOnKeyRequest(box, menu);
}

void TForm1::SalvaItemClick() {
    SaveData();
}

void TForm1::SalvaConNomeItemClick() {
    SaveDataAs();
}

void TForm1::ApriItemClick() {
    if (!MayLeaveChanges())
        return;
    const QString chosen = ChooseDataFile(this, DataFileDialog::Open, DataFileFolder(DataFolder()));
    if (!chosen.isEmpty())
        OpenDataFile(chosen);
}

bool TForm1::SaveData() {
    return dataFile_.isEmpty() ? SaveDataAs() : SaveDataFile(dataFile_);
}

bool TForm1::SaveDataAs() {
    const QString proposed = dataFile_.isEmpty()
                                 ? ProposedDataFilePath(DataFileFolder(DataFolder()),
                                                        ui->EdNome->text(), ui->EdAnno->text())
                                 : dataFile_;
    const QString chosen = ChooseDataFile(this, DataFileDialog::Save, proposed);
    return !chosen.isEmpty() && SaveDataFile(chosen);
}

bool TForm1::SaveDataFile(const QString& path) {
    const DataFileTexts texts = CurrentBoxTexts();
    if (const auto failure = WriteDataFile(path.toStdString(), texts)) {
        ShowMessage(
            QText(DataFileNotSavedMessage(QDir::toNativeSeparators(path).toStdString(), *failure)));
        return false;
    }
    dataFile_ = path;
    savedTexts_ = texts;
    declinedTexts_.reset();
    ShowTitle();
    return true;
}

bool TForm1::OpenDataFile(const QString& path) {
    const DataFileReading reading = ReadDataFile(path.toStdString());
    if (reading.fault != DataFileFault::None) {
        ShowMessage(
            QText(DataFileRefusedMessage(QDir::toNativeSeparators(path).toStdString(), reading)));
        return false;
    }
    ResetYellowFields();
    for (const EntryBoxRow& row : EntryBoxTable)
        Box(row.box)->setText(QText(reading.texts[static_cast<std::size_t>(row.box)]));
    dataFile_ = QFileInfo(path).absoluteFilePath();
    savedTexts_ = reading.texts;
    declinedTexts_.reset();
    ShowTitle();
    GiveFocus(ui->EdCCNR);
    return true;
}

DataFileTexts TForm1::CurrentBoxTexts() const {
    DataFileTexts texts;
    for (const EntryBoxRow& row : EntryBoxTable)
        texts[static_cast<std::size_t>(row.box)] = StdText(Box(row.box));
    return texts;
}

bool TForm1::MayLeaveChanges() {
    const DataFileTexts texts = CurrentBoxTexts();
    if (dataFile_.isEmpty() || texts == savedTexts_ || texts == declinedTexts_)
        return true;
    switch (MessageQuestionYesNoCancel(SaveChangesMessage(dataFile_))) {
    case MessageAnswer::Yes:
        return SaveData();
    case MessageAnswer::No:
        declinedTexts_ = texts;
        return true;
    default:
        return false;
    }
}

QString TForm1::DataFolder() const {
    return dataFile_.isEmpty() ? QString() : QFileInfo(dataFile_).absolutePath();
}

bool TForm1::TakeDrop(QEvent* event) {
    auto* drop = static_cast<QDropEvent*>(event);
    const QString file = DraggedFile(drop->mimeData());
    if (file.isEmpty())
        return false;
    drop->acceptProposedAction();
    if (event->type() == QEvent::Drop)
        Guarded(this, [this, &file] {
            if (MayLeaveChanges())
                OpenDataFile(file);
        });
    return true;
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    TakeDrop(event);
}

void TForm1::dropEvent(QDropEvent* event) {
    TakeDrop(event);
}
