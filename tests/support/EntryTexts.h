#pragma once
// The main window's entry texts as tests write them down, each field named for what it holds,
// and the status line a computation of them ends in.
#include <QList>
#include <QMetaType>
#include <QString>

#include <optional>

// The main residence's column (REND1 to MESI1); a field left out keeps the box's start text.
struct MainColumnTexts {
    QString income = "00,00";
    QString revaluation = "0";
    QString rate = "00,00";
    QString deduction = "00,00";
    QString share = "100";
    QString months = "12";
};

// The other buildings' column (Edit1, Edit2, Edit3, Edit5, Edit6), likewise.
struct OtherColumnTexts {
    QString income = "00";
    QString revaluation = "0";
    QString rate = "00,00";
    QString share = "100";
    QString months = "12";
};

// The slip's boxes (EdCCNR to EdAnno); a box left out is not touched.
struct SlipTexts {
    std::optional<QString> accountNumber = std::nullopt;
    std::optional<QString> holderLine1 = std::nullopt;
    std::optional<QString> holderLine2 = std::nullopt;
    std::optional<QString> payer = std::nullopt;
    std::optional<QString> municipality = std::nullopt;
    std::optional<QString> taxCode = std::nullopt;
    std::optional<QString> buildingCount = std::nullopt;
    std::optional<QString> taxYear = std::nullopt;
};

Q_DECLARE_METATYPE(MainColumnTexts)
Q_DECLARE_METATYPE(OtherColumnTexts)
Q_DECLARE_METATYPE(SlipTexts)

// Boxes by name, each with its text (which may be empty or hold blanks), in the order the user
// fills them.
struct EntryText {
    QString box;
    QString text;
};
using EntryTexts = QList<EntryText>;
Q_DECLARE_METATYPE(EntryText)

EntryTexts EntriesOf(const MainColumnTexts& main, const OtherColumnTexts& other = {});
EntryTexts EntriesOf(const SlipTexts& slip);

// The tests' one sample taxpayer: a slip's boxes filled in whole, for the tests and the bench
// that need a payer (SampleSlip holds the same payer as the rules see it). A test about one box
// copies it and changes that box.
inline const SlipTexts SamplePayer{.accountNumber = "12345678",
                                   .holderLine1 = "COMUNE DI ROMA",
                                   .holderLine2 = "SERVIZIO TESORERIA",
                                   .payer = "ROSSI MARIO ROMA VIA ROMA 1",
                                   .municipality = "ROMA",
                                   .taxCode = "RSSMRA80A01H501U",
                                   .buildingCount = "2",
                                   .taxYear = "07"};

// The status line under the results: the yearly tax and the instalment, as the user reads them.
QString StatusLineOf(const QString& yearly, const QString& instalment);
