#include "GreyLevel.h"

#include "runtime/Numbers.h"

std::int16_t GreyLevel(const ColourChannels& channels) {
    std::int16_t sum = checkedAdd16(channels.green, channels.red);
    sum = checkedAdd16(sum, channels.blue);
    return toInteger16(sum / 3.0);
}
