#include "app/qt/CheckButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

constexpr int pictureGap = 2;
constexpr int textFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;

} // namespace

CheckButton::CheckButton(const QString& caption, QWidget* parent) : QAbstractButton(parent) {
    setText(caption);
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractButton::clicked, this, &CheckButton::Click);
}

void CheckButton::setPicture(const QPixmap& picture) {
    picture_ = picture;
    updateGeometry();
    update();
}

QSize CheckButton::sizeHint() const {
    const QSize caption = fontMetrics().size(0, text());
    const QSize picture = picture_.deviceIndependentSize().toSize();
    QStyleOptionButton option;
    option.initFrom(this);
    const QSize contents(qMax(caption.width(), picture.width()),
                         caption.height() + picture.height() + pictureGap);
    return style()->sizeFromContents(QStyle::CT_PushButton, &option, contents, this);
}

void CheckButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.text.clear();
    const bool sunken = isDown() || isChecked();
    option.state |= sunken ? QStyle::State_Sunken : QStyle::State_Raised;
    if (isChecked())
        option.state |= QStyle::State_On;
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (sunken)
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));

    // The picture goes above the caption while both fit; a caption that would
    // be squeezed out wins, since the small buttons carry blank pictures.
    const QRect textBox = painter.fontMetrics().boundingRect(area, textFlags, text());
    const QSize picture = picture_.deviceIndependentSize().toSize();
    const bool withPicture =
        !picture_.isNull() && textBox.height() + pictureGap + picture.height() <= area.height();
    const int blockHeight = textBox.height() + (withPicture ? pictureGap + picture.height() : 0);
    int top = area.top() + (area.height() - blockHeight) / 2;
    if (withPicture) {
        const QPoint at(area.left() + (area.width() - picture.width()) / 2, top);
        style()->drawItemPixmap(&painter, QRect(at, picture), Qt::AlignCenter, picture_);
        top += picture.height() + pictureGap;
    }
    const QRect textRect(area.left(), top, area.width(), textBox.height());
    style()->drawItemText(&painter, textRect, textFlags, palette(), isEnabled(), text(),
                          QPalette::ButtonText);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = textRect.adjusted(-1, 0, 1, 0).intersected(area);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}
