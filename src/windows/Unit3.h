#pragma once
// The report carrier: holds the printable slip and is never shown.
#include "rules/SlipReport.h"

#include <QWidget>

#include <memory>

namespace Ui {
class TQRFM;
}

class TQRFM : public QWidget {
    Q_OBJECT
public:
    explicit TQRFM(QWidget* parent = nullptr);
    ~TQRFM() override;

    const std::unique_ptr<Ui::TQRFM> ui;

    // The printed slip: one landscape A4 page whose 31 labels keep the text and position of
    // the last print until the next one. Its one band is printed once: the page's
    // full width and one unit less than its height, starting 0.2 mm below the sheet's top
    // edge (SlipBandTopMm), so every label's place is measured from the band's corner.
    SlipReport QREP;
};

extern TQRFM* QRFM;
