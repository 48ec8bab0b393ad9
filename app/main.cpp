// Tidewyn Vizoz: the conditions window opens first; the program runs until it is told to end.
#include <QApplication>

#include "mainwindow/frmcopyright.h"
#include "platform/app.h"
#include "platform/forms.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName("Tidewyn Vizoz");
    platform::InitEnvironment();
    platform::Run([] { platform::Get<frmCopyright>(); });
    int rc = platform::ProgramEnding() ? 0 : app.exec();
    platform::DestroyAllForms();
    return rc;
}
