#pragma once
#include <QToolButton>

// Device tile button of the choice page. Hovering it asks the page to re-check the tile's
// device: the nearest ancestor offering RefreshDeviceTile(int) (a slot or Q_INVOKABLE) is
// called with the number in the button's object name ("btn" + tile number).
class mytoolButtonEnter : public QToolButton {
    Q_OBJECT
public:
    explicit mytoolButtonEnter(QWidget* parent = nullptr);
    ~mytoolButtonEnter() override;

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
};
