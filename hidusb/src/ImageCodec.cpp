#include "ImageCodec.h"

#include <cstring>

namespace hidsim {

namespace {

constexpr int PackedHeader = 1 + 1 + MacroNameSize + 1;  // button, name length, name, event count

bool macroInUse(const uint8_t* record)
{
    return record[0] != 0 || record[1 + MacroNameSize] != 0;
}

}  // namespace

bool imageFits(const uint8_t* image)
{
    uint8_t scratch[FullAnswerSize];
    return packFullAnswer(image, scratch);
}

bool packFullAnswer(const uint8_t* image, uint8_t* answer)
{
    std::memset(answer, 0, FullAnswerSize);
    std::memcpy(answer, image, MacroBase);
    bool complete = true;
    int packed = 0;
    int pos = MacroBase;
    for (int k = 0; k < MacroCount; ++k) {
        const uint8_t* record = image + MacroBase + k * MacroRecordSize;
        if (!macroInUse(record))
            continue;
        int events = record[1 + MacroNameSize];
        if (events > MacroMaxEvents || packed == MaxPackedMacros) {
            // A mouse keeps no more than this; carry what it can hold rather than nothing.
            complete = false;
            if (packed == MaxPackedMacros)
                continue;
            events = MacroMaxEvents;
        }
        answer[pos] = static_cast<uint8_t>(k);
        std::memcpy(answer + pos + 1, record, 1 + MacroNameSize);
        answer[pos + PackedHeader - 1] = static_cast<uint8_t>(events);
        std::memcpy(answer + pos + PackedHeader, record + 32, static_cast<size_t>(events) * 8);
        pos += PackedHeader + events * 8;
        ++packed;
    }
    // Eight full records take 4,744 bytes of the 5,956 available, so the end mark always fits.
    answer[pos] = PackedListEnd;
    return complete;
}

void parseFullAnswer(const uint8_t* answer, uint8_t* image)
{
    std::memcpy(image, answer, MacroBase);
    std::memset(image + MacroBase, 0, static_cast<size_t>(MacroCount) * MacroRecordSize);
    int pos = MacroBase;
    for (int n = 0; n < MacroCount && pos + PackedHeader <= FullAnswerSize; ++n) {
        const int button = answer[pos];
        if (button >= MacroCount)
            break;
        const int events = answer[pos + PackedHeader - 1];
        if (events > MacroMaxEvents || pos + PackedHeader + events * 8 > FullAnswerSize)
            break;
        uint8_t* record = image + MacroBase + button * MacroRecordSize;
        std::memcpy(record, answer + pos + 1, 1 + MacroNameSize + 1);
        std::memcpy(record + 32, answer + pos + PackedHeader, static_cast<size_t>(events) * 8);
        pos += PackedHeader + events * 8;
    }
}

}  // namespace hidsim
