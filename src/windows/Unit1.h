#pragma once
// The main window: the entries of the tax computation and of the slip, their typing rules,
// the advance/balance marks, the resets, the computation's results and the program's error
// handler.
#include "rules/DataFile.h"
#include "rules/EntryBoxes.h"
#include "rules/ResetTexts.h"
#include "rules/TaxComputation.h"

#include <QChar>
#include <QHash>
#include <QStringList>
#include <QWidget>

#include <array>

#include <exception>
#include <functional>
#include <memory>
#include <optional>

class QLineEdit;

namespace Ui {
class TForm1;
}

class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    const std::unique_ptr<Ui::TForm1> ui;

    // Puts the yellow fields of both columns, the column results, LabIci and the status line
    // back to their reset texts.
    void ResetYellowFields();

    // The program's handler of every error that escapes an event handler of any window: a
    // fixed message, then the yellow fields get their texts back. Sender and error are not
    // looked at.
    void AppException(QObject* sender, std::exception_ptr error);

    // True when the amounts the slip takes from this window (the column results and the hidden
    // result labels) are those of a complete computation, with a total above zero, of the
    // eleven entries as they stand now. A reset, a computation that stopped or ended at zero or
    // below, and any change of an entry since make them stale until the next computation.
    bool AmountsMatchEntries() const;

    // What "Inform." shows: the program's information box, which the start-up hands in.
    void SetInformationBox(std::function<void()> show);

    // Opens the taxpayer's data file: the boxes take its texts and the results are as after
    // "Reset tot.", so that the slip waits for a new computation. A file that cannot be taken
    // whole is refused with a message naming it and what is wrong, and nothing changes. True
    // when the file was taken.
    bool OpenDataFile(const QString& path);
    // Asked before the texts go (the program's end, another data file): true when they may, with
    // no data file in use, no changes since it was opened or saved, or after the question whether
    // to save them.
    bool MayLeaveChanges();
    // The data file in use, opened or saved last; empty when there is none.
    const QString& DataFile() const { return dataFile_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Closing the main window ends the program: with a data file in use and changes since it was
    // opened or saved, it asks whether to save them first; a print its printer has not taken is
    // asked about too. Either question can keep the window open.
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    using KeyPressHandler = void (TForm1::*)(QChar& key);
    using ClickHandler = void (TForm1::*)();

    void FormCreate();
    void FormActivate();
    // The entries' texts and the column results of one kind of reset.
    void ShowResetTexts(const ResetTexts& reset);

    // A handler that sets the key to the null character discards it.
    void REND1KeyPress(QChar& key);
    void RIVAL1KeyPress(QChar& key);
    void ALIQ1KeyPress(QChar& key);
    void DETR1KeyPress(QChar& key);
    void PERC1KeyPress(QChar& key);
    void MESI1KeyPress(QChar& key);
    void Edit1KeyPress(QChar& key);
    void Edit2KeyPress(QChar& key);
    void Edit3KeyPress(QChar& key);
    void Edit5KeyPress(QChar& key);
    void Edit6KeyPress(QChar& key);
    void EdCCNRKeyPress(QChar& key);

    void EdAccClick();
    void Label21Click();
    void Label29Click();
    void EdSaldoClick();

    void ResetBtnClick();
    void ResetGenBtnClick();
    void Button1Click();
    void ChiudiBtnClick();
    void InfoBtnClick();
    void CalcolaBtnClick();

    void CreateDatiMenu();
    void SalvaItemClick();
    void SalvaConNomeItemClick();
    void ApriItemClick();
    bool SaveData();
    bool SaveDataAs();
    bool SaveDataFile(const QString& path);
    bool TaxCodeAccepted();
    DataFileTexts CurrentBoxTexts() const;
    // Where the data dialogs start: the folder of the data file in use; empty when there is none.
    QString DataFolder() const;
    void ShowTitle();
    // A drop of one local file onto the window or one of its boxes.
    bool TakeDrop(QEvent* event);

    void SwapMarks();
    TaxEntryTexts CurrentEntryTexts() const;
    QLineEdit* Box(EntryBoxId box) const;
    bool FilterTypedText(QObject* box, KeyPressHandler handler, const QString& text);

    std::array<QLineEdit*, EntryBoxTable.size()> boxes_{};
    QHash<QObject*, KeyPressHandler> keyPressHandlers_;
    QHash<QObject*, ClickHandler> clickHandlers_;
    QHash<QObject*, QStringList> startTexts_;
    // The entries the amounts shown were computed from; none while they are stale.
    std::optional<TaxEntryTexts> computedEntries_;
    std::function<void()> informationBox_;
    QString dataFile_;
    DataFileTexts savedTexts_;
    // The changes the user last chose not to save: not asked about again (the end of the
    // session asks before its windows are closed, and closing them would ask once more).
    std::optional<DataFileTexts> declinedTexts_;
    // The status line's text while a menu item's hint stands in it.
    std::optional<QString> statusBeforeHint_;
};

extern TForm1* Form1;
