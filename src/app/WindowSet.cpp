#include "WindowSet.h"

#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"

void CreateWindowSet() {
    Form1 = new TForm1;
    Form2 = new TForm2;
    QRFM = new TQRFM;
}

void DestroyWindowSet() {
    delete QRFM;
    QRFM = nullptr;
    delete Form2;
    Form2 = nullptr;
    delete Form1;
    Form1 = nullptr;
}
