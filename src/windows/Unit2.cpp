#include "windows/Unit2.h"
#include "ui_Unit1.h"
#include "ui_Unit2.h"

#include "base/AppInfo.h"
#include "frame/BoxTexts.h"
#include "frame/ButtonMenu.h"
#include "frame/EnterKey.h"
#include "frame/HandlerGuard.h"
#include "frame/MessageBoxes.h"
#include "frame/ReadmeLaunch.h"
#include "frame/SlipPdfFile.h"
#include "frame/WindowActivation.h"
#include "page/SlipPrinting.h"
#include "page/TestSheetPainter.h"
#include "rules/AlignmentFile.h"
#include "rules/PaperMarks.h"
#include "rules/SlipCopy.h"
#include "rules/SlipPlacement.h"
#include "rules/SlipPrintCheck.h"
#include "windows/PrinterChoice.h"
#include "windows/ProgramEnd.h"
#include "windows/SlipPreview.h"
#include "windows/SlipPrintFlow.h"
#include "windows/Unit1.h"
#include "windows/Unit3.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>

TForm2* Form2 = nullptr;

namespace {

constexpr const char* OffSheetMessage =
    "Le correzioni dell'allineamento portano il bollettino fuori dal foglio: il bollettino non "
    "è stato stampato.\rControllare le correzioni e riprovare.";

// The corrections a first run and "Carica vaolori di DEFAULT" start from.
constexpr int StartCorrection = 26;

// A picture that fills its whole square would touch the caption beside it: drawn a little
// smaller, it keeps clear of it as the other buttons' pictures do.
QIcon KeptOffTheCaption(const QIcon& icon) {
    constexpr int Side = 16;
    constexpr int Margin = 3;
    QPixmap picture(Side, Side);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    icon.paint(&painter, QRect(0, Margin / 2, Side - Margin, Side - Margin));
    painter.end();
    return QIcon(picture);
}

} // namespace

TForm2::TForm2(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TForm2>()), printFlow_(new SlipPrintFlow(this)) {
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("  Riepilogo Bollettino Postale") +
                   QString(26, QLatin1Char(' ')) + QText(AuthorWebAddress));
    setFixedSize(522, 473);
    if (const QScreen* screen = this->screen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));

    for (TUpDown* upDown : {ui->UpDown1, ui->UpDown2}) {
        upDown->SetRange(0, 60);
        upDown->SetIncrement(2);
        upDown->SetStartValue(StartCorrection);
    }
    ui->UpDown1->SetAssociate(ui->Edit1);
    ui->UpDown2->SetAssociate(ui->Edit2);

    ConnectGuarded(ui->BitBtn1, &QPushButton::clicked, this, &TForm2::BitBtn1Click);
    ConnectGuarded(ui->BitBtn2, &QPushButton::clicked, this, &TForm2::BitBtn2Click);
    ConnectGuarded(ui->CorreggiBtn, &QPushButton::clicked, this, &TForm2::CorreggiBtnClick);
    ConnectGuarded(ui->SalvaBtn, &QToolButton::clicked, this, &TForm2::SalvaBtnClick);
    ConnectGuarded(ui->ResetBtn, &QToolButton::clicked, this, &TForm2::ResetBtnClick);
    ConnectGuarded(ui->StampaBtn1, &QAbstractButton::clicked, this, &TForm2::StampaBtn1Click);
    ConnectGuarded(ui->BUTTONSX, &QPushButton::clicked, this, &TForm2::BUTTONSXClick);
    ConnectGuarded(ui->BUTTONCX, &QPushButton::clicked, this, &TForm2::BUTTONCXClick);
    ConnectGuarded(ui->BUTTONDX, &QPushButton::clicked, this, &TForm2::BUTTONDXClick);
    for (QRadioButton* radio : {ui->RBTNS, ui->RBTNC, ui->RBTND})
        ConnectGuarded(radio, &QRadioButton::toggled, this, &TForm2::SetPlacementTabStop);
    WatchActivation(this, [this] { FormActivate(); });
    PressButtonsOnEnter(this);
    CreateStampaMenu();
}

TForm2::~TForm2() = default;

// The buttons' pictures are made when the window is first shown, not while the program starts.
void TForm2::SetButtonPictures() {
    const QStyle* look = style();
    ui->BitBtn1->setIcon(look->standardIcon(QStyle::SP_DialogCloseButton));
    ui->BitBtn2->setIcon(KeptOffTheCaption(look->standardIcon(QStyle::SP_MessageBoxInformation)));
    ui->CorreggiBtn->setIcon(look->standardIcon(QStyle::SP_ArrowBack));
    ui->SalvaBtn->setIcon(look->standardIcon(QStyle::SP_DialogSaveButton));
    ui->ResetBtn->setIcon(look->standardIcon(QStyle::SP_BrowserReload));
    ui->StampaBtn1->setIcon(QIcon::fromTheme(QStringLiteral("document-print"),
                                             look->standardIcon(QStyle::SP_FileIcon)));
}

SlipData TForm2::CurrentSlipData() const {
    return {
        StdText(ui->CCNR),    StdText(ui->Imp),     StdText(ui->CENT),      StdText(ui->IMPLETT),
        StdText(ui->INTEST1), StdText(ui->INTEST2), StdText(ui->NOME),      StdText(ui->Comune),
        StdText(ui->CODFISC), StdText(ui->FABB),    StdText(ui->ANNO),      StdText(ui->ACC),
        StdText(ui->SALDO),   StdText(ui->ABPRINC), StdText(ui->ALTRIFABB), StdText(ui->DETRAZ)};
}

PaperPlacement TForm2::ChosenPlacement() const {
    if (ui->RBTNS->isChecked())
        return PaperPlacement::Left;
    if (ui->RBTNC->isChecked())
        return PaperPlacement::Centre;
    if (ui->RBTND->isChecked())
        return PaperPlacement::Right;
    return PaperPlacement::None;
}

void TForm2::SetAlignmentDirectory(const std::string& directory) {
    alignmentDirectory_ = directory;
}

AlignmentFilePlace TForm2::AlignmentPlace() const {
    if (alignmentDirectory_.empty())
        return ProgramAlignmentFilePlace();
    return {AlignmentFilePath(alignmentDirectory_), {}};
}

void TForm2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        Guarded(this, [this] { FormShow(); });
}

void TForm2::FormShow() {
    if (ui->BitBtn1->icon().isNull())
        SetButtonPictures();
    FillSlipFields();
}

// The summary shows the main window's texts exactly as they stand there.
void TForm2::FillSlipFields() {
    const Ui::TForm1& main = *Form1->ui;
    ui->CCNR->setText(main.EdCCNR->text());
    ui->Imp->setText(main.LabIci->text());
    ui->CENT->setText(main.LabCent->text());
    ui->IMPLETT->setText(main.LabLett->text());
    ui->INTEST1->setText(main.EdIntest1->text());
    ui->INTEST2->setText(main.EdIntest2->text());
    ui->NOME->setText(main.EdNome->text());
    ui->Comune->setText(main.EdComun->text());
    ui->CODFISC->setText(main.EdCodFisc->text());
    ui->FABB->setText(main.EdNum->text());
    ui->ANNO->setText(main.EdAnno->text());
    ui->ACC->setText(main.EdAcc->text());
    ui->SALDO->setText(main.EdSaldo->text());
    ui->ABPRINC->setText(main.TOT1->text());
    ui->ALTRIFABB->setText(main.TOT2->text());
    ui->DETRAZ->setText(main.DETR1->text());
}

// Every activation shows the saved alignment again: changes not saved are dropped here.
void TForm2::FormActivate() {
    LoadAlignment();
}

void TForm2::LoadAlignment() {
    const AlignmentTexts saved = ReadAlignment(AlignmentPlace());
    ui->Edit1->setText(QText(saved.verticalCorrection));
    ui->Edit2->setText(QText(saved.horizontalCorrection));
    ui->EDITC->setText(QText(saved.paperMarks.centre));
    ui->EDITD->setText(QText(saved.paperMarks.right));
    ui->EDITS->setText(QText(saved.paperMarks.left));
    ChoosePlacement(
        PlacementFromMarks({StdText(ui->EDITC), StdText(ui->EDITD), StdText(ui->EDITS)}));
}

// The radio buttons keep one another exclusive; for a moment they must not, so that no
// position at all can be chosen.
void TForm2::ChoosePlacement(PaperPlacement placement) {
    const std::pair<QRadioButton*, PaperPlacement> buttons[] = {
        {ui->RBTNS, PaperPlacement::Left},
        {ui->RBTNC, PaperPlacement::Centre},
        {ui->RBTND, PaperPlacement::Right},
    };
    for (const auto& [button, itsPlacement] : buttons) {
        button->setAutoExclusive(false);
        button->setChecked(itsPlacement == placement);
    }
    for (const auto& [button, itsPlacement] : buttons)
        button->setAutoExclusive(true);
    SetPlacementTabStop();
}

// The paper positions are one stop for Tab, at the chosen one (at the first while none is
// chosen); the arrow keys move among them.
void TForm2::SetPlacementTabStop() {
    const PaperPlacement chosen = ChosenPlacement();
    ui->RBTNS->setFocusPolicy(chosen == PaperPlacement::Left || chosen == PaperPlacement::None
                                  ? Qt::StrongFocus
                                  : Qt::ClickFocus);
    ui->RBTNC->setFocusPolicy(chosen == PaperPlacement::Centre ? Qt::StrongFocus : Qt::ClickFocus);
    ui->RBTND->setFocusPolicy(chosen == PaperPlacement::Right ? Qt::StrongFocus : Qt::ClickFocus);
}

void TForm2::SalvaBtnClick() {
    const PaperMarks marks = MarksFromPlacement(ChosenPlacement());
    ui->EDITC->setText(QText(marks.centre));
    ui->EDITD->setText(QText(marks.right));
    ui->EDITS->setText(QText(marks.left));
    // A save that cannot write says so and changes nothing else.
    try {
        SaveAlignment(AlignmentPlace(),
                      {.verticalCorrection = StdText(ui->Edit1),
                       .horizontalCorrection = StdText(ui->Edit2),
                       .paperMarks = {StdText(ui->EDITC), StdText(ui->EDITD), StdText(ui->EDITS)}});
    } catch (const EIniFileException& failure) {
        ShowMessage(QText(SaveFailureMessage(failure)));
    }
}

void TForm2::ResetBtnClick() {
    ui->Edit1->setText(QString::number(StartCorrection));
    ui->Edit2->setText(QString::number(StartCorrection));
}

// Ends the program as it stands, without closing any window first: the main window stays
// hidden. Changes to the taxpayer's data file in use are offered for saving first, and a print
// its printer has not taken is asked about.
void TForm2::BitBtn1Click() {
    if (PrepareProgramEnd())
        QApplication::exit(0);
}

SlipPrintFlow& TForm2::PrintFlow() {
    return *printFlow_;
}

// The printing notes open in the text editor; this window waits until it is closed.
void TForm2::BitBtn2Click() {
    OpenReadme(AppExec1);
}

void TForm2::CorreggiBtnClick() {
    Form1->show();
    Form1->raise();
    Form1->activateWindow();
    close();
}

void TForm2::closeEvent(QCloseEvent* event) {
    // Closing only hides this window; the main window comes back.
    Guarded(this, [this] { FormClose(); });
    event->accept();
}

void TForm2::FormClose() {
    Form1->show();
}

// Prints the slip at once on the default printer, with no dialog.
void TForm2::StampaBtn1Click() {
    if (CopyAndPlaceReport())
        printFlow_->Print(QRFM->QREP, QString(), PaintSlipReport);
}

// What every print of the page does first, from the button and from its menu: the essential
// texts, the amounts and the corrections, then the copy and the placement for the chosen paper
// position. False, with the message shown, when there is no page to make: a text is missing,
// an amount is not the one of the entries, a correction is no whole number, or the placement
// has put an essential text off the sheet.
bool TForm2::CopyAndPlaceReport() {
    const SlipData slip = CurrentSlipData();
    if (!HasEssentialSlipTexts(slip)) {
        ShowMessage(QText(InsufficientSlipDataMessage));
        return false;
    }
    // Nothing goes onto paper with an amount that is not the one of the entries.
    if (!DeductionConverts(slip)) {
        ShowMessage(QText(DeductionNotANumberMessage(slip.DETRAZ)));
        return false;
    }
    if (!Form1->AmountsMatchEntries()) {
        ShowMessage(QText(StaleAmountsMessage));
        return false;
    }
    if (!CorrectionsAreWhole(ChosenPlacement(), StdText(ui->Edit1), StdText(ui->Edit2))) {
        ShowMessage(QText(CorrectionsNotWholeMessage));
        return false;
    }
    CopySlipToReport();
    // The placement of the chosen position runs the handler of its hidden button, which copies
    // again and places every label. It runs within this handler, so an error in it ends the
    // print and reaches the error handler once, from here.
    const std::pair<QRadioButton*, void (TForm2::*)()> placements[] = {
        {ui->RBTNC, &TForm2::BUTTONCXClick},
        {ui->RBTNS, &TForm2::BUTTONSXClick},
        {ui->RBTND, &TForm2::BUTTONDXClick},
    };
    for (const auto& [radio, placement] : placements) {
        if (radio->isChecked()) {
            (this->*placement)();
            repaint();
        }
    }
    if (!EssentialLabelsOnSheet(QRFM->QREP)) {
        ShowMessage(QText(OffSheetMessage));
        return false;
    }
    return true;
}

void TForm2::CopySlipToReport() {
    ::CopySlipToReport(CurrentSlipData(), QRFM->QREP);
}

void TForm2::BUTTONSXClick() {
    PlaceReport(PaperPlacement::Left);
}

void TForm2::BUTTONCXClick() {
    PlaceReport(PaperPlacement::Centre);
}

void TForm2::BUTTONDXClick() {
    PlaceReport(PaperPlacement::Right);
}

void TForm2::PlaceReport(PaperPlacement placement) {
    CopySlipToReport();
    PlaceSlip(QRFM->QREP, placement, StdText(ui->Edit1), StdText(ui->Edit2));
}

// The print button's own click stays the designed one; the menu offers the rest. Each item
// makes the page as the click does, with the same checks and messages.
void TForm2::CreateStampaMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("StampaMenu"));
    const std::pair<const char*, void (TForm2::*)()> items[] = {
        {"&Anteprima di stampa…", &TForm2::AnteprimaItemClick},
        {"Stampa di &prova su carta bianca", &TForm2::ProvaItemClick},
        {"Salva come P&DF…", &TForm2::PdfItemClick},
        {"Stampa su un'altra &stampante…", &TForm2::AltraStampanteItemClick},
    };
    for (const auto& [text, handler] : items)
        ConnectGuarded(menu->addAction(QText(text)), &QAction::triggered, this, handler);
    OpenMenuOnRequest(ui->StampaBtn1, menu);
}

void TForm2::AnteprimaItemClick() {
    if (CopyAndPlaceReport() && printFlow_->ServerAnswersOrOffer(QRFM->QREP) &&
        ShowSlipPreview(this, QRFM->QREP))
        printFlow_->Print(QRFM->QREP, QString(), PaintSlipReport);
}

void TForm2::ProvaItemClick() {
    if (!CopyAndPlaceReport())
        return;
    const TestSheetLegend legend{ChosenPlacement(), StdText(ui->Edit1), StdText(ui->Edit2)};
    printFlow_->Print(QRFM->QREP, QString(), [legend](QPainter& painter, const SlipReport& report) {
        PaintTestSheet(painter, report, legend);
    });
}

void TForm2::PdfItemClick() {
    if (CopyAndPlaceReport())
        printFlow_->OfferPageAsPdf(QString(), QRFM->QREP, PaintSlipReport);
}

void TForm2::AltraStampanteItemClick() {
    if (!CopyAndPlaceReport() || !printFlow_->ServerAnswersOrOffer(QRFM->QREP))
        return;
    const QString chosen = ChooseOtherPrinter(this, otherPrinter_);
    if (chosen.isEmpty())
        return;
    otherPrinter_ = chosen;
    printFlow_->Print(QRFM->QREP, chosen, PaintSlipReport);
}
