#include "forms/Unit6.h"

#include "engine/DichoticScoring.h"
#include "forms/Sequence.h"
#include "forms/Unit10.h"
#include "windows/Messages.h"

#include <QPushButton>

TForm6::TForm6(QWidget *owner)
    : DichoticSeries(2, QStringLiteral("Дихотическое прослушивание. Серия №2"), QString(),
                     HeadphoneCheck::NotOffered, QStringLiteral("Далее"), owner)
{
    connect(Button14, &QPushButton::clicked, this, &TForm6::Button14Click);
}

void TForm6::Button14Click()
{
    if (!allPlayed())
        return showMessage(QStringLiteral("Прослушаны не все аудиозаписи!"));

    guarded(QStringLiteral("Неизвестная ошибка!"), [this] {
        const ChannelCounts counts = seriesScore(answerTexts());
        RunRecord &r = run();
        r.DichS2EarA = counts.channelB;
        r.DichS2EarB = counts.channelA;
        r.DichS2Coef = earCoefficient(r.DichS2EarA, r.DichS2EarB);
        const BothSeriesResult both =
            overBothSeries(r.DichS1EarA, r.DichS1EarB, r.DichS1Coef, r.DichS2EarA, r.DichS2EarB, r.DichS2Coef);
        r.DichSeriesAgreement = both.seriesAgreement;
        r.DichTotalCoefText = both.totalCoefText;
        r.DichEarAdvantage = both.earAdvantage;
        forwardTo<NextAfter<TForm6>>();
    });
}
