#pragma once

#include <QString>

// Every answer and score of one run. Texts hold what the subject typed or the
// answer code of a clicked item; the results file writes 69 of these fields.
struct RunRecord
{
    // Personal information
    QString InfoSurname;
    QString InfoName;
    QString InfoSex;
    QString InfoBirthDate;
    QString InfoTestDate;
    QString InfoStartTime;
    QString InfoSchool;
    QString InfoGrade;
    QString InfoHandedness;
    QString InfoNervousDisorder;
    QString InfoConcussion;
    QString InfoHeadInjury;
    QString InfoHasSiblings;
    QString InfoHearingProblem;
    int InfoAgeDays = 0;
    double InfoAgeYears = 0;
    double InfoStartMoment = 0;
    qint64 InfoStartMonotonic = 0; // the same moment on the monotonic clock, for the duration
    int InfoBirthYear = 0;
    int InfoBirthMonth = 0;
    int InfoNameLength = 0;
    int InfoSurnameLength = 0;

    // Siblings
    int SibBirthOrder = 0;
    QString SibDescription[10];
    int SibWithYearCount = 0;
    int SibSameMonthCount = 0;
    int SibWithoutYearCount = 0;
    int SibWindowPassed = 0;

    // Hand and eye preference
    QString LatThumbCode;
    QString LatArmCode;
    QString LatClapCode;
    QString LatWinkCode;
    QString LatSightCode;
    QString LatHandScore;
    QString LatHandClass;

    // Expression item and its follow-up
    double ExprAnswer = 0;
    QString ExprFormulaUse;

    // Dichotic listening
    QString DichTotalCoefText;
    QString DichSeriesAgreement;
    QString DichEarAdvantage;
    int DichS1EarA = 0;
    int DichS1EarB = 0;
    int DichS2EarA = 0;
    int DichS2EarB = 0;
    double DichS1Coef = 0;
    double DichS2Coef = 0;

    // Mathematics
    int MathCorrectTotal = 0;
    int MathCorrectExpressions = 0;
    int MathCorrectProblems = 0;

    // Unusual calculator
    int CalcUseCount = 0;
    QString CalcLasmResult;
    QString CalcVadlResult;
    QString CalcParmResult;
    int CalcCorrectCount = 0;

    // Progressive matrices
    double RavenStartTime = 0;
    qint64 RavenStartMonotonic = 0; // the same moment on the monotonic clock, for the duration
    QString RavenDurationText;
    int RavenTotal = 0;
    int RavenBlock1 = 0;
    int RavenBlock2 = 0;
    int RavenBlock3 = 0;
    int RavenBlock4 = 0;
    int RavenBlock5 = 0;

    // Completion
    QString FinalFinishTime;
    QString FinalDuration;
    QString FinalMusicalInstrument;
    QString FinalCareer;
    QString FinalContact;
    QString FinalAlgebraMark;
    QString FinalGeometryMark;

    bool operator==(const RunRecord &) const = default;
};
