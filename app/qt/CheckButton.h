#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A two-state button drawn as a push button: raised while its value is 0,
// sunken while it is 1. A click or the space bar toggles the value and then
// raises Click; setValue() raises nothing. A picture sits above the caption,
// which is centred and word-wrapped. What a press does with the value is the
// window's button rule (app/Form1).
class CheckButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CheckButton(const QString& caption, QWidget* parent = nullptr);

    int value() const { return isChecked() ? 1 : 0; }
    void setValue(int value) { setChecked(value == 1); }

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
