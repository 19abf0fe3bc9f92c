#pragma once

#include "core/Form.h"

class QLineEdit;
class QPushButton;

// Placeholder until this window is built: passes straight on.
class TForm10 : public Form
{
    Q_OBJECT
public:
    explicit TForm10(QWidget *owner = nullptr);
    QLineEdit *Edit105;
    QPushButton *Button1;

private:
    void Button1Click();
};
