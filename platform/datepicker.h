#pragma once
// A date box with a drop-down calendar. Its date is read and set as one date value (whole
// days since 30 December 1899, as the engine counts them); Day, Month and Year read its parts.
// CloseUp fires when the drop-down calendar closes, after the date picked in it has been taken
// (or with the date unchanged when the user closed it without a pick); Change fires whenever
// the date changes (picked, typed or set in code).

#include <QDateEdit>

namespace platform {

class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent);

    // The date at midnight.
    double Value() const;
    // The time of day is dropped; a date outside the range becomes the nearer end of it.
    void SetValue(double date);
    int Day() const;
    int Month() const;
    int Year() const;

    // The dates that can be picked, first and last inclusive.
    void SetRange(double first, double last);
    double MinDate() const;
    double MaxDate() const;

    // Whether the drop-down calendar is open.
    bool DroppedDown() const;
    // Opens the drop-down calendar as a click on the arrow does.
    void DropDown();
    // Opens the drop-down calendar, picks date in it and so closes it, as the user does (for
    // tests).
    void Pick(double date);

signals:
    void CloseUp();
    void Change();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QPoint arrowCentre() const;
    QWidget* popup_ = nullptr;
};

}  // namespace platform
