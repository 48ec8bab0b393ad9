#pragma once
// What the other windows ask of the main window. The main window implements this face; the
// windows below it reach the main window through it alone, never through its controls.

#include "engine/records.h"
#include "platform/forms.h"

namespace platform {

class MainWindowFace {
public:
    // The main window's design size, its smallest; the editors that lie over it take the same.
    static constexpr int kDesignWidth = 9720, kDesignHeight = 7400;

    // The main window as a window: to centre another on, or to own a modal one.
    virtual Form& Window() = 0;
    // Stops the title clock.
    virtual void PauseClock() = 0;
    // The month list emptied and hidden and the month's tables cleared, so that the next month
    // output computes the month again.
    virtual void ForgetMonthView() = 0;
    virtual void EnableMainMenus() = 0;
    // A record of the area in use made the current port (CurrentPort already its number): its
    // name (trimmed or as stored), position and zone taken, the day computed and shown for it.
    virtual void ShowPort(const engine::PortRecord& port, bool trimName) = 0;
    // The next and previous day buttons shown again.
    virtual void ShowDayButtons() = 0;
    // The month's sun table printed, after its question.
    virtual void PrintSunTable() = 0;

protected:
    ~MainWindowFace() = default;
};

// The main window while it is loaded, else nothing.
inline MainWindowFace* MainWindow() { return LoadedWith<MainWindowFace>(); }

// Gives `window` the main window's size and place, so that it lies exactly over it (the design
// size while there is no main window), and never less than the design size.
void LayOverMainWindow(Form& window);
// Centres `window` on the main window, when there is one.
void CentreOnMainWindow(Form& window);

}  // namespace platform
