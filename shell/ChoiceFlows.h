#pragma once
#include <QString>

#include "device/DeviceAllInfo.h"

class QWidget;

// What the device-choice page offers for a receiver whose mouse is missing: pairing, a
// firmware update warning or a firmware repair. Used by a tile click and by the top-level
// window's Space key. Every flow works on its own copy of the record: a hot-plug rescan
// during one of its modal dialogs may replace the choice page's list.
class ChoiceFlows {
public:
    // The answer to a receiver whose mouse is missing, from the two firmware checks.
    enum class ReceiverAnswer { RePairQuestion, UpdateWarning, RepairConfirm };
    static ReceiverAnswer decide(bool receiverNewer, bool mouseNewer);

    // Receiver type of the settings page's firmware check: 1, 2 or 4; 0 matches no file.
    static int receiverType(int kind);

    // The tile-click flow for receiver r: pairing when no mouse version is stored, else the
    // firmware checks decide between the re-pair question, the update warning and the
    // repair confirmation. Dialogs are centred over `over`.
    static void RunReceiverFlow(DeviceAllInfo r, QWidget* over);

    // Space on the choice page: the same checks for the only listed device when it is
    // reached through a receiver, pairing without the re-pair question, then the data link
    // is opened again.
    static void RunSpaceKeyFlow(QWidget* over);
};
