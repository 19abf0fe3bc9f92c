#include "engine/ItemColumns.h"

using namespace Qt::Literals::StringLiterals;

const QList<ItemColumnMeaning> &itemFileColumns()
{
    const QString seconds = u"секунды / seconds"_s;
    static const QList<ItemColumnMeaning> meanings{
        {u"session"_s, u"text"_s, {}, {}, u"Случайный UUID прохождения, один во всех строках"_s,
         u"Random UUID of the run, the same in all its rows"_s, {}},
        {u"battery_version"_s, u"text"_s, {}, {}, u"Версия батареи"_s, u"Version of the battery"_s, {}},
        {u"trial_index"_s, u"integer"_s, {}, 1,
         u"Номер строки в прохождении: 1, 2, … по времени от начала (time_elapsed); вместе с session — ключ строки"_s,
         u"Row of the run: 1, 2, … in order of time_elapsed; with session the row's key"_s, {}},
        {u"kind"_s, u"code"_s, {}, {}, u"Вид строки"_s, u"Kind of row"_s,
         {{u"item"_s, u"пункт, на который отвечают: вопрос, поле слова, задача, матрица"_s,
           u"something presented that the subject answers: a question, a word field, a problem, a matrix"_s},
          {u"action"_s, u"нажатие, которое само есть проба: операция калькулятора, выбор правила"_s,
           u"a press that is a trial of its own: a calculator operation, a rule choice"_s},
          {u"event"_s, u"событие: окно показано или оставлено, фокус потерян или возвращён, запись началась или "
                       u"кончилась, проверка наушников, сообщение, истечение времени математики, продолжение после "
                       u"прерывания"_s,
           u"an event: window shown or left, focus lost or regained, recording started or ended, headphone check, "
           u"message, the mathematics time limit, the run taken up again after an interruption"_s}}},
        {u"task"_s, u"code"_s, {}, {}, u"Задание"_s, u"Task"_s,
         {{u"handedness"_s, u"рука и глаз: пять проб и двенадцать вопросов"_s,
           u"hand and eye: five tests and twelve questions"_s},
          {u"expression"_s, u"пример с формулами сокращённого умножения"_s, u"the expression item"_s},
          {u"dichotic"_s, u"дихотическое прослушивание: слово записи или поле ответа"_s,
           u"dichotic listening: a word of a recording or an answer field"_s},
          {u"math"_s, u"математическая задача"_s, u"mathematics problem"_s},
          {u"calculator"_s, u"операция необычного калькулятора"_s, u"an operation of the unusual calculator"_s},
          {u"rules"_s, u"выбор правила калькулятора"_s, u"a choice on the calculator's rule window"_s},
          {u"matrices"_s, u"прогрессивные матрицы"_s, u"progressive matrices"_s},
          {u"session"_s, u"событие окна без задания или всего прохождения"_s,
           u"an event of a window without a task, or of the whole run"_s}}},
        {u"trial"_s, u"integer"_s, {}, 1, u"Номер пробы в задании и виде строки, по порядку предъявления"_s,
         u"Trial within the task and kind, in order of presentation"_s, {}},
        {u"item"_s, u"text"_s, {}, {},
         u"Постоянный код пункта: thumb…sight, hand01…hand12, expression, dichotic1-03A2 (серия, запись, канал, "
         u"позиция), dichotic1-03-field5 (поле ответа), math01…math15, calculator-lasm, rule-lasm-less-difference, "
         u"rule-lasm-cancel, matrix01…matrix15; для события — его имя (window-shown, window-left, focus-lost, "
         u"focus-regained, recording-started, recording-ended, headphones-played, message-shown, math-lock, resumed)"_s,
         u"Fixed id of the item: thumb…sight, hand01…hand12, expression, dichotic1-03A2 (series, recording, "
         u"channel, position), dichotic1-03-field5 (answer field), math01…math15, calculator-lasm, "
         u"rule-lasm-less-difference, rule-lasm-cancel, matrix01…matrix15; for an event its name (window-shown, "
         u"window-left, focus-lost, focus-regained, recording-started, recording-ended, headphones-played, "
         u"message-shown, math-lock, resumed)"_s, {}},
        {u"stimulus"_s, u"text"_s, {}, {},
         u"Что предъявлено: вопрос; слово с каналом и ухом («кот (channel A, ear B)»); И и Ф задач; операция; "
         u"рисунок матрицы; для события — чего оно касается (окно, запись, текст сообщения)"_s,
         u"What was presented: the question; the word with its channel and ear (\"кот (channel A, ear B)\"); "
         u"the sheet's И and Ф; the operation; the matrix picture; for an event what it concerns (the window, "
         u"the recording, the message's text)"_s, {}},
        {u"response"_s, u"text"_s, {}, {},
         u"Ответ точно как дан (набранный текст как набран, с ошибками и пробелами; код выбора); для слова — текст "
         u"поля, воспроизведшего его; для калькулятора — A и B; для правила — нажатая кнопка; для конца записи — "
         u"complete (доиграла) или cut-short (прервана другой); для resumed — перерыв в секундах"_s,
         u"The answer exactly as given (typed text as typed, with misspellings and blanks; a choice's code); for a "
         u"word the text of the field that recalled it; for the calculator A and B; for a rule the button pressed; "
         u"for a recording's end complete, or cut-short by another request; for resumed the gap in seconds"_s, {}},
        {u"recalled"_s, u"text"_s, {}, {}, u"Для поля ответа прослушивания: слово, которое оно воспроизвело"_s,
         u"For a listening answer field: the word it recalled"_s, {}},
        {u"correct_response"_s, u"text"_s, {}, {},
         u"Верный ответ для этого испытуемого; для калькулятора — показанный результат"_s,
         u"The right answer for this subject; for the calculator the result shown"_s, {}},
        {u"correct"_s, u"code"_s, {}, {},
         u"Ответ верен; для слова — слово воспроизведено; для поля — поле воспроизвело слово; для правила — "
         u"выбрано верное правило"_s,
         u"The response is right; for a word, the word was recalled; for a field, it recalled a word; for a rule "
         u"choice, the rule chosen is a right one"_s,
         {{u"1"_s, u"верно"_s, u"right"_s}, {u"0"_s, u"неверно или нет ответа"_s, u"wrong or no answer"_s}}},
        {u"in_force"_s, u"code"_s, {}, {},
         u"Для выбора правила: действует ли он в конце (не отменён); результат правил — сумма correct по строкам "
         u"с in_force = 1"_s,
         u"For a rule choice: whether it is still in force at the end (not cancelled); the rules result is the sum "
         u"of correct over rows with in_force = 1"_s,
         {{u"1"_s, u"действует"_s, u"in force"_s}, {u"0"_s, u"отменён"_s, u"cancelled"_s}}},
        {u"onset"_s, u"real"_s, seconds, 0,
         u"От показа окна задания до предъявления пункта (для слова и поля — до начала звучания записи; для "
         u"действия — до показа кнопок)"_s,
         u"From the task's window on screen to the item's presentation (for a word or a field, the moment its "
         u"recording started sounding; for an action, the buttons' presentation)"_s, {}},
        {u"time_elapsed"_s, u"real"_s, seconds, 0,
         u"От начала прохождения (первое окно на экране) до предъявления; для события — до события"_s,
         u"From the run's start (the first window on screen) to the presentation; for an event, to the event"_s, {}},
        {u"response_time"_s, u"real"_s, seconds, 0,
         u"От предъявления до последнего изменения принятого ответа (для действия — до нажатия)"_s,
         u"From the presentation to the accepted answer's last change (for an action, to the press)"_s, {}},
        {u"response_elapsed"_s, u"real"_s, seconds, 0,
         u"От начала прохождения до последнего изменения ответа или нажатия"_s,
         u"From the run's start to the answer's last change or the press"_s, {}},
        {u"changes"_s, u"integer"_s, {}, 0,
         u"Сколько раз менялся принятый ответ: для поля — каждое завершённое изменение (уход из поля или Enter) с "
         u"новым значением; для выбора — каждый щелчок, меняющий выбор"_s,
         u"How many times the accepted answer changed: for a typed field each finished edit (focus left or Enter) "
         u"with a new value; for a choice each click that changes it"_s, {}},
        {u"keystrokes"_s, u"integer"_s, {}, 0, u"Для набираемого поля: число правок текста"_s,
         u"For a typed field: the number of edits of its text"_s, {}},
        {u"ended_on"_s, u"code"_s, {}, {}, u"Чем закончился пункт"_s, u"How the item ended"_s,
         {{u"response"_s, u"ответ"_s, u"an answer"_s},
          {u"empty"_s, u"без ответа"_s, u"no answer"_s},
          {u"timeout"_s, u"истекло время (60 минут математики), ответа нет"_s,
           u"time ran out (the 60 minutes of mathematics) with no answer"_s}}},
    };
    return meanings;
}

const QList<ItemColumnMeaning> &itemColumnMeanings()
{
    static const QList<ItemColumnMeaning> meanings = [] {
        QList<ItemColumnMeaning> all{
            {u"subject"_s, u"text"_s, {}, {}, u"Код испытуемого, как в таблице результатов"_s,
             u"Subject code, as in the results table"_s, {}},
            {u"run"_s, u"integer"_s, {}, 1, u"Номер прохождения испытуемого, как в таблице результатов"_s,
             u"The subject's run, as in the results table"_s, {}},
            {u"resumed"_s, u"integer"_s, {}, 0,
             u"Сколько раз прохождение продолжено после прерывания (сбой, отключение питания): 0 — ни разу; "
             u"время прохождения тогда складывается из нескольких сеансов"_s,
             u"How many times the run was taken up again after an interruption (a crash, a power cut): 0, never; "
             u"otherwise its times span several sessions"_s, {}}};
        return all + itemFileColumns();
    }();
    return meanings;
}

QList<QStringList> itemCodebookRows()
{
    QList<QStringList> rows;
    for (const ItemColumnMeaning &column : itemColumnMeanings()) {
        QStringList russian;
        QStringList english;
        for (const QStringList &code : column.codes) {
            russian << code[0] + u" = "_s + code[1];
            english << code[0] + u" = "_s + code[2];
        }
        rows << QStringList{u"items."_s + column.name, {}, column.type, column.unit,
                            column.minimum ? QString::number(*column.minimum) : QString(), {}, column.russian,
                            column.english, russian.join(u"; "_s), english.join(u"; "_s)};
    }
    return rows;
}
