#pragma once

#include "core/Form.h"

class QLineEdit;
class QPushButton;

// Placeholder until this window is built: passes straight on.
class TForm9 : public Form
{
    Q_OBJECT
public:
    explicit TForm9(QWidget *owner = nullptr);
    QLineEdit *Edit105;
    QPushButton *Button37;

private:
    void Button37Click();
};
