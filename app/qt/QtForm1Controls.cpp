// The Qt window's controls: each made as its kind in the layout table, with
// its name, caption, font and colours, placed at the window's resolution,
// and the keyboard focus order.
#include "app/qt/QtForm1.h"

#include "app/qt/CheckButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>

static void initPictures() {
    Q_INIT_RESOURCE(pictures);
}

namespace {

namespace L = Form1Layout;

QString textOf(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont arialBold(double points) {
    QFont font(textOf(L::fontFamily));
    font.setPointSizeF(points);
    font.setWeight(QFont::Bold);
    return font;
}

QPixmap pictureFor(L::Picture picture) {
    if (picture == L::Picture::Highlighter)
        return QPixmap(QStringLiteral(":/pictures/highlighter.xpm"));
    QPixmap blank(L::pictureSide, L::pictureSide);
    blank.fill(Qt::transparent);
    return blank;
}

QWidget* make(const L::Place& place, QWidget* parent) {
    const QString caption = textOf(place.caption);
    switch (place.kind) {
    case L::Kind::Label: {
        auto* label = new QLabel(caption, parent);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case L::Kind::TextBox:
        return new QLineEdit(parent);
    case L::Kind::Button: {
        auto* button = new CheckButton(caption, parent);
        button->setPicture(pictureFor(place.picture));
        QPalette palette = button->palette();
        palette.setColor(QPalette::Button, Qt::white);
        button->setPalette(palette);
        return button;
    }
    case L::Kind::Frame: {
        auto* frame = new QGroupBox(caption, parent);
        // The usual group box of the style is a shaded panel with the
        // caption above it; this one is a white area whose border runs
        // through the middle of its caption.
        frame->setStyleSheet(QStringLiteral(
            "QGroupBox { background: white; border: 1px solid palette(mid); margin-top: 0.5em; }"
            "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px;"
            " background: white; }"));
        return frame;
    }
    case L::Kind::List: {
        auto* list = new QListWidget(parent);
        // Item views take the application's item-view font, not the
        // window's: the entries would come out in a plain face.
        list->setFont(parent->font());
        list->setSelectionMode(QAbstractItemView::MultiSelection);
        return list;
    }
    case L::Kind::DropDown:
        return new QComboBox(parent);
    case L::Kind::CheckBox:
        return new QCheckBox(caption, parent);
    case L::Kind::ProgressBar: {
        auto* bar = new QProgressBar(parent);
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
        return bar;
    }
    }
    return nullptr;
}

} // namespace

void QtForm1::createControls() {
    initPictures();
    setObjectName(QStringLiteral("Form1"));
    setFont(arialBold(L::windowFontPoints));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
    // The buttons' highlighter is the program's picture, as in the menu.
    setWindowIcon(QIcon(pictureFor(L::Picture::Highlighter)));

    for (const L::Place& place : L::places) {
        QWidget* parent = place.inFrame ? control(Control::Frame1) : this;
        QWidget* made = make(place, parent);
        made->setObjectName(textOf(place.name));
        if (place.ownFontPoints > 0)
            made->setFont(arialBold(place.ownFontPoints));
        controls_[static_cast<std::size_t>(place.control)] = made;
    }
}

void QtForm1::placeControls() {
    const int dpi = logicalDpiX();
    // A fixed size: no resizing, so no maximise box either.
    setFixedSize(L::toPixels(L::clientWidth, dpi), L::toPixels(L::clientHeight, dpi));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    for (const L::Place& place : L::places) {
        const L::Pixels box = L::toPixels(place.box, dpi);
        QWidget* placed = control(place.control);
        placed->setGeometry(box.left, box.top, box.width, box.height);
        // Text here can come out a few pixels wider than where the layout
        // was measured; a label may then reach into the gap before its field
        // rather than lose the end of its text.
        if (place.kind == L::Kind::Label)
            placed->resize(qMax(placed->width(), placed->sizeHint().width()), placed->height());
    }
}

void QtForm1::setFocusOrder() {
    for (std::size_t i = 0; i + 1 < L::focusOrder.size(); ++i)
        QWidget::setTabOrder(control(L::focusOrder[i]), control(L::focusOrder[i + 1]));
    control(L::focusOrder.front())->setFocus();
}
