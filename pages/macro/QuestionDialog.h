#pragma once
#include "pages/macro/KeyEntryDialog.h"

namespace Ui {
class QuestionDialog;
}

// Asks for the name of a new macro or a new name for one. While the user types, the name is
// kept safe as a file name and within the 30 bytes the mouse stores.
class QuestionDialog : public KeyEntryDialog {
    Q_OBJECT
public:
    explicit QuestionDialog(QWidget* parent = nullptr);
    ~QuestionDialog() override;

    QString MacroName;  // the entered name; empty after cancel

    // The name as the filter leaves it after an edit to `text`.
    static QString filteredName(const QString& text);

public slots:
    void WindowClosedLan();
    void on_NewHong_clicked();
    void on_CloseButton_clicked();
    void on_lineEdit_textEdited(const QString& arg1);

private:
    Ui::QuestionDialog* ui;
};
