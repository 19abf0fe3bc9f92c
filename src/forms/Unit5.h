#pragma once

#include "core/Form.h"

class QLineEdit;
class QPushButton;

// Placeholder until this window is built: passes straight on.
class TForm5 : public Form
{
    Q_OBJECT
public:
    explicit TForm5(QWidget *owner = nullptr);
    QLineEdit *Edit105;
    QPushButton *Button14;

private:
    void Button14Click();
};
