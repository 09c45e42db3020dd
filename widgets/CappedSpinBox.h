#pragma once
#include <QSpinBox>

// Spin box where a typed number above the maximum becomes the maximum instead of losing the
// keystroke: typing 70000 into a box that ends at 65535 leaves 65535, not 7000.
class CappedSpinBox : public QSpinBox {
    Q_OBJECT
public:
    explicit CappedSpinBox(QWidget* parent = nullptr);

protected:
    QValidator::State validate(QString& text, int& pos) const override;
};
