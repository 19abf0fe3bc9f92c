#pragma once

#include "windows/Form.h"

class QLineEdit;
class QPushButton;
class RadioGroup;

// Personal information: the welcome, twelve background questions, the start
// moment of the run and the subject's age.
class TForm1 : public Form
{
    Q_OBJECT
public:
    explicit TForm1(Session &session, QWidget *owner = nullptr);

    QLineEdit *Edit1;  // surname
    QLineEdit *Edit2;  // name
    QLineEdit *Edit3;  // school
    QLineEdit *Edit4;  // class
    QLineEdit *Edit5;  // birth day
    QLineEdit *Edit6;  // birth month
    QLineEdit *Edit7;  // birth year
    QLineEdit *Edit8;  // years of concussions
    QLineEdit *Edit9;  // years of head injuries
    QLineEdit *Edit10; // reason of poor hearing
    RadioGroup *RadioGroup1; // handedness
    RadioGroup *RadioGroup2; // sex
    RadioGroup *RadioGroup3; // siblings
    RadioGroup *RadioGroup4; // hearing
    RadioGroup *RadioGroup5; // concussion
    RadioGroup *RadioGroup6; // head injury
    RadioGroup *RadioGroup7; // nervous disorder
    QPushButton *Button1;

private:
    void Edit1Change();
    void RadioGroup1Click();
    void RadioGroup2Click();
    void RadioGroup3Click();
    void RadioGroup4Click();
    void RadioGroup5Click();
    void RadioGroup6Click();
    void RadioGroup7Click();
    void Button1Click();

    void storeAnswers();

    RadioGroup *addYesNoWithDetail(const QString &objectName, const QString &question, QLineEdit *&detail,
                                   const QString &detailName, const QString &detailCaption, const QString &hint);
    void yesNoWithDetail(RadioGroup *group, QLineEdit *detail, QString &field, int &answered);

    int InfoSexAnswered = 0;
    int InfoHandednessAnswered = 0;
    int InfoConcussionAnswered = 0;
    int InfoHeadInjuryAnswered = 0;
    int InfoSiblingsAnswered = 0;
    int InfoHearingAnswered = 0;
};

using PersonalWindow = TForm1;
