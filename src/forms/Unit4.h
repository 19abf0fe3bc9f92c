#pragma once

#include "core/Form.h"

class QLineEdit;
class QPushButton;

// Placeholder until this window is built: passes straight on.
class TForm4 : public Form
{
    Q_OBJECT
public:
    explicit TForm4(QWidget *owner = nullptr);
    QLineEdit *Edit12;
    QPushButton *Button1;

private:
    void Button1Click();
};
