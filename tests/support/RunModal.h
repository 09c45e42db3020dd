#pragma once
// Runs a dialog modally while a test acts on it.
#include <QDialog>
#include <QTimer>
#include <QtTest>

#include <functional>

// Runs `dialog` with exec; `action` runs once the dialog is shown and active. Returns whether
// the dialog was still open after the action (it is then closed by `close`, or rejected).
inline bool runModal(QDialog& dialog, const std::function<void()>& action,
                     const std::function<void(QDialog&)>& close = {})
{
    bool openAfter = false;
    QTimer::singleShot(0, &dialog, [&] {
        dialog.activateWindow();
        if (!QTest::qWaitForWindowActive(&dialog))
            QTest::qFail("the dialog never became active", __FILE__, __LINE__);
        action();
        openAfter = dialog.isVisible();
        if (openAfter) {
            if (close)
                close(dialog);
            else
                dialog.reject();
        }
    });
    dialog.exec();
    return openAfter;
}
