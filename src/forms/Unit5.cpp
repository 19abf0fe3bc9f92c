#include "forms/Unit5.h"

#include "engine/DichoticScoring.h"
#include "forms/Sequence.h"
#include "forms/Unit6.h"
#include "windows/Messages.h"

#include <QPushButton>

TForm5::TForm5(QWidget *owner)
    : DichoticSeries(1, QStringLiteral("Дихотическое прослушивание. Серия №1"),
                     QStringLiteral("Наденьте наушники. Нажимайте на кнопки \"Прослушать №...\" и записывайте "
                                    "услышанные слова в соответствующие поля. Каждую запись можно прослушать только "
                                    "один раз. Не прислушивайтесь специально к правому или левому уху, старайтесь "
                                    "слушать запись одновременно двумя ушами. Перед началом убедитесь в отсутствии "
                                    "постороннего шума и исправности наушников. Все слова вводите только строчными "
                                    "(маленькими) буквами."),
                     HeadphoneCheck::Offered, QStringLiteral("Дальше"), owner)
{
    connect(Button14, &QPushButton::clicked, this, &TForm5::Button14Click);
}

void TForm5::Button14Click()
{
    if (!allPlayed())
        return showMessage(QStringLiteral("Прослушаны не все аудиозаписи!"));

    guarded(QStringLiteral("Неизвестная ошибка!"), [this] {
        const ChannelCounts counts = seriesScore(answerTexts());
        RunRecord &r = run();
        r.DichS1EarA = counts.channelA;
        r.DichS1EarB = counts.channelB;
        r.DichS1Coef = earCoefficient(r.DichS1EarA, r.DichS1EarB);
        showMessage(QStringLiteral("Переверните наушники!"));
        forwardTo<NextAfter<TForm5>>();
    });
}
