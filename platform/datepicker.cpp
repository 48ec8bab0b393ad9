#include "platform/datepicker.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QStyleOptionComboBox>
#include <cmath>

#include "engine/environment.h"

namespace platform {

namespace {
const QDate kDayZero(1899, 12, 30);

QDate toQDate(double date) { return kDayZero.addDays(static_cast<qint64>(std::floor(date))); }
double fromQDate(QDate d) { return static_cast<double>(kDayZero.daysTo(d)); }

// The locale's short-date pattern, with a four-digit year so that no century is guessed.
QString pickerFormat() {
    QString p = QString::fromStdString(engine::Env().locale.shortDatePattern);
    if (p.isEmpty()) p = "dd/MM/yyyy";
    if (!p.contains("yyyy")) p.replace(QRegularExpression("y+"), "yyyy");
    return p;
}
}  // namespace

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent) {
    setDisplayFormat(pickerFormat());
    setCalendarPopup(true);
    // The drop-down calendar exists from here on; its closing is the CloseUp.
    QCalendarWidget* calendar = calendarWidget();
    popup_ = calendar->window();
    popup_->installEventFilter(this);
    connect(this, &QDateEdit::dateChanged, this, [this](QDate) { emit Change(); });
}

double DatePicker::Value() const { return fromQDate(date()); }
void DatePicker::SetValue(double d) { setDate(toQDate(d)); }
int DatePicker::Day() const { return date().day(); }
int DatePicker::Month() const { return date().month(); }
int DatePicker::Year() const { return date().year(); }

void DatePicker::SetRange(double first, double last) { setDateRange(toQDate(first), toQDate(last)); }
double DatePicker::MinDate() const { return fromQDate(minimumDate()); }
double DatePicker::MaxDate() const { return fromQDate(maximumDate()); }

bool DatePicker::DroppedDown() const { return popup_ && popup_->isVisible(); }

bool DatePicker::eventFilter(QObject* watched, QEvent* e) {
    if (watched == popup_ && e->type() == QEvent::Hide) emit CloseUp();
    return QDateEdit::eventFilter(watched, e);
}

QPoint DatePicker::arrowCentre() const {
    QStyleOptionComboBox opt;
    opt.initFrom(this);
    opt.editable = true;
    opt.subControls = QStyle::SC_All;
    return style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxArrow, this).center();
}

void DatePicker::DropDown() {
    if (DroppedDown()) return;
    const QPointF at = arrowCentre();
    const QPointF global = mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(this, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(this, &release);
}

void DatePicker::Pick(double d) {
    DropDown();
    // In the calendar: move to the date and press Enter.
    QCalendarWidget* calendar = calendarWidget();
    calendar->setSelectedDate(toQDate(d));
    QWidget* view = calendar->findChild<QAbstractItemView*>();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(view ? view : calendar, &enter);
}

}  // namespace platform
