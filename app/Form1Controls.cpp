// Form1's controls: what each is, its name, caption, font and colours, where
// it stands, and the keyboard focus order.
#include "app/Form1.h"

#include "app/CheckButton.h"
#include "app/Form1Layout.h"

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

QFont arialBold(double points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setWeight(QFont::Bold);
    return font;
}

QPixmap blankPicture() {
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    return picture;
}

template <typename Control> Control* named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

QLabel* label(const QString& caption, const char* name, QWidget* parent) {
    auto* result = named(new QLabel(caption, parent), name);
    result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return result;
}

CheckButton* button(const QString& caption, const char* name, const QPixmap& picture,
                    QWidget* parent) {
    auto* result = named(new CheckButton(caption, parent), name);
    result->setFont(arialBold(11.25));
    result->setPicture(picture);
    QPalette palette = result->palette();
    palette.setColor(QPalette::Button, Qt::white);
    result->setPalette(palette);
    return result;
}

} // namespace

void Form1::createControls() {
    initPictures();
    setObjectName(QStringLiteral("Form1"));
    setFont(arialBold(9));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);

    const QPixmap blank = blankPicture();
    const QPixmap highlighter(QStringLiteral(":/pictures/highlighter.xpm"));
    // The buttons' highlighter is the program's picture, as in the menu.
    setWindowIcon(QIcon(highlighter));

    Label2 = label(QStringLiteral("Excel file:"), "Label2", this);
    txtExcelFile = named(new QLineEdit(this), "txtExcelFile");
    Check4 = button(QStringLiteral("..."), "Check4", blank, this);
    lblStartColumn0 = label(QStringLiteral("Select block of cells:"), "lblStartColumn", this);
    txtSelection = named(new QLineEdit(this), "txtSelection");
    Check2 = button(QStringLiteral("..."), "Check2", blank, this);

    Frame1 =
        named(new QGroupBox(QStringLiteral("Select columns to look at when finding duplicate rows"),
                            this),
              "Frame1");
    // The usual group box of the style is a shaded panel with the caption
    // above it; this one is a white area whose border runs through the middle
    // of its caption.
    Frame1->setStyleSheet(QStringLiteral(
        "QGroupBox#Frame1 { background: white; border: 1px solid palette(mid); margin-top: 0.5em; }"
        "QGroupBox#Frame1::title { subcontrol-origin: margin; left: 6px; padding: 0 2px;"
        " background: white; }"));
    List1 = named(new QListWidget(Frame1), "List1");
    // Item views take the application's item-view font, not the window's:
    // the list's entries would come out in a plain face unlike every field.
    List1->setFont(font());
    List1->setSelectionMode(QAbstractItemView::MultiSelection);
    Check1 = button(QStringLiteral("Select All"), "Check1", blank, Frame1);
    Check3 = button(QStringLiteral("Unselect All"), "Check3", blank, Frame1);

    lblStartColumn2 = label(QStringLiteral("Color to highlight with:"), "lblStartColumn", this);
    Combo1 = named(new QComboBox(this), "Combo1");
    Check7 = named(new QCheckBox(QStringLiteral("Highlight entire row"), this), "Check7");
    Check5 = button(QStringLiteral("Highlight Duplicates Except For First One"), "Check5",
                    highlighter, this);
    Check6 = button(QStringLiteral("Highlight All Duplicates"), "Check6", highlighter, this);

    ProgressBar1 = named(new QProgressBar(this), "ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
}

void Form1::placeControls() {
    namespace L = Form1Layout;
    const int dpi = logicalDpiX();
    // A fixed size: no resizing, so no maximise box either.
    setFixedSize(L::clientSize(dpi));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    const std::pair<QWidget*, L::Twips> places[] = {
        {Label2, L::Label2},
        {txtExcelFile, L::txtExcelFile},
        {Check4, L::Check4},
        {lblStartColumn0, L::lblStartColumn0},
        {txtSelection, L::txtSelection},
        {Check2, L::Check2},
        {Frame1, L::Frame1},
        {List1, L::List1},
        {Check1, L::Check1},
        {Check3, L::Check3},
        {lblStartColumn2, L::lblStartColumn2},
        {Combo1, L::Combo1},
        {Check7, L::Check7},
        {Check5, L::Check5},
        {Check6, L::Check6},
        {ProgressBar1, L::ProgressBar1},
    };
    for (const auto& [control, box] : places)
        control->setGeometry(L::toPixels(box, dpi));

    // Text here can come out a few pixels wider than where the layout was
    // measured; a label may then reach into the gap before its field rather
    // than lose the end of its text.
    for (QLabel* label : {Label2, lblStartColumn0, lblStartColumn2})
        label->resize(qMax(label->width(), label->sizeHint().width()), label->height());
}

void Form1::setFocusOrder() {
    QWidget* const order[] = {txtExcelFile, Check4, txtSelection, Check2, List1, Check1,
                              Check3,       Combo1, Check5,       Check6, Check7};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
    txtExcelFile->setFocus();
}
