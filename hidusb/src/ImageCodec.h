#pragma once
#include "HIDUsb.h"

#include <cstdint>

namespace hidsim {

constexpr int ImageSize = HIDUSB_IMAGE_SIZE;
constexpr int FullAnswerSize = HIDUSB_FULL_ANSWER_SIZE;
constexpr int MacroBase = 956;          // settings, bindings and combination records end here
constexpr int MacroRecordSize = 592;
constexpr int MacroCount = 16;
constexpr int MacroMaxEvents = 70;
constexpr int MacroNameSize = 30;
constexpr int MaxPackedMacros = 8;
constexpr uint8_t PackedListEnd = 0xFF;

// Packs a device image into the whole-configuration answer. Only macro records in use
// (a name or events) are carried, each with only its counted events. An image with more
// than eight macros, or a record counting more than 70 events, is cut to what fits (the
// first eight, 70 events) and the result is false.
bool packFullAnswer(const uint8_t* image, uint8_t* answer);
// True when packFullAnswer accepts the image.
bool imageFits(const uint8_t* image);
// Rebuilds the device image from a whole-configuration answer; macro records that the
// answer does not carry are cleared. Never reads or writes outside the two buffers.
void parseFullAnswer(const uint8_t* answer, uint8_t* image);

}  // namespace hidsim
