#pragma once
#include <QComboBox>

class QListView;

// Combo box that remembers the index it showed when it was last pressed (so a choice can
// be reverted) and draws the current item centred in its field.
class MyConmboBox : public QComboBox {
    Q_OBJECT
public:
    explicit MyConmboBox(QWidget* parent = nullptr);
    ~MyConmboBox() override;

    // Gives the list the pages' drop-down skin from the picture folder `folder` (ends with a
    // slash) and a plain list view of its own as pop-up, which it returns.
    QListView* applySkin(const QString& folder);

    int LastPressIndex = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
