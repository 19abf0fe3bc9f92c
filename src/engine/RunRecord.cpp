#include "engine/RunRecord.h"

RunRecord &run()
{
    static RunRecord record;
    return record;
}
