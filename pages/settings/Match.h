#pragma once
#include <QDialog>

namespace Ui {
class Match;
}

// The receiver pairing dialog. For now it can only be prepared and closed; closing hands the
// hot-plug watch back to the device-choice page, as every pairing run does.
class Match : public QDialog {
    Q_OBJECT
public:
    explicit Match(QWidget* parent = nullptr);
    ~Match() override;

    // Prepares a run for the receiver to pair.
    void SetPairButtonImage();

public slots:
    // The close button.
    void WindowClosedSet();

protected:
    // Escape and the window's own close end the run like the close button.
    void reject() override;

private:
    Ui::Match* ui;
};
