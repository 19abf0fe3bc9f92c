#pragma once

#include "engine/HandednessScore.h"
#include "windows/Form.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class RadioGroup;

// Hand and eye preference: five practical tests, the twelve-question
// handedness questionnaire reduced to a score and a class, and the expression
// item at the foot of the page.
class TForm4 : public Form
{
    Q_OBJECT
public:
    explicit TForm4(Session &session, QWidget *owner = nullptr);

    QLineEdit *Edit12; // subject
    QLabel *Image1;    // interlaced fingers
    QLabel *Image2;    // folded arms
    QLabel *Image3;    // clap
    QLabel *Image4;    // sighting line
    RadioGroup *RadioGroup1; // thumb on top
    RadioGroup *RadioGroup2; // forearm on top
    RadioGroup *RadioGroup3; // palm on top in a clap
    RadioGroup *RadioGroup4; // eye easier to shut
    RadioGroup *RadioGroup5; // pencil shift when sighting
    std::array<RadioGroup *, handQuestionCount> questionnaire; // RadioGroup6 ... RadioGroup17
    QLabel *Image8;    // the expression
    QLineEdit *Edit18; // value of the expression
    QPushButton *Button1;

private:
    static constexpr int answerGroupCount = 5 + handQuestionCount;

    void RadioGroup1Click();
    void RadioGroup2Click();
    void RadioGroup3Click();
    void RadioGroup4Click();
    void RadioGroup5Click();
    void QuestionnaireClick(int question);
    void Button1Click();

    void captureExpressionAnswer();

    std::array<int, answerGroupCount> answered{};
    std::array<double, handQuestionCount> itemValues{};
};

using HandEyeWindow = TForm4;
