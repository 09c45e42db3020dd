#pragma once
#include <array>

// The sleep-time steps of the mouse: 10 s, 30 s, 1, 5, 10, 15, 20, 25, 30, 35 and 40 minutes,
// stored in image byte 8 as a count of 10-second units.
namespace SleepTimeSteps {

constexpr std::array<int, 11> Units{1, 3, 6, 30, 60, 90, 120, 150, 180, 210, 240};
constexpr int Count = int(Units.size());

// The byte of list position `position`; -1 outside 0..10.
constexpr int unitsAt(int position)
{
    return position >= 0 && position < Count ? Units[size_t(position)] : -1;
}

// The list position of an image byte; -1 when the byte is none of the steps.
constexpr int positionOf(int units)
{
    for (int i = 0; i < Count; ++i) {
        if (Units[size_t(i)] == units)
            return i;
    }
    return -1;
}

}  // namespace SleepTimeSteps
