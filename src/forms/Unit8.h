#pragma once

#include "core/Form.h"

class QLineEdit;
class QPushButton;

// Placeholder until this window is built: passes straight on.
class TForm8 : public Form
{
    Q_OBJECT
public:
    explicit TForm8(QWidget *owner = nullptr);
    QLineEdit *Edit105;
    QPushButton *Button4;

private:
    void Button4Click();
};
