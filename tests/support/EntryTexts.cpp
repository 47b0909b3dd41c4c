#include "support/EntryTexts.h"

EntryTexts EntriesOf(const MainColumnTexts& main, const OtherColumnTexts& other) {
    return {{"REND1", main.income},    {"RIVAL1", main.revaluation}, {"ALIQ1", main.rate},
            {"DETR1", main.deduction}, {"PERC1", main.share},        {"MESI1", main.months},
            {"Edit1", other.income},   {"Edit2", other.revaluation}, {"Edit3", other.rate},
            {"Edit5", other.share},    {"Edit6", other.months}};
}

EntryTexts EntriesOf(const SlipTexts& slip) {
    const std::pair<const char*, const std::optional<QString>&> boxes[] = {
        {"EdCCNR", slip.accountNumber},  {"EdIntest1", slip.holderLine1},
        {"EdIntest2", slip.holderLine2}, {"EdNome", slip.payer},
        {"EdComun", slip.municipality},  {"EdCodFisc", slip.taxCode},
        {"EdNum", slip.buildingCount},   {"EdAnno", slip.taxYear}};
    EntryTexts result;
    for (const auto& [box, text] : boxes)
        if (text)
            result.append({box, *text});
    return result;
}

QString StatusLineOf(const QString& yearly, const QString& instalment) {
    return QString::fromUtf8(" L'ICI da pagare è € ") + yearly +
           QString::fromUtf8(" cioè DUE rate da € ") + instalment + "-- Scadenza 30/6  - 20/12 --";
}
