#pragma once
// The summary window: shows the slip as it will be printed, aligns and prints it.
#include "ui_Unit2.h"

#include <QWidget>

#include <memory>

class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    const std::unique_ptr<Ui::TForm2> ui;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormClose();
};

extern TForm2* Form2;
