#pragma once

#include "core/Form.h"

class QLineEdit;
class QPushButton;

// Placeholder until this window is built: passes straight on.
class TForm12 : public Form
{
    Q_OBJECT
public:
    explicit TForm12(QWidget *owner = nullptr);
    QLineEdit *Edit105;
    QPushButton *Button1;

private:
    void Button1Click();
};
