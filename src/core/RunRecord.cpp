#include "core/RunRecord.h"

RunRecord &run()
{
    static RunRecord record;
    return record;
}
