#pragma once
// The report carrier: holds the printable slip and is never shown.
#include "ui_Unit3.h"

#include <QWidget>

#include <memory>

class TQRFM : public QWidget {
    Q_OBJECT
public:
    explicit TQRFM(QWidget* parent = nullptr);
    ~TQRFM() override;

    const std::unique_ptr<Ui::TQRFM> ui;
};

extern TQRFM* QRFM;
