#pragma once
#include <QComboBox>

// Combo box that remembers the index it showed when it was last pressed (so a choice can
// be reverted) and draws the current item centred in its field.
class MyConmboBox : public QComboBox {
    Q_OBJECT
public:
    explicit MyConmboBox(QWidget* parent = nullptr);
    ~MyConmboBox() override;

    int LastPressIndex = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
