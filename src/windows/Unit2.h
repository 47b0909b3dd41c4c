#pragma once
// The summary window: shows the slip as it will be printed, aligns and prints it.
#include "rules/AlignmentFile.h"
#include "rules/AppExec.h"
#include "rules/PaperPlacement.h"
#include "rules/SlipData.h"

#include <QWidget>

#include <memory>
#include <string>

namespace Ui {
class TForm2;
}
class SlipPrintFlow;

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

    // The prints of the slip on printers, from the press to the end of their jobs.
    SlipPrintFlow& PrintFlow();

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

    // The print button's menu (right mouse button, menu key, Shift+F10).
    void CreateStampaMenu();
    void AnteprimaItemClick();
    void ProvaItemClick();
    void PdfItemClick();
    void AltraStampanteItemClick();

    std::string alignmentDirectory_;
    // The printer last chosen with "Stampa su un'altra stampante…", until the program ends.
    QString otherPrinter_;

    // Owned as the window's child.
    SlipPrintFlow* const printFlow_;
};

extern TForm2* Form2;
