#pragma once
// The texts the main window's entry boxes and results are put back to. Each reset is one row of
// data, so that where two resets differ it shows, and it is meant: the reset buttons (and the
// zero-or-negative warning) put "00" into both column results and the euros, while the error
// handler puts "00,00" into the main residence's result, empties the other buildings' one and
// leaves the euros as they are.
#include "rules/TaxComputation.h"

#include <optional>
#include <string>

// The start text of an amount box: no amount typed yet. The slip's right part prints it as "00".
inline constexpr const char* AmountStartText = "00,00";

// The eleven entries' start texts: no income, no revaluation, no rate, no deduction, the whole
// share for all twelve months.
inline const TaxEntryTexts StartEntryTexts{.mainResidence = {.income = AmountStartText,
                                                             .revaluationPercent = "0",
                                                             .ratePerThousand = AmountStartText,
                                                             .sharePercent = "100",
                                                             .months = "12"},
                                           .deduction = AmountStartText,
                                           .otherBuildings = {.income = AmountStartText,
                                                              .revaluationPercent = "0",
                                                              .ratePerThousand = AmountStartText,
                                                              .sharePercent = "100",
                                                              .months = "12"}};

struct ResetTexts {
    TaxEntryTexts entries;
    std::string mainResidenceResult;
    std::string otherBuildingsResult;
    std::optional<std::string> totalEuros; // none: the euros are left as they are
};

// ResetYellowFields: the reset buttons and the zero-or-negative warning.
inline const ResetTexts YellowFieldsReset{StartEntryTexts, "00", "00", "00"};

// The program's error handler.
inline const ResetTexts ErrorHandlerReset{StartEntryTexts, AmountStartText, "", std::nullopt};
