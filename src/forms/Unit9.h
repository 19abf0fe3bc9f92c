#pragma once

#include "engine/CalculatorRules.h"
#include "windows/Form.h"

#include <array>

class QGridLayout;
class QLineEdit;
class QPushButton;

// The rule window of the unusual calculator: for each operation eleven
// candidate rules and a cancel; "Готово" scores each operation as identified
// exactly or not and opens the Raven test.
class TForm9 : public Form
{
    Q_OBJECT
public:
    explicit TForm9(Session &session, QWidget *owner = nullptr);

    QLineEdit *Edit105; // subject
    QPushButton *Button37; // "Готово"

private:
    // One operation's rule buttons (Button1 to Button11 for ЛАСМ, Button13 to
    // Button23 for ВАДЛ, Button25 to Button35 for ПАРМ), its cancel (Button12,
    // Button24, Button36) and what has been pressed there.
    struct RuleGroup
    {
        Operation operation;
        RuleFlags *flags;
        std::array<QPushButton *, 11> rules;
        QPushButton *cancel;
    };

    void addGroup(QGridLayout *grid, int index);
    void ruleButtonClick(QPushButton *button, int &flag);
    void cancelClick(RuleGroup &group);
    void Button37Click();

    RuleFlags CalcLasm;
    RuleFlags CalcVadl;
    RuleFlags CalcParm;
    std::array<RuleGroup, 3> groups;
};

using CalculatorRulesWindow = TForm9;
