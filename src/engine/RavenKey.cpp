#include "engine/RavenKey.h"

RavenScore scoreRaven(const std::array<int, ravenItemCount> &answers)
{
    RavenScore score;
    for (int item = 0; item < ravenItemCount; ++item) {
        if (answers[item] != ravenKey[item])
            continue;
        ++score.total;
        ++score.blocks[item / ravenBlockSize];
    }
    return score;
}
