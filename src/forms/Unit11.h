#pragma once

#include "windows/Form.h"

class QLabel;
class QLineEdit;
class QPushButton;
class RadioGroup;

// Follow-up of the expression item: the worked rewriting, the correct answer
// and whether the subject used the abbreviated-multiplication formulas.
class TForm11 : public Form
{
    Q_OBJECT
public:
    explicit TForm11(Session &session, QWidget *owner = nullptr);

    QLineEdit *Edit12; // subject
    QLabel *Image1;    // the expression and its rewriting
    QLabel *Label7;    // caption under the first fraction
    QLabel *Label8;    // caption under the second fraction
    RadioGroup *RadioGroup1;
    QPushButton *Button1;

private:
    void RadioGroup1Click();
    void Button1Click();

    QWidget *captionsUnderFractions();

    int answered = 0;
};

using FormulasWindow = TForm11;
