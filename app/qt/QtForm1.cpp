#include "app/qt/QtForm1.h"

#include "app/qt/CentreOnScreen.h"
#include "app/qt/CheckButton.h"
#include "app/qt/CursorFile.h"
#include "app/qt/InputPause.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QProgressBar>

#include <chrono>
#include <thread>

QtForm1::QtForm1(Form1Services services, QtDialogs dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(std::move(dialogs)), logic_(*this, std::move(services)) {
    createControls();
    placeControls();
    setFocusOrder();
    connectHandlers();
    logic_.Form_Load();
}

void QtForm1::connectHandlers() {
    for (const Form1::Events& events : Form1::events) {
        if (events.click == nullptr)
            continue;
        const auto click = [this, handler = events.click] { (logic_.*handler)(); };
        // Check7's Click comes with the user's clicks only: the start-up's
        // restore raises the logic's Click itself.
        if (events.control == Control::Check7)
            connect(check7(), &QCheckBox::clicked, this, click);
        else
            connect(button(events.control), &CheckButton::Click, this, click);
    }
    mouseMoveHandlers_ = {{control(Control::Frame1), &Form1::Frame1_MouseMove},
                          {list()->viewport(), &Form1::List1_MouseMove}};
    for (const Form1::Events& events : Form1::events)
        if (events.mouseMove != nullptr)
            mouseMoveHandlers_.insert(control(events.control), events.mouseMove);
    setMouseTracking(true);
    for (auto it = mouseMoveHandlers_.cbegin(); it != mouseMoveHandlers_.cend(); ++it) {
        auto* watched = static_cast<QWidget*>(it.key());
        watched->setMouseTracking(true);
        watched->installEventFilter(this);
    }
    // A move over a control belongs to that control alone: it must not reach
    // Frame1 or the window's background as theirs.
    const QList<QWidget*> children = findChildren<QWidget*>();
    for (QWidget* child : children)
        child->setAttribute(Qt::WA_NoMousePropagation);
}

void QtForm1::mouseMoveEvent(QMouseEvent* event) {
    logic_.Form_MouseMove();
    event->accept();
}

bool QtForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        const auto handler = mouseMoveHandlers_.constFind(watched);
        if (handler != mouseMoveHandlers_.cend())
            (logic_.*handler.value())();
    }
    return QWidget::eventFilter(watched, event);
}

QWidget* QtForm1::control(Control which) const {
    return controls_[static_cast<std::size_t>(which)];
}

CheckButton* QtForm1::button(Control which) const {
    return static_cast<CheckButton*>(control(which));
}

QLineEdit* QtForm1::textBox(Control which) const {
    return static_cast<QLineEdit*>(control(which));
}

QListWidget* QtForm1::list() const {
    return static_cast<QListWidget*>(control(Control::List1));
}

QComboBox* QtForm1::combo() const {
    return static_cast<QComboBox*>(control(Control::Combo1));
}

QCheckBox* QtForm1::check7() const {
    return static_cast<QCheckBox*>(control(Control::Check7));
}

QProgressBar* QtForm1::progressBar() const {
    return static_cast<QProgressBar*>(control(Control::ProgressBar1));
}

void QtForm1::setCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

void QtForm1::centreOnScreen() {
    CentreOnScreen(*this);
}

void QtForm1::loadCustomPointer(const std::filesystem::path& file) {
    pointer_.setCustomCursor(loadCursorFile(QString::fromStdU16String(file.u16string())));
}

void QtForm1::showPointer(int value) {
    pointer_.show(value);
}

void QtForm1::closeSoon() {
    // Queued, so the handler under way finishes before the window (and with
    // the last window, the program) goes.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

std::string QtForm1::text(Control box) const {
    return textBox(box)->text().toStdString();
}

void QtForm1::setText(Control box, const std::string& text) {
    textBox(box)->setText(QString::fromStdString(text));
}

int QtForm1::value(Control which) const {
    if (which == Control::Check7)
        return check7()->isChecked() ? 1 : 0;
    return button(which)->value();
}

void QtForm1::setValue(Control which, int value) {
    if (which == Control::Check7)
        check7()->setChecked(value == 1);
    else
        button(which)->setValue(value);
}

int QtForm1::columnCount() const {
    return list()->count();
}

bool QtForm1::isColumnSelected(int index) const {
    return list()->item(index)->isSelected();
}

void QtForm1::selectColumn(int index, bool selected) {
    list()->item(index)->setSelected(selected);
}

void QtForm1::setColumns(const std::vector<std::string>& names) {
    list()->clear();
    for (const std::string& name : names)
        list()->addItem(QString::fromStdString(name));
}

void QtForm1::addColour(const std::string& name, dupes::HighlightColour colour) {
    combo()->addItem(QString::fromStdString(name), static_cast<int>(colour));
}

void QtForm1::chooseColourAt(int index) {
    combo()->setCurrentIndex(index);
}

std::optional<dupes::HighlightColour> QtForm1::chosenColour() const {
    const QVariant colour = combo()->currentData();
    if (!colour.isValid())
        return std::nullopt;
    return static_cast<dupes::HighlightColour>(colour.toInt());
}

void QtForm1::makeProgressBarWhite() {
    QPalette bar = progressBar()->palette();
    bar.setColor(QPalette::Base, Qt::white);
    bar.setColor(QPalette::Window, Qt::white);
    progressBar()->setPalette(bar);
}

void QtForm1::setProgress(int percent) {
    progressBar()->setValue(percent);
}

std::string QtForm1::askForWorkbookFile(const std::string& currentPath) {
    return dialogs_.chooseWorkbookFile(this, QString::fromStdString(currentPath)).toStdString();
}

void QtForm1::showMessage(const std::string& title, const std::string& text) {
    dialogs_.showMessage(this, QString::fromStdString(title), QString::fromStdString(text));
}

void QtForm1::waitWithoutInput(const std::function<bool()>& done, const std::function<void()>& tick,
                               const std::function<void()>& closeAsked) {
    InputPause pause(this, closeAsked);
    while (!done()) {
        tick();
        pause.keepPainting();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}
