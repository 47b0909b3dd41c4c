#include "windows/Unit3.h"
#include "ui_Unit3.h"

TQRFM* QRFM = nullptr;

TQRFM::TQRFM(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TQRFM>()) {
    ui->setupUi(this);
}

TQRFM::~TQRFM() = default;
