#pragma once
#include "common/DialogFrame.h"

// Notice that the installation is damaged: the program's device list ("usersetting/Config.ini")
// or its English language file, the one every language falls back to, is missing or cannot be
// used. The device-choice page opens it instead of leaving the user to plug in mice that it can
// never list.
class DamagedInstall : public DialogFrame {
    Q_OBJECT
public:
    enum class Fault { DeviceList, LanguageFiles };

    explicit DamagedInstall(Fault fault, QWidget* parent = nullptr);

    // The text of `fault` in language `index`: its element of the notice's section, else the
    // notice's built-in English text.
    static QString faultText(Fault fault, int index);

    // What the installation's files say: the device list's fault first; nothing when both
    // the device list and the English language file are sound.
    static bool findFault(Fault* fault);

public slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();

protected:
    void applyText(const QString& element, const QString& text) override;

private:
    Fault m_fault;
};
