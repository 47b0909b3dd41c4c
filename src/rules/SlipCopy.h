#pragma once
// Copying the slip field set onto the printed slip. The left part keeps every text as the
// summary shows it; the right part prints the three tax amounts in whole cents.
#include "rules/SlipData.h"
#include "rules/SlipReport.h"

#include <string>

// "00,00" (the start text) becomes "00"; any other text is read as a comma-decimal number,
// multiplied by 100 and written back in the general format ("12,345" -> "1234,5").
// Raises EConvertError "'%s' is not a valid floating point value" on a text that is no number.
std::string AmountInCents(const std::string& amount);

// Fills the 31 labels in the slip's copy order. A failing amount conversion stops the copy:
// the labels filled before it keep their new texts.
void CopySlipToReport(const SlipData& slip, SlipReport& report);
