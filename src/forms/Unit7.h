#pragma once

#include "core/Form.h"

class QLineEdit;
class QPushButton;

// Placeholder until this window is built: passes straight on.
class TForm7 : public Form
{
    Q_OBJECT
public:
    explicit TForm7(QWidget *owner = nullptr);
    QLineEdit *Edit105;
    QPushButton *Button2;

private:
    void Button2Click();
};
