#include "forms/Unit6.h"

#include "engine/DichoticScoring.h"
#include "windows/Messages.h"
#include "windows/Texts.h"

TForm6::TForm6(Session &session, QWidget *owner)
    : DichoticSeries(session, 2, QStringLiteral("Дихотическое прослушивание. Серия №2"), QString(),
                     HeadphoneCheck::NotOffered, QStringLiteral("Далее"), owner)
{
}

void TForm6::Button14Click()
{
    if (!allPlayed())
        return showMessage(QStringLiteral("Прослушаны не все аудиозаписи!"));

    guarded(texts::unknownError, [this] {
        const SeriesResult series = seriesResult(2, answerTexts());
        RunRecord &r = run();
        r.DichS2EarA = series.earA;
        r.DichS2EarB = series.earB;
        r.DichS2Coef = series.coef;
        const BothSeriesResult both =
            overBothSeries(r.DichS1EarA, r.DichS1EarB, r.DichS1Coef, r.DichS2EarA, r.DichS2EarB, r.DichS2Coef);
        r.DichSeriesAgreement = both.seriesAgreement;
        r.DichTotalCoefText = both.totalCoefText;
        r.DichEarAdvantage = both.earAdvantage;
        forward();
    });
}
