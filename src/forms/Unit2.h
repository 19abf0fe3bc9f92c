#pragma once

#include "engine/SiblingRows.h"
#include "windows/Form.h"

#include <array>

class QLineEdit;
class QPushButton;
class RadioGroup;

// Siblings: up to ten brothers and sisters by sex and date of birth, turned
// into descriptions, the subject's place by birth and three counts.
class TForm2 : public Form
{
    Q_OBJECT
public:
    explicit TForm2(Session &session, QWidget *owner = nullptr);

    QLineEdit *Edit1; // subject
    // Row n (0 to 9): RadioGroup201 + n, the day, month and year fields
    // Edit202 + 3n to Edit204 + 3n, the cancel button Button1 + n.
    std::array<RadioGroup *, siblingRowCount> RadioGroups;
    std::array<QLineEdit *, siblingRowCount> DayEdits;
    std::array<QLineEdit *, siblingRowCount> MonthEdits;
    std::array<QLineEdit *, siblingRowCount> YearEdits;
    std::array<QPushButton *, siblingRowCount> CancelButtons;
    QPushButton *Button201;

private:
    void addRow(int row);

    // RadioGroup201Click to RadioGroup210Click
    void RadioGroupClick(int row);
    // Button1Click to Button10Click: "Отменить выбор"
    void CancelClick(int row);
    void Button201Click();

    SiblingRows rowsEntered() const;
};

using SiblingsWindow = TForm2;
