#pragma once
#include <QString>
#include <QStringList>

#include "device/FlashDataMap.h"

// What the button page's function area shows for a binding, and which function each
// assigning button writes, without any widget.
namespace FunctionViews {

// The view opening a selector brings up for its binding.
struct OpenedView {
    bool opens = false;      // types 0..11 open the function-type list
    QString page;            // the function page (empty: none switched)
    QStringList checked;     // buttons checked, the function type first
    int steps = 0;           // scroll steps of the function-type list
    int mediaRow = -1;       // type 5 media key: its row in the media list
    int lockIndex = -1;      // type 10: the row of the DPI-lock value's button
    bool macro = false;      // type 6: the macro list
};
// `combo` is the key's combination record (type 5 tells media keys from combinations by it),
// `lockValue` the DPI value of a type-10 binding.
OpenedView viewOfBinding(int type, int code1, const ButtonComboRecord& combo, int lockValue);

// The twelve DPI-lock buttons with their values, in list order.
struct LockButton {
    const char* button;
    int dpi;
};
constexpr int LockButtonCount = 12;
extern const LockButton LockButtons[LockButtonCount];

// A button that assigns a fixed binding.
struct FixedFunction {
    const char* button;
    ButtonBinding binding;
    bool clearsFirst;  // the function-type list's buttons uncheck the function pages first
};
constexpr int FixedFunctionCount = 18;
extern const FixedFunction FixedFunctions[FixedFunctionCount];

}  // namespace FunctionViews
