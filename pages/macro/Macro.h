#pragma once
#include <QWidget>

#include "device/FlashDataMap.h"

// The macro editor page. For now only its receiving ends that other pages rely on.
class Macro : public QWidget {
    Q_OBJECT
public:
    explicit Macro(QWidget* parent = nullptr);

public slots:
    // A button bound to a macro was chosen: the editor shows it, and the button page
    // refreshes its macro buttons.
    void SlotButtonToMacro(FlashDataMap DataMap, int KeyNumer);
    // The frame's back arrow: recording stops and the frame's page buttons come back.
    void SlotSetMacroPage();
};
