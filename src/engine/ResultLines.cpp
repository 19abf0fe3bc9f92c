#include "engine/ResultLines.h"

#include "engine/Numbers.h"

#include <QHash>
#include <limits>

using namespace Qt::Literals::StringLiterals;

bool FieldRule::hasCode(const QString &value) const
{
    return std::any_of(codes.begin(), codes.end(), [&](const CodeLabel &label) { return label.code == value; });
}

namespace {

constexpr double unbounded = std::numeric_limits<int>::max();

FieldRule text(QList<CodeLabel> standing = {})
{
    return {FieldKind::Text, std::move(standing)};
}

FieldRule codes(QList<CodeLabel> allowed)
{
    return {FieldKind::Code, std::move(allowed)};
}

FieldRule integer(double minimum, double maximum = unbounded)
{
    return {FieldKind::Integer, {}, minimum, maximum};
}

FieldRule decimal(double minimum, double maximum, QList<CodeLabel> instead = {})
{
    return {FieldKind::Decimal, std::move(instead), minimum, maximum};
}

FieldRule kind(FieldKind kind)
{
    FieldRule rule;
    rule.kind = kind;
    return rule;
}

FieldMeaning about(const QString &russian, const QString &english, const QString &unit = {})
{
    return {russian, english, unit};
}

ResultLine disclosing(Disclosure disclosure, ResultLine line)
{
    line.disclosure = disclosure;
    return line;
}

const QList<CodeLabel> yesNo = {{u"1"_s, u"да"_s, u"yes"_s}, {u"-1"_s, u"нет"_s, u"no"_s}};
const QList<CodeLabel> rightLeft = {{u"1"_s, u"правая"_s, u"right"_s}, {u"-1"_s, u"левая"_s, u"left"_s}};
const QList<CodeLabel> solved = {{u"1"_s, u"правило найдено точно"_s, u"identified exactly"_s},
                                 {u"-1"_s, u"не найдено"_s, u"not identified"_s}};
const QList<CodeLabel> marks = {{u"2"_s, u"неудовлетворительно"_s, u"fail"_s},
                                {u"3"_s, u"удовлетворительно"_s, u"satisfactory"_s},
                                {u"4"_s, u"хорошо"_s, u"good"_s},
                                {u"5"_s, u"отлично"_s, u"excellent"_s}};
const QList<CodeLabel> noneElseYears = {{u"-1"_s, u"нет"_s, u"none"_s}};
const FieldRule earCount = integer(0, 52);
const FieldRule ravenBlock = integer(0, 3);

const QString days = u"сутки / days"_s;
const QString siblings = u"человек / persons"_s;
const QString words = u"слов / words"_s;
const QString items = u"заданий / items"_s;
const QString percent = u"% / %"_s;
const QString hoursMinutesSeconds = u"ч:мм:сс / h:mm:ss"_s;

#define TEXT(field, rule, meaning) \
    ResultLine{QStringLiteral(#field), [](const RunRecord &r) { return r.field; }, rule, meaning}
#define INTEGER(field, rule, meaning) \
    ResultLine{QStringLiteral(#field), [](const RunRecord &r) { return QString::number(r.field); }, rule, meaning}
#define DECIMAL(field, rule, meaning) \
    ResultLine{QStringLiteral(#field), [](const RunRecord &r) { return formatGeneral(r.field); }, rule, meaning}
#define SIBLING(n)                                                                                            \
    ResultLine{u"SibDescription" #n ""_s, [](const RunRecord &r) { return r.SibDescription[n - 1]; }, text(), \
               about(u"Брат или сестра " #n ": пол, день, месяц, год рождения"_s,                            \
                     u"Sibling " #n ": sex, day, month and year of birth as given"_s),                        \
               Disclosure::Context}
#define RAVEN_BLOCK(n, first, last)                                                                 \
    INTEGER(RavenBlock##n, ravenBlock,                                                              \
            about(u"Прогрессивные матрицы: верных среди заданий " #first "–" #last ""_s,           \
                  u"Progressive matrices: correct among items " #first " to " #last ""_s, items))

} // namespace

const std::array<ResultLine, resultsLineCount> &resultLines()
{
    static const std::array<ResultLine, resultsLineCount> lines = {
        disclosing(Disclosure::Name, TEXT(InfoSurname, text(), about(u"Фамилия, как введена"_s, u"Surname as typed"_s))), // 1
        disclosing(Disclosure::Name, TEXT(InfoName, text(), about(u"Имя, как введено"_s, u"First name as typed"_s))),
        TEXT(InfoSex, codes({{u"0"_s, u"женский"_s, u"female"_s}, {u"1"_s, u"мужской"_s, u"male"_s}}),
             about(u"Пол"_s, u"Sex"_s)),
        disclosing(Disclosure::BirthDate, TEXT(InfoBirthDate, kind(FieldKind::TypedDate),
             about(u"Дата рождения: день.месяц.год, как введена"_s, u"Date of birth: day.month.year as typed"_s))),
        disclosing(Disclosure::Context, TEXT(InfoTestDate, kind(FieldKind::RegionalDate), // 5
             about(u"Дата тестирования, в кратком формате даты компьютера"_s,
                   u"Date of the test, in the computer's short date format"_s))),
        disclosing(Disclosure::Context, TEXT(InfoStartTime, kind(FieldKind::RegionalTime),
             about(u"Время начала теста, в формате времени компьютера"_s,
                   u"Start time of the test, in the computer's time format"_s))),
        disclosing(Disclosure::Context, TEXT(InfoSchool, text(), about(u"Школа (вуз)"_s, u"School or university"_s))),
        disclosing(Disclosure::Context, TEXT(InfoGrade, text(), about(u"Класс (курс)"_s, u"Grade or year of study"_s))),
        TEXT(InfoHandedness,
             codes({{u"-1"_s, u"левша"_s, u"left-handed"_s},
                    {u"0"_s, u"амбидекстр"_s, u"ambidextrous"_s},
                    {u"1"_s, u"правша"_s, u"right-handed"_s}}),
             about(u"Кем себя считает: правшой, левшой, амбидекстром"_s, u"Handedness, as the subject sees it"_s)),
        TEXT(InfoNervousDisorder, codes(yesNo + QList<CodeLabel>{{QString(), u"нет ответа"_s, u"no answer"_s}}), // 10
             about(u"Заболевания нервной системы или психические расстройства когда-либо"_s,
                   u"Ever a disease of the nervous system or a mental disorder"_s)),
        disclosing(Disclosure::FreeText, TEXT(InfoConcussion, text(noneElseYears),
             about(u"Сотрясения мозга: -1 нет, иначе годы, как введены (могут быть пусты)"_s,
                   u"Concussions: -1 none, else the years as typed (possibly empty)"_s))),
        disclosing(Disclosure::FreeText, TEXT(InfoHeadInjury, text(noneElseYears),
             about(u"Черепно-мозговые травмы: -1 нет, иначе годы, как введены"_s,
                   u"Head injuries: -1 none, else the years as typed"_s))),
        TEXT(InfoHasSiblings, codes(yesNo), about(u"Есть братья или сёстры"_s, u"Has brothers or sisters"_s)),
        disclosing(Disclosure::FreeText, TEXT(InfoHearingProblem, text(noneElseYears),
             about(u"Проблемы со слухом сейчас: -1 нет, иначе причина, как введена"_s,
                   u"Hearing problems now: -1 none, else the reason as typed"_s))),
        INTEGER(InfoAgeDays, integer(0), // 15
                about(u"Возраст в полных сутках на начало теста"_s, u"Age in whole days at the start of the test"_s, days)),
        DECIMAL(InfoAgeYears, decimal(0, unbounded),
                about(u"Возраст в годах: сутки / 365, округлено"_s, u"Age in years: days / 365, rounded"_s,
                      u"годы / years"_s)),
        INTEGER(SibBirthOrder, integer(0, 11),
                about(u"Порядок рождения: 0 нет братьев и сестёр, иначе 1 + число родившихся раньше"_s,
                      u"Birth order: 0 no siblings, else 1 + the siblings born earlier"_s)),
        SIBLING(1),
        SIBLING(2),
        SIBLING(3), // 20
        SIBLING(4),
        SIBLING(5),
        SIBLING(6),
        SIBLING(7),
        SIBLING(8), // 25
        SIBLING(9),
        SIBLING(10),
        INTEGER(SibWithYearCount, integer(0, 10),
                about(u"Братьев и сестёр с указанным годом рождения"_s, u"Siblings with a year of birth given"_s,
                      siblings)),
        INTEGER(SibSameMonthCount, integer(0, 10),
                about(u"Братьев и сестёр, родившихся в тот же год и месяц, что испытуемый"_s,
                      u"Siblings born in the subject's year and month"_s, siblings)),
        INTEGER(SibWithoutYearCount, integer(0, 10), // 30
                about(u"Братьев и сестёр без года рождения"_s, u"Siblings without a year of birth"_s, siblings)),
        TEXT(LatThumbCode, codes(rightLeft),
             about(u"Сложенные пальцы: большой палец какой руки сверху"_s, u"Interlaced fingers: thumb on top"_s)),
        TEXT(LatArmCode, codes(rightLeft),
             about(u"Сложенные руки: какая рука (по локтю) сверху"_s, u"Folded arms: forearm on top"_s)),
        TEXT(LatClapCode, codes(rightLeft), about(u"Хлопок: какая рука сверху"_s, u"Clapping: hand on top"_s)),
        TEXT(LatWinkCode,
             codes({{u"-1"_s, u"правый"_s, u"right"_s},
                    {u"0"_s, u"оба одинаково"_s, u"both alike"_s},
                    {u"1"_s, u"левый"_s, u"left"_s}}),
             about(u"Какой глаз зажмурить легче"_s, u"Eye easier to shut"_s)),
        TEXT(LatSightCode, // 35
             codes({{u"-1"_s, u"сместился только при закрытом левом глазе"_s, u"shifted only with the left eye shut"_s},
                    {u"0"_s, u"сместился в обоих случаях"_s, u"shifted with either eye shut"_s},
                    {u"1"_s, u"сместился только при закрытом правом глазе"_s,
                     u"shifted only with the right eye shut"_s}}),
             about(u"Прицеливание карандашом: когда карандаш сместился"_s, u"Pencil sighting: when the pencil shifted"_s)),
        TEXT(LatHandScore, integer(-24, 24),
             about(u"Балл опросника ведущей руки: +24 всё правой, -24 всё левой"_s,
                   u"Hand-preference score: +24 all right, -24 all left"_s, u"баллы / points"_s)),
        TEXT(LatHandClass,
             codes({{u"-1"_s, u"левая (балл -9 и ниже)"_s, u"left (score -9 or below)"_s},
                    {u"0"_s, u"обе (балл от -8 до 8)"_s, u"both (score -8 to 8)"_s},
                    {u"1"_s, u"правая (балл 9 и выше)"_s, u"right (score 9 or above)"_s}}),
             about(u"Ведущая рука по баллу опросника"_s, u"Preferred hand by the questionnaire score"_s)),
        TEXT(DichTotalCoefText,
             decimal(-100, 100,
                     {{u"дихотическое прослушивание пройдено неправильно"_s, u"ни одно слово не воспроизведено"_s,
                       u"no word recalled"_s}}),
             about(u"Дихотическое прослушивание, обе серии: (A - B) / (A + B) × 100, A — слова уха A"_s,
                   u"Dichotic listening, both series: (A - B) / (A + B) × 100, A the words of ear A"_s, percent)),
        TEXT(DichSeriesAgreement,
             codes({{u"расхождения нет"_s, u"расхождения нет"_s, u"the series agree"_s},
                    {u"есть расхождение между сериями"_s, u"коэффициенты серий разных знаков"_s,
                     u"the series' coefficients have opposite signs"_s}}),
             about(u"Согласие двух серий дихотического прослушивания"_s, u"Agreement of the two dichotic series"_s)),
        TEXT(DichEarAdvantage, // 40
             codes({{u"-1"_s, u"ухо B (коэффициент ниже -5)"_s, u"ear B (coefficient below -5)"_s},
                    {u"0"_s, u"нет (коэффициент от -5 до 5)"_s, u"none (coefficient -5 to 5)"_s},
                    {u"1"_s, u"ухо A (коэффициент выше 5)"_s, u"ear A (coefficient above 5)"_s}}),
             about(u"Преимущество уха; ухо A слышит канал A в серии 1"_s,
                   u"Ear advantage; ear A hears channel A in series 1"_s)),
        INTEGER(DichS1EarA, earCount,
                about(u"Серия 1: слов канала A воспроизведено (ухо A)"_s,
                      u"Series 1: channel-A words recalled (ear A)"_s, words)),
        INTEGER(DichS1EarB, earCount,
                about(u"Серия 1: слов канала B воспроизведено (ухо B)"_s,
                      u"Series 1: channel-B words recalled (ear B)"_s, words)),
        INTEGER(DichS2EarA, earCount,
                about(u"Серия 2: слов уха A воспроизведено (канал B)"_s,
                      u"Series 2: words of ear A recalled (channel B)"_s, words)),
        INTEGER(DichS2EarB, earCount,
                about(u"Серия 2: слов уха B воспроизведено (канал A)"_s,
                      u"Series 2: words of ear B recalled (channel A)"_s, words)),
        DECIMAL(DichS1Coef, decimal(-100, 100), // 45
                about(u"Серия 1: (A - B) / (A + B) × 100"_s, u"Series 1: (A - B) / (A + B) × 100"_s, percent)),
        DECIMAL(DichS2Coef, decimal(-100, 100),
                about(u"Серия 2: (A - B) / (A + B) × 100"_s, u"Series 2: (A - B) / (A + B) × 100"_s, percent)),
        INTEGER(MathCorrectTotal, integer(0, 16),
                about(u"Математика: верных ответов всего"_s, u"Mathematics: items correct in all"_s, items)),
        INTEGER(MathCorrectExpressions, integer(0, 8),
                about(u"Математика: верных выражений"_s, u"Mathematics: expression items correct"_s, items)),
        INTEGER(MathCorrectProblems, integer(0, 8),
                about(u"Математика: верно решённых текстовых задач"_s, u"Mathematics: word problems correct"_s, items)),
        INTEGER(CalcUseCount, integer(0), // 50
                about(u"Необычный калькулятор: сколько результатов он показал"_s,
                      u"Unusual calculator: results it showed"_s, u"раз / times"_s)),
        TEXT(CalcLasmResult, codes(solved),
             about(u"Необычный калькулятор: операция ЛАСМ"_s, u"Unusual calculator: operation ЛАСМ"_s)),
        TEXT(CalcVadlResult, codes(solved),
             about(u"Необычный калькулятор: операция ВАДЛ"_s, u"Unusual calculator: operation ВАДЛ"_s)),
        TEXT(CalcParmResult, codes(solved),
             about(u"Необычный калькулятор: операция ПАРМ"_s, u"Unusual calculator: operation ПАРМ"_s)),
        INTEGER(CalcCorrectCount, integer(0, 3),
                about(u"Необычный калькулятор: операций найдено точно"_s,
                      u"Unusual calculator: operations identified exactly"_s, u"операций / operations"_s)),
        TEXT(ExprFormulaUse, // 55
             codes({{u"-1"_s, u"нет, считал(а) «в лоб»"_s, u"no, computed directly"_s},
                    {u"1"_s, u"да, использовал(а)"_s, u"yes, used them"_s},
                    {u"0"_s, u"использовал(а) только одну формулу"_s, u"used only one formula"_s},
                    {u"2"_s, u"не смог(ла) решить этот пример"_s, u"could not solve the item"_s}}),
             about(u"Использовал(а) ли формулы сокращённого умножения"_s,
                   u"Used the abbreviated multiplication formulas"_s)),
        TEXT(RavenDurationText, kind(FieldKind::Duration),
             about(u"Прогрессивные матрицы: затраченное время"_s, u"Progressive matrices: time spent"_s, hoursMinutesSeconds)),
        INTEGER(RavenTotal, integer(0, 15),
                about(u"Прогрессивные матрицы: верных ответов"_s, u"Progressive matrices: items correct"_s, items)),
        RAVEN_BLOCK(1, 1, 3),
        RAVEN_BLOCK(2, 4, 6),
        RAVEN_BLOCK(3, 7, 9), // 60
        RAVEN_BLOCK(4, 10, 12),
        RAVEN_BLOCK(5, 13, 15),
        disclosing(Disclosure::Context, TEXT(FinalFinishTime, kind(FieldKind::RegionalTime),
             about(u"Время окончания теста, в формате времени компьютера"_s,
                   u"Finish time of the test, in the computer's time format"_s))),
        TEXT(FinalDuration, kind(FieldKind::Duration),
             about(u"Длительность теста"_s, u"Duration of the test"_s, hoursMinutesSeconds)),
        TEXT(FinalMusicalInstrument, codes(yesNo), // 65
             about(u"Играет на музыкальном инструменте"_s, u"Plays a musical instrument"_s)),
        disclosing(Disclosure::FreeText, TEXT(FinalCareer, text(), about(u"Желаемая профессия, как введена"_s, u"Wished profession as typed"_s))),
        disclosing(Disclosure::Contact, TEXT(FinalContact, text(),
             about(u"Электронная почта или телефон, как введены"_s, u"E-mail address or phone number as typed"_s))),
        TEXT(FinalAlgebraMark, codes(marks), about(u"Оценка по алгебре"_s, u"Mark in algebra"_s)),
        TEXT(FinalGeometryMark, codes(marks), about(u"Оценка по геометрии"_s, u"Mark in geometry"_s)), // 69
    };
    return lines;
}

int lineIndex(QAnyStringView field)
{
    static const QHash<QString, int> indexOf = [] {
        QHash<QString, int> indexes;
        for (int i = 0; i < resultsLineCount; ++i)
            indexes.insert(resultLines()[i].field, i);
        return indexes;
    }();
    const int index = indexOf.value(field.toString(), -1);
    if (index < 0)
        qFatal("no results line holds %s", qPrintable(field.toString()));
    return index;
}

const QList<int> &linesDisclosing(Disclosure disclosure)
{
    static const auto byDisclosure = [] {
        std::array<QList<int>, int(Disclosure::FreeText) + 1> indexes;
        for (int i = 0; i < resultsLineCount; ++i)
            indexes[int(resultLines()[i].disclosure)] << i;
        return indexes;
    }();
    return byDisclosure[int(disclosure)];
}

#undef TEXT
#undef INTEGER
#undef DECIMAL
#undef SIBLING
#undef RAVEN_BLOCK
