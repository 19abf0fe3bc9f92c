#pragma once

#include "engine/CalculatorRules.h"
#include "windows/Form.h"

class QGridLayout;
class QHBoxLayout;
class QLineEdit;
class QPushButton;

// The unusual calculator: two numbers, three operations with hidden rules,
// each result shown in a message; the uses are counted.
class TForm8 : public Form
{
    Q_OBJECT
public:
    explicit TForm8(Session &session, QWidget *owner = nullptr);

    QLineEdit *Edit105; // subject
    QLineEdit *Edit1;   // number A
    QLineEdit *Edit2;   // number B
    QPushButton *Button1; // ЛАСМ
    QPushButton *Button3; // ВАДЛ
    QPushButton *Button2; // ПАРМ
    QPushButton *Button4; // on to the rule window

private:
    void Edit1Change();
    void Edit2Change();
    void Button1Click();
    void Button3Click();
    void Button2Click();
    void Button4Click();

    QLineEdit *addNumberField(QGridLayout *fields, int row, const QString &objectName, const QString &labelName,
                              const QString &caption);
    QPushButton *addOperationButton(QHBoxLayout *row, const QString &objectName, Operation operation);
    void numericGuard(QLineEdit *edit, QString &lastAccepted);
    void showResult(Operation operation);

    QString lastAcceptedA;
    QString lastAcceptedB;
};

using CalculatorWindow = TForm8;
