#pragma once
// The summary window: shows the slip as it will be printed, aligns and prints it.
#include "page/PrintJobFollower.h"
#include "page/SlipPrinting.h"
#include "rules/AlignmentFile.h"
#include "rules/AppExec.h"
#include "rules/PaperPlacement.h"
#include "rules/SlipData.h"

#include <QWidget>

#include <map>
#include <memory>
#include <string>

namespace Ui {
class TForm2;
}

class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    const std::unique_ptr<Ui::TForm2> ui;

    // Starts other programs for this window (the printing notes).
    TAppExec AppExec1;

    // The sixteen texts of the slip exactly as the summary boxes hold them.
    SlipData CurrentSlipData() const;
    // The paper position chosen with the radio buttons, None when no button is chosen.
    PaperPlacement ChosenPlacement() const;

    // The directory whose "Allinea.ini" is loaded and saved; empty (the start) means the
    // program's own place for it (AlignmentFile.h). Tests point it at a directory of their own.
    void SetAlignmentDirectory(const std::string& directory);
    AlignmentFilePlace AlignmentPlace() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormShow();
    void FormActivate();
    void FormClose();

    void BitBtn1Click();
    void BitBtn2Click();
    void CorreggiBtnClick();
    void SalvaBtnClick();
    void ResetBtnClick();

    void FillSlipFields();
    void SetButtonPictures();
    void LoadAlignment();
    void ChoosePlacement(PaperPlacement placement);
    void SetPlacementTabStop();

    void StampaBtn1Click();
    bool CopyAndPlaceReport();
    void CopySlipToReport();
    void BUTTONSXClick();
    void BUTTONCXClick();
    void BUTTONDXClick();
    void PlaceReport(PaperPlacement placement);
    // On the printer of that name, or on the default printer when the name is empty.
    void PrintReport(const QString& printerName, const SlipPagePainter& paint);
    bool PrintServerAnswersOrOffer();
    void OfferReportAsPdf(const QString& reason, const SlipPagePainter& paint);
    void OfferPageAsPdf(const QString& reason, const SlipReport& page,
                        const SlipPagePainter& paint);
    void PrintJobNewsArrived(int job, PrintJobNews news);
    void PrinterUnreachable(int job);

    // The print button's menu (right mouse button, menu key, Shift+F10).
    void CreateStampaMenu();
    void AnteprimaItemClick();
    void ProvaItemClick();
    void PdfItemClick();
    void AltraStampanteItemClick();

    std::string alignmentDirectory_;
    // The printer last chosen with "Stampa su un'altra stampante…", until the program ends.
    QString otherPrinter_;

    // Each print handed to a printer, followed until it is done: its own page, which the PDF
    // offer keeps when it fails whatever the window shows by then.
    struct FollowedPrint {
        SlipReport page;
        SlipPagePainter paint;
        QString printer;
        bool asked = false;   // the user is being asked about it
        bool printed = false; // done meanwhile
    };
    std::map<int, FollowedPrint> followedPrints_;
    PrintJobFollower jobFollower_;
};

extern TForm2* Form2;
