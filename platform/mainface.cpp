#include "platform/mainface.h"

namespace platform {

void LayOverMainWindow(Form& window) {
    window.setMinimumSize(ToPixels(MainWindowFace::kDesignWidth), ToPixels(MainWindowFace::kDesignHeight));
    MainWindowFace* main = MainWindow();
    if (!main) {
        window.SetWidth(MainWindowFace::kDesignWidth);
        window.SetHeight(MainWindowFace::kDesignHeight);
        return;
    }
    const Form& over = main->Window();
    window.SetWidth(over.Width());
    window.SetHeight(over.Height());
    window.SetLeft(over.Left());
    window.SetTop(over.Top());
}

void CentreOnMainWindow(Form& window) {
    if (MainWindowFace* main = MainWindow()) window.CentreOn(main->Window());
}

}  // namespace platform
