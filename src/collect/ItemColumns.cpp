#include "collect/ItemColumns.h"

using namespace Qt::Literals::StringLiterals;

const QList<ItemColumnMeaning> &itemColumnMeanings()
{
    const QString seconds = u"секунды / seconds"_s;
    static const QList<ItemColumnMeaning> meanings{
        {u"subject"_s, u"text"_s, {}, {}, u"Код испытуемого, как в таблице результатов"_s,
         u"Subject code, as in the results table"_s, {}},
        {u"run"_s, u"integer"_s, {}, 1, u"Номер прохождения испытуемого, как в таблице результатов"_s,
         u"The subject's run, as in the results table"_s, {}},
        {u"session"_s, u"text"_s, {}, {}, u"Случайный UUID прохождения, один во всех строках"_s,
         u"Random UUID of the run, the same in all its rows"_s, {}},
        {u"battery_version"_s, u"text"_s, {}, {}, u"Версия батареи"_s, u"Version of the battery"_s, {}},
        {u"task"_s, u"code"_s, {}, {}, u"Задание"_s, u"Task"_s,
         {{u"handedness"_s, u"рука и глаз: пять проб и двенадцать вопросов"_s, u"hand and eye: five tests and twelve questions"_s},
          {u"expression"_s, u"пример с формулами сокращённого умножения"_s, u"the expression item"_s},
          {u"dichotic"_s, u"дихотическое прослушивание: слово записи"_s, u"dichotic listening: a word of a recording"_s},
          {u"math"_s, u"математическая задача"_s, u"mathematics problem"_s},
          {u"calculator"_s, u"операция необычного калькулятора"_s, u"an operation of the unusual calculator"_s},
          {u"rules"_s, u"выбор правила калькулятора"_s, u"a choice on the calculator's rule window"_s},
          {u"matrices"_s, u"прогрессивные матрицы"_s, u"progressive matrices"_s}}},
        {u"trial"_s, u"integer"_s, {}, 1, u"Номер пробы в задании, по порядку предъявления или действия"_s,
         u"Trial within the task, in order of presentation or action"_s, {}},
        {u"item"_s, u"text"_s, {}, {},
         u"Постоянный код пункта: thumb…sight, hand01…hand12, expression, dichotic1-03A2 (серия, запись, канал, "
         u"позиция), math01…math15, calculator-lasm, rule-lasm-less-difference, rule-lasm-cancel, matrix01…matrix15"_s,
         u"Fixed id of the item: thumb…sight, hand01…hand12, expression, dichotic1-03A2 (series, recording, "
         u"channel, position), math01…math15, calculator-lasm, rule-lasm-less-difference, rule-lasm-cancel, "
         u"matrix01…matrix15"_s, {}},
        {u"stimulus"_s, u"text"_s, {}, {},
         u"Что предъявлено: вопрос; слово с каналом и ухом («кот (channel A, ear B)»); И и Ф задач; операция; "
         u"рисунок матрицы"_s,
         u"What was presented: the question; the word with its channel and ear (\"кот (channel A, ear B)\"); "
         u"the sheet's И and Ф; the operation; the matrix picture"_s, {}},
        {u"response"_s, u"text"_s, {}, {},
         u"Ответ, как введён или выбран (код пробы, значение шкалы); для слова — ответ, совпавший с ним; для "
         u"калькулятора — A и B; для правила — нажатая кнопка"_s,
         u"The answer as typed or chosen (test code, scale value); for a word the answer that matched it; for the "
         u"calculator A and B; for a rule the button pressed"_s, {}},
        {u"correct_response"_s, u"text"_s, {}, {},
         u"Верный ответ для этого испытуемого; для калькулятора — показанный результат"_s,
         u"The right answer for this subject; for the calculator the result shown"_s, {}},
        {u"correct"_s, u"code"_s, {}, {}, u"Ответ верен; для слова — слово воспроизведено"_s,
         u"The answer is right; for a word, the word was recalled"_s,
         {{u"1"_s, u"верно"_s, u"right"_s}, {u"0"_s, u"неверно или нет ответа"_s, u"wrong or no answer"_s}}},
        {u"onset"_s, u"real"_s, seconds, 0, u"От показа окна задания до первого предъявления пункта (для слова — "
                                            u"до воспроизведения записи)"_s,
         u"From the task's window shown to the item's first presentation (for a word, the recording's play)"_s, {}},
        {u"response_time"_s, u"real"_s, seconds, 0, u"От предъявления до последнего изменения ответа"_s,
         u"From the onset to the answer's last change"_s, {}},
        {u"changes"_s, u"integer"_s, {}, 0, u"Сколько раз ответ менялся"_s, u"How many times the answer changed"_s, {}},
        {u"ended_on"_s, u"code"_s, {}, {}, u"Чем закончился пункт"_s, u"How the item ended"_s,
         {{u"response"_s, u"ответ"_s, u"an answer"_s},
          {u"empty"_s, u"без ответа"_s, u"no answer"_s},
          {u"timeout"_s, u"истекло время (60 минут математики)"_s, u"time ran out (the 60 minutes of mathematics)"_s}}},
    };
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
