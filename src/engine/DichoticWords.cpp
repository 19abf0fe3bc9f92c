#include "engine/DichoticWords.h"

namespace {

StimulusWord w(const char16_t *written, const char16_t *alternative = u"")
{
    return {QString::fromUtf16(written), QString::fromUtf16(alternative)};
}

} // namespace

const std::array<RecordingWords, recordingCount> &dichoticWords()
{
    static const std::array<RecordingWords, recordingCount> table = {{
        {{w(u"свист"), w(u"рост"), w(u"хлеб"), w(u"клок")}, {w(u"крюк"), w(u"плеть"), w(u"звук"), w(u"трос")}},
        {{w(u"свет"), w(u"хрен"), w(u"клоп"), w(u"стон")}, {w(u"крик"), w(u"враг"), w(u"дверь"), w(u"брат")}},
        {{w(u"бред"), w(u"грязь"), w(u"флаг"), w(u"снег")}, {w(u"трюк"), w(u"скот"), w(u"март"), w(u"крем")}},
        {{w(u"боль"), w(u"чад"), w(u"суп"), w(u"мель")}, {w(u"рог"), w(u"вес"), w(u"кот"), w(u"цепь")}},
        {{w(u"жук"), w(u"лев"), w(u"сук"), w(u"гол")}, {w(u"дочь"), w(u"сон"), w(u"медь"), w(u"лоб")}},
        {{w(u"пух"), w(u"лань"), w(u"бор"), w(u"пень")}, {w(u"цель"), w(u"пёс", u"пес"), w(u"пир"), w(u"рак")}},
        {{w(u"век"), w(u"зов"), w(u"бой"), w(u"семь")}, {w(u"лад"), w(u"рим"), w(u"пар"), w(u"дух")}},
        {{w(u"туз"), w(u"лов"), w(u"нос"), w(u"май")}, {w(u"моль"), w(u"вор"), w(u"вал"), w(u"сын")}},
        {{w(u"суд"), w(u"бар"), w(u"сеть"), w(u"том")}, {w(u"вой"), w(u"ток"), w(u"сор"), w(u"зев")}},
        {{w(u"бык"), w(u"таз"), w(u"лён", u"лен"), w(u"йод")}, {w(u"тир"), w(u"синь"), w(u"рот"), w(u"мяч")}},
        {{w(u"кит"), w(u"шеф"), w(u"тон"), w(u"пыль")}, {w(u"суп"), w(u"день"), w(u"мёд", u"мед"), w(u"тип")}},
        {{w(u"дуб"), w(u"роль"), w(u"путь"), w(u"мир")}, {w(u"ком"), w(u"лак"), w(u"дед"), w(u"печь")}},
        {{w(u"дом"), w(u"пень"), w(u"лев"), w(u"пять")}, {w(u"зев"), w(u"сыр"), w(u"мяч"), w(u"сон")}},
    }};
    return table;
}
