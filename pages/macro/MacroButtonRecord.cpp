#include "pages/macro/MacroButtonRecord.h"

#include "device/DeviceSetters.h"
#include "device/MacroFiles.h"
#include "device/MacroNames.h"
#include "device/SharedFlags.h"
#include "device/WorkingImage.h"

namespace {
bool isDeviceButton(int index)
{
    return index >= 0 && index < 16;
}
}  // namespace

bool SendSavedMacroToButton(const QString& name, int index)
{
    if (!WriteEnabled || !isDeviceButton(index))
        return false;
    const auto record = ReadSavedMacroRecord(name);
    if (!record)
        return false;
    const ButtonBinding binding = WorkingImageCopy().buttons[index];
    return SetButtonMacro(index, &binding, &*record);
}

std::optional<ButtonMacro> TakeMacroFromButton(const FlashDataMap& image, int key)
{
    if (!isDeviceButton(key))
        return std::nullopt;
    const DecodedMacro decoded = MacroRowsFromRecord(image.macros[key]);
    if (!IsValidMacroName(decoded.name))
        return std::nullopt;
    ButtonMacro macro{decoded.name, decoded.rows, false};
    macro.appended = AppendMacroFile(MacroFilePath(MacroFolder(), macro.name), macro.rows);
    return macro;
}
