#pragma once
// The main window: the entries of the tax computation and of the slip, their typing rules,
// the advance/balance marks, the resets, the computation's results and the program's error
// handler.
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

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
};

extern TForm1* Form1;
