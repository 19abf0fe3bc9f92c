#include "windows/ResumeQuestion.h"

#include "windows/Messages.h"

bool askToResume(const Journal &journal)
{
    enum Answer { GoOn, StartAfresh };
    const RunRecord &r = journal.record;
    const QString question = QStringLiteral("Продолжить прерванное тестирование?\n\n"
                                            "Испытуемый: %1 %2\nНачато: %3 в %4\nВыполнено заданий: %5")
                                 .arg(r.InfoSurname, r.InfoName, r.InfoTestDate, r.InfoStartTime)
                                 .arg(journal.tasksDone);
    if (askMessage(question, {QStringLiteral("Продолжить"), QStringLiteral("Начать заново")}, GoOn) == GoOn)
        return true;
    enum Confirmation { Delete, Keep };
    return askMessage(QStringLiteral("Начать тестирование заново? Ответы прерванного тестирования будут удалены."),
                      {QStringLiteral("Начать заново"), QStringLiteral("Продолжить прерванное")}, Keep)
        != Delete;
}

QString notResumedText(const FoundJournal &found)
{
    return QStringLiteral("Прерванное тестирование нельзя продолжить (%1); тестирование начинается заново.")
        .arg(found.why);
}
