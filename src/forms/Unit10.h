#pragma once

#include "windows/Form.h"

class QLineEdit;
class QPushButton;

// The start of the mathematics test: the instructions and "Начать", which
// opens the problem sheet, whose clock starts then.
class TForm10 : public Form
{
    Q_OBJECT
public:
    explicit TForm10(Session &session, QWidget *owner = nullptr);
    QLineEdit *Edit105; // subject
    QPushButton *Button1;

private:
    void Button1Click();
};

using MathStartWindow = TForm10;
