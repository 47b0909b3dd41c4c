#include "program/WindowSet.h"

#include "program/InformationBox.h"
#include "windows/Unit1.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"

WindowSet::WindowSet() {
    form1_ = std::make_unique<TForm1>();
    Form1 = form1_.get();
    Form1->SetInformationBox(ShowInformationBox);
    form2_ = std::make_unique<TForm2>();
    Form2 = form2_.get();
    qrfm_ = std::make_unique<TQRFM>();
    QRFM = qrfm_.get();
}

WindowSet::~WindowSet() {
    qrfm_.reset();
    QRFM = nullptr;
    form2_.reset();
    Form2 = nullptr;
    form1_.reset();
    Form1 = nullptr;
}
