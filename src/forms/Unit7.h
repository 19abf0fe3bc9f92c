#pragma once

#include "windows/Form.h"

#include <array>

class QGridLayout;
class QLineEdit;
class QPushButton;
class QTimer;

// The mathematics problem sheet: fifteen problems under a 50-minute warning
// and a 60-minute lock, scored on "Дальше".
class TForm7 : public Form
{
    Q_OBJECT
public:
    explicit TForm7(Session &session, QWidget *owner = nullptr);

    QLineEdit *Edit105; // subject
    QLineEdit *Edit16;  // И, characters of the name
    QLineEdit *Edit17;  // Ф, characters of the surname
    std::array<QLineEdit *, 15> answerFields; // Edit1 ... Edit15
    QTimer *Timer1;     // 60 minutes: the lock
    QTimer *Timer2;     // 50 minutes: the warning
    QPushButton *Button2;

    // The sheet is reached: the 60 and 50 minutes count from here, and the
    // parameters И and Ф show the lengths of the subject's name and surname.
    void start();

    // The sheet taken up after an interruption, `onScreenMilliseconds` of
    // sheet time already spent: the lock comes at 60 minutes in all; the
    // warning once, at 50 minutes in all or at once when they are past, unless
    // it was shown before or the lock is due as well.
    void goOn(qint64 onScreenMilliseconds, bool warned);
    bool warningShown() const { return warned; }

private:
    void Timer1Timer();
    void Timer2Timer();
    void Button2Click();

    QLineEdit *addParameter(QGridLayout *grid, int row, const QString &labelName, const QString &caption,
                            const QString &editName);
    void addProblem(int number, const QString &headingName, const QString &heading, QWidget *problem);
    QWidget *problemPicture(int number, int image);
    QTimer *addTimer(const QString &objectName, int minutes);

    bool warned = false;
};

using MathSheetWindow = TForm7;
