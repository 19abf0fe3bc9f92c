#pragma once

#include <QString>

// Texts that more than one window shows, kept in one place.
namespace texts {

// What a forward handler shows when anything inside it fails.
inline const QString unknownError = QStringLiteral("Неизвестная ошибка!");
// What a forward handler shows when a typed text cannot be read.
inline const QString wrongData = QStringLiteral("Введены неверные данные!");
// The caption of most forward buttons.
inline const QString onward = QStringLiteral("Дальше");

// The mathematics instructions: on the start window and on the problem sheet.
inline const QString mathInstructions = QStringLiteral(
    "Решите математические задачи. Ответы вводите в соответствующие поля. Для записи ответа используйте только "
    "числа. При необходимости округляйте ответы до 2 знаков после запятой за исключением случаев, когда в условии "
    "задачи сказано \"Округлите до целого\". Если в условии задачи встречаются параметры И или Ф, подставляйте "
    "вместо них число символов (букв) в имени или фамилии соответственно. Внимание! На решение всех задач отводится "
    "не более 60 минут!");

} // namespace texts
