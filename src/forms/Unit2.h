#pragma once

#include "core/Form.h"

class QLineEdit;
class QPushButton;

// Placeholder until this window is built: passes straight on.
class TForm2 : public Form
{
    Q_OBJECT
public:
    explicit TForm2(QWidget *owner = nullptr);
    QLineEdit *Edit1;
    QPushButton *Button201;

private:
    void Button201Click();
};
