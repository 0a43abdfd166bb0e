#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A two-state button drawn as a push button: raised while its value is 0,
// sunken while it is 1. A click or the space bar toggles the value, and every
// change of the value, whether from the user or from setValue(), raises
// Click. A picture sits above the caption, which is centred and word-wrapped.
//
// Handlers follow one rule, which takePress() carries out:
//
//     void Form1::Check4_Click() {
//         if (!Check4->takePress())
//             return;
//         ... the action ...
//     }
//
// takePress() puts the value back to 0, which raises Click once more; that
// nested call finds 0 and returns at once. So the button shows unpressed
// before the action starts and each press runs the action exactly once.
class CheckButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CheckButton(const QString& caption, QWidget* parent = nullptr);

    int value() const { return isChecked() ? 1 : 0; }
    void setValue(int value) { setChecked(value == 1); }

    // True when the value was 1; the value is then back at 0.
    bool takePress();

    void setPicture(const QPixmap& picture);
    QPixmap picture() const { return picture_; }

    QSize sizeHint() const override;

signals:
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};
