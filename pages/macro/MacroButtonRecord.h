#pragma once
#include <QString>

#include <optional>

#include "device/FlashDataMap.h"
#include "device/MacroRecordCodec.h"

// A saved macro on its way to a mouse button, and a macro found on one on its way back.

// Sends the saved macro `name` to device button `index`: the record from the macro's file and
// the button's binding as the working image holds it, with SetButtonMacro (offline: its notice).
// Nothing is sent for a name that is no macro name, a button outside 0..15, writes not enabled,
// or a file that cannot be read. True when the record went out.
bool SendSavedMacroToButton(const QString& name, int index);

// The macro on device button `key` of `image`, its rows appended to the macro's file when that
// file exists (the button page wrote its repeat line); a missing file is not created. Nothing
// for a button outside 0..15 or a name that cannot be a macro name.
struct ButtonMacro {
    QString name;
    MacroRows rows;
    bool appended = false;
};
std::optional<ButtonMacro> TakeMacroFromButton(const FlashDataMap& image, int key);
