#include "pages/macro/Macro.h"

#include "common/PostMsg.h"
#include "device/SharedFlags.h"

Macro::Macro(QWidget* parent)
    : QWidget(parent)
{
    connect(PostMsg::instance(), SIGNAL(SigButtonToMacro(FlashDataMap, int)), this,
            SLOT(SlotButtonToMacro(FlashDataMap, int)));
    connect(PostMsg::instance(), SIGNAL(SigSetMacroPage()), this, SLOT(SlotSetMacroPage()));
}

void Macro::SlotButtonToMacro(FlashDataMap /*DataMap*/, int /*KeyNumer*/)
{
    PostMsg::instance()->SendAddMacroButton();
}

void Macro::SlotSetMacroPage()
{
    MacroRecording = 0;
    PostMsg::instance()->SendStartRecord(1);
}
