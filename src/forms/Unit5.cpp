#include "forms/Unit5.h"

#include "engine/DichoticScoring.h"
#include "windows/Messages.h"
#include "windows/Texts.h"

TForm5::TForm5(Session &session, QWidget *owner)
    : DichoticSeries(session, 1, QStringLiteral("Дихотическое прослушивание. Серия №1"),
                     QStringLiteral("Наденьте наушники. Нажимайте на кнопки \"Прослушать №...\" и записывайте "
                                    "услышанные слова в соответствующие поля. Каждую запись можно прослушать только "
                                    "один раз. Не прислушивайтесь специально к правому или левому уху, старайтесь "
                                    "слушать запись одновременно двумя ушами. Перед началом убедитесь в отсутствии "
                                    "постороннего шума и исправности наушников. Все слова вводите только строчными "
                                    "(маленькими) буквами."),
                     HeadphoneCheck::Offered, texts::onward, owner)
{
}

void TForm5::Button14Click()
{
    if (!allPlayed())
        return showMessage(QStringLiteral("Прослушаны не все аудиозаписи!"));

    guarded(texts::unknownError, [this] {
        const SeriesResult series = seriesResult(1, answerTexts());
        RunRecord &r = run();
        r.DichS1EarA = series.earA;
        r.DichS1EarB = series.earB;
        r.DichS1Coef = series.coef;
        showMessage(QStringLiteral("Переверните наушники!"));
        forward();
    });
}
