#pragma once

#include "engine/ResultsFile.h"
#include "windows/Form.h"

class QLineEdit;
class QPushButton;
class RadioGroup;

// Completion: five closing questions, the finishing time, the results file
// and the end of the run.
class TForm13 : public Form
{
    Q_OBJECT
public:
    explicit TForm13(Session &session, QWidget *owner = nullptr);

    QLineEdit *Edit105; // subject
    RadioGroup *RadioGroup1; // musical instrument
    RadioGroup *RadioGroup2; // algebra mark
    RadioGroup *RadioGroup3; // geometry mark
    QLineEdit *Edit1;   // wished profession
    QLineEdit *Edit2;   // contact
    QPushButton *Button1;

private:
    void RadioGroup1Click();
    void RadioGroup2Click();
    void RadioGroup3Click();
    void Button1Click();
    bool savedWhereChosen(QString reason);
    void sendToOrganisers();

    int FinalInstrumentAnswered = 0;
    int FinalAlgebraAnswered = 0;
    int FinalGeometryAnswered = 0;
    SavedResults resultsFile; // set by the first save; a retry rewrites it
};

using CompletionWindow = TForm13;
