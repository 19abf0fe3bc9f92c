#pragma once

#include "engine/RavenKey.h"
#include "windows/Form.h"

#include <array>

class QImage;
class QLabel;
class QLineEdit;
class QPushButton;

// The express test of progressive matrices: fifteen picture items answered by
// the number of the fitting candidate, scored in total and in blocks, with
// the time spent on the window.
class TForm12 : public Form
{
    Q_OBJECT
public:
    explicit TForm12(Session &session, QWidget *owner = nullptr);

    // The picture of item 1 to 15, decoded from the program's own JPEG, at the
    // size for the screens' device pixel ratio.
    static QImage picture(int item);

    QLineEdit *Edit105; // subject
    std::array<QLabel *, ravenItemCount> Images{};   // Image1 to Image15
    std::array<QLineEdit *, ravenItemCount> Edits{}; // Edit1 to Edit15
    QPushButton *Button1;

    // The numbers typed for items 1 to 15, as converted by the last press.
    std::array<int, ravenItemCount> RavenAnswer{};

private:
    void addItem(int item);
    void Button1Click();
};

using MatricesWindow = TForm12;
