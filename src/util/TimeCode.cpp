#include <VellMetadataContainer/TimeCode.h>

bool operator==(const VellRawMeta::TC_Struct& a, const VellRawMeta::TC_Struct& b)
{
    return a.bcdTime == b.bcdTime && a.word1 == b.word1 && a.rateAndDropFrame == b.rateAndDropFrame &&
           a.word3 == b.word3;
}
