#pragma once
#include <QComboBox>

class QListView;

// Combo box that remembers the index it showed before the user last changed it (pressed it or
// used a key; a wheel over the closed box passes it by, see widgets/WheelPassing), so a choice
// the mouse refused can be shown back, and draws the current item centred in its field.
class MyConmboBox : public QComboBox {
    Q_OBJECT
public:
    explicit MyConmboBox(QWidget* parent = nullptr);
    ~MyConmboBox() override;

    // Gives the list the pages' drop-down skin from the picture folder `folder` (ends with a
    // slash) and a plain list view of its own as pop-up, which it returns.
    QListView* applySkin(const QString& folder);
    // The same skin, with the list view made when the list first opens: laying out a list's
    // entries resolves their fonts, which a list of languages in six scripts makes costly,
    // and the first window need not wait for that.
    void applySkinWhenOpened(const QString& folder);

    int LastPressIndex = 0;
    // Shows the entry of LastPressIndex again, without announcing it.
    void showPressIndex();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void showPopup() override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void skinField(const QString& folder);
    QListView* skinList();

    bool m_skinned = false;
    bool m_listPending = false;
};
