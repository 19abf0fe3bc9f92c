#include "forms/Sequence.h"

#include "engine/DateTime.h"
#include "engine/JournalFile.h"
#include "engine/MonotonicClock.h"
#include "engine/RunRecord.h"
#include "engine/StudySettings.h"
#include "engine/Version.h"
#include "forms/Unit1.h"
#include "forms/Unit10.h"
#include "forms/Unit11.h"
#include "forms/Unit12.h"
#include "forms/Unit13.h"
#include "forms/Unit2.h"
#include "forms/Unit4.h"
#include "forms/Unit5.h"
#include "forms/Unit6.h"
#include "forms/Unit7.h"
#include "forms/Unit8.h"
#include "forms/Unit9.h"
#include "windows/FocusLog.h"
#include "windows/Messages.h"
#include "windows/ResumeQuestion.h"
#include "windows/RunJournal.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <QtGlobal>

namespace sequence {

namespace {

template <class Window>
Form *make()
{
    auto *window = new Window;
    currentInstance<Window> = window;
    return window;
}

struct Station
{
    Step step;
    const QMetaObject *window;
    Form *(*create)();
};

template <class Window>
constexpr Station station(Step step)
{
    return {step, &Window::staticMetaObject, make<Window>};
}

// The order of the run, written once.
const Station stations[] = {
    station<PersonalWindow>(Step::Personal),
    station<SiblingsWindow>(Step::Siblings),
    station<HandEyeWindow>(Step::HandEye),
    station<FormulasWindow>(Step::Formulas),
    station<ListeningSeries1Window>(Step::ListeningSeries1),
    station<ListeningSeries2Window>(Step::ListeningSeries2),
    station<MathStartWindow>(Step::MathStart),
    station<MathSheetWindow>(Step::MathSheet),
    station<CalculatorWindow>(Step::Calculator),
    station<CalculatorRulesWindow>(Step::CalculatorRules),
    station<MatricesWindow>(Step::Matrices),
    station<CompletionWindow>(Step::Completion),
};

const Station &stationOf(Step step)
{
    for (const Station &s : stations)
        if (s.step == step)
            return s;
    qFatal("no window for step %d", int(step));
}

// The one branch of the run: the siblings window only for subjects with siblings.
Step stepAfter(Step step)
{
    const int next = int(order().indexOf(step)) + 1;
    Q_ASSERT(next < order().size());
    if (order()[next] == Step::Siblings && run().InfoHasSiblings != QStringLiteral("1"))
        return order()[next + 1];
    return order()[next];
}

// What a window needs beyond the subject when it is reached.
void prepare(Step step, Form *window)
{
    if (step == Step::MathSheet)
        static_cast<MathSheetWindow *>(window)->start();
}

// The run's progress for its journal: windows accepted, and when the window
// in progress was shown in this session after how long on screen before.
struct Progress
{
    int tasksDone = 0;
    qint64 shownAt = 0;
    qint64 earlierOnScreen = 0;
};
Progress progress;

constexpr qint64 minute = 60 * 1000;

// What the window in progress needs to go on after a restart.
WindowProgress progressOf(Form *window)
{
    WindowProgress kept{QString::fromLatin1(window->metaObject()->className()), {}, {}, 0};
    if (auto *series = qobject_cast<DichoticSeries *>(window)) {
        for (const QLineEdit *field : series->answers)
            kept.answers << field->text();
        for (int recording = 1; recording <= recordingCount; ++recording)
            if (!series->playButtons[recording - 1]->isEnabled())
                kept.spent << recording;
    } else if (auto *sheet = qobject_cast<MathSheetWindow *>(window)) {
        for (const QLineEdit *field : sheet->answerFields)
            kept.answers << field->text();
        kept.onScreenMilliseconds = progress.earlierOnScreen + monotonicMilliseconds() - progress.shownAt;
    }
    return kept;
}

void keep(Form *window)
{
    runJournal::write(progress.tasksDone, progressOf(window));
}

// The listening series and the mathematics sheet are kept at every answer:
// a recording played, a field left, the sheet locked.
void keepAtEveryAnswer(Form *window)
{
    const auto keepThis = [window] { keep(window); };
    if (auto *series = qobject_cast<DichoticSeries *>(window)) {
        for (QPushButton *play : series->playButtons)
            QObject::connect(play, &QPushButton::clicked, window, keepThis);
        for (QLineEdit *field : series->answers)
            QObject::connect(field, &QLineEdit::editingFinished, window, keepThis);
    } else if (auto *sheet = qobject_cast<MathSheetWindow *>(window)) {
        for (QLineEdit *field : sheet->answerFields)
            QObject::connect(field, &QLineEdit::editingFinished, window, keepThis);
        QObject::connect(sheet->Timer1, &QTimer::timeout, window, keepThis);
    }
}

// Shows the window in progress, journaled from here.
void enter(Form *window, qint64 earlierOnScreen)
{
    progress.shownAt = monotonicMilliseconds();
    progress.earlierOnScreen = earlierOnScreen;
    window->present();
    if (runJournal::kept())
        keepAtEveryAnswer(window);
    keep(window);
}

// Puts back what the window in progress had: the typed words and spent
// recordings of a listening series; the answers of the mathematics sheet,
// whose warning and lock come after its time on screen in all.
void restore(Form *window, const WindowProgress &kept)
{
    if (auto *series = qobject_cast<DichoticSeries *>(window)) {
        for (qsizetype i = 0; i < qMin(kept.answers.size(), qsizetype(series->answers.size())); ++i)
            series->answers[i]->setText(kept.answers[i]);
        for (int recording : kept.spent)
            if (recording <= recordingCount)
                series->playButtons[recording - 1]->setEnabled(false);
    } else if (auto *sheet = qobject_cast<MathSheetWindow *>(window)) {
        for (qsizetype i = 0; i < qMin(kept.answers.size(), qsizetype(sheet->answerFields.size())); ++i)
            sheet->answerFields[i]->setText(kept.answers[i]);
        const auto remaining = [&](QTimer *timer) { return qMax<qint64>(0, timer->interval() - kept.onScreenMilliseconds); };
        if (kept.onScreenMilliseconds < sheet->Timer2->interval())
            sheet->Timer2->start(int(remaining(sheet->Timer2)));
        else
            sheet->Timer2->stop(); // the warning came before the interruption
        sheet->Timer1->start(int(remaining(sheet->Timer1)));
    }
}

} // namespace

const QList<Step> &order()
{
    static const QList<Step> steps = [] {
        QList<Step> list;
        for (const Station &s : stations)
            list << s.step;
        return list;
    }();
    return steps;
}

Step stepOf(const Form *window)
{
    for (const Station &s : stations)
        if (window->metaObject() == s.window)
            return s.step;
    qFatal("%s is no window of the run", window->metaObject()->className());
}

Form *create(Step step)
{
    return stationOf(step).create();
}

Form *start()
{
    logApplicationFocus();
    progress = {};
    Form *first = create(order().first());
    first->present();
    return first;
}

Form *begin(const QString &journalPath)
{
    if (journalPath.isEmpty())
        return start();
    runJournal::keepAt(journalPath);
    FoundJournal found = findJournal(journalPath, QString::fromLatin1(cogbatteryVersion), fromDateTime(now()).toUTC(),
                                     studySettings().resumeHours);
    if (found.standing == JournalStanding::Resumable) {
        if (askToResume(*found.journal))
            return resume(std::move(*found.journal));
        removeJournal(journalPath);
    } else if (found.standing != JournalStanding::Absent) {
        showMessage(notResumedText(found));
    }
    return start();
}

Form *resume(Journal journal)
{
    const WindowProgress kept = journal.progress;
    progress = {};
    progress.tasksDone = journal.tasksDone;
    runJournal::takeUp(std::move(journal));
    const auto found = std::find_if(std::begin(stations), std::end(stations), [&](const Station &s) {
        return QLatin1String(s.window->className()) == kept.window;
    });
    const Step step = found == std::end(stations) ? order().first() : found->step;
    Form *window = create(step);
    window->showSubject();
    prepare(step, window);
    restore(window, kept);
    enter(window, kept.onScreenMilliseconds);
    return window;
}

Form *forward(Form *from)
{
    const Step next = stepAfter(stepOf(from));
    Form *window = create(next);
    from->handOverTo(window);
    prepare(next, window);
    ++progress.tasksDone;
    enter(window, 0);
    return window;
}

} // namespace sequence

void Form::forward()
{
    sequence::forward(this);
}
