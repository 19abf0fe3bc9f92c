#include "forms/Sequence.h"

#include "engine/DateTime.h"
#include "engine/JournalFile.h"
#include "engine/MonotonicClock.h"
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

#include <QLineEdit>
#include <QPushButton>

#include <QtGlobal>

namespace sequence {

namespace {

template <class Window>
Form *make(Session &session)
{
    auto *window = new Window(session);
    currentInstance<Window> = window;
    return window;
}

struct Station
{
    Step step;
    const QMetaObject *window;
    Form *(*create)(Session &);
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

// What a window needs beyond the subject when it is reached.
void prepare(Step step, Form *window)
{
    if (step == Step::MathSheet)
        static_cast<MathSheetWindow *>(window)->start();
}

// Puts back what the window in progress had: the typed words and spent
// recordings of a listening series; the answers of the mathematics sheet,
// whose warning and lock come after its time on screen in all, the warning
// only if not shown before.
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
        sheet->goOn(kept.onScreenMilliseconds, kept.warningShown);
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
    return stepOf(*window->metaObject());
}

Step stepOf(const QMetaObject &windowClass)
{
    for (const Station &s : stations)
        if (&windowClass == s.window)
            return s.step;
    qFatal("%s is no window of the run", windowClass.className());
}

} // namespace sequence

using namespace sequence;

Sequence::Sequence(StudySettings settings)
    : own(std::move(settings))
{
    logApplicationFocus(own.items, this);
    setMessageWitness([this](const QString &text) { own.items.event(QStringLiteral("message-shown"), text); });
}

Sequence::~Sequence()
{
    setMessageWitness({});
}

// The one branch of the run: the siblings window only for subjects with siblings.
Step Sequence::stepAfter(Step step) const
{
    const int next = int(order().indexOf(step)) + 1;
    Q_ASSERT(next < order().size());
    if (order()[next] == Step::Siblings && own.record.InfoHasSiblings != QStringLiteral("1"))
        return order()[next + 1];
    return order()[next];
}

// What the window in progress needs to go on after a restart.
WindowProgress Sequence::progressOf(Form *window) const
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
        kept.onScreenMilliseconds = own.windowOnScreenMilliseconds();
        kept.warningShown = sheet->warningShown();
    }
    return kept;
}

void Sequence::keep(Form *window) const
{
    if (own.journaled())
        own.writeJournal(progressOf(window));
}

Form *Sequence::create(Step step)
{
    Form *window = stationOf(step).create(own);
    connect(window, &Form::accepted, this, [this, window] { forward(window); });
    connect(window, &Form::progressed, this, [this, window] { keep(window); });
    return window;
}

// Shows the window in progress, journaled from here.
void Sequence::enter(Form *window, int tasksDone, qint64 earlierOnScreen)
{
    own.windowEntered(tasksDone, earlierOnScreen);
    window->present();
    keep(window);
}

Form *Sequence::start()
{
    Form *first = create(order().first());
    first->present();
    return first;
}

Form *Sequence::begin(const QString &journalPath)
{
    if (journalPath.isEmpty())
        return start();
    own.keepJournalAt(journalPath);
    FoundJournal found = findJournal(journalPath, QString::fromLatin1(cogbatteryVersion), fromDateTime(now()).toUTC(),
                                     own.settings.resumeHours);
    if (found.standing == JournalStanding::Resumable) {
        if (askToResume(*found.journal))
            return resume(std::move(*found.journal));
        removeJournal(journalPath);
    } else if (found.standing != JournalStanding::Absent) {
        showMessage(notResumedText(found));
    }
    return start();
}

Form *Sequence::resume(Journal journal)
{
    const WindowProgress kept = journal.progress;
    const int tasksDone = journal.tasksDone;
    own.takeUp(std::move(journal));
    const auto found = std::find_if(std::begin(stations), std::end(stations), [&](const Station &s) {
        return QLatin1String(s.window->className()) == kept.window;
    });
    const Step step = found == std::end(stations) ? order().first() : found->step;
    Form *window = create(step);
    window->showSubject();
    prepare(step, window);
    restore(window, kept);
    enter(window, tasksDone, kept.onScreenMilliseconds);
    return window;
}

Form *Sequence::forward(Form *from)
{
    const Step next = stepAfter(stepOf(from));
    Form *window = create(next);
    from->handOverTo(window);
    prepare(next, window);
    enter(window, own.tasksDone() + 1, 0);
    return window;
}
