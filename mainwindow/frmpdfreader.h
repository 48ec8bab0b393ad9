#pragma once
// The manual viewer "Read Manual": the program's manual (a PDF file in the program folder's
// PDF folder) with a toolbar for paging and zooming, a page label, and a File menu to open
// another PDF file, choose a printer, print and close. One instance, modeless.

#include <string>

#include "platform/controls.h"
#include "platform/forms.h"

class QToolBar;
class QAction;
namespace platform {
class PdfView;
}

class frmPDFReader : public platform::Form {
    Q_OBJECT
public:
    static constexpr const char* kManualFileName = "Tidewyn Vizoz Manual.pdf";

    frmPDFReader();

    // Opens the viewer on the manual, or brings the open viewer forward (both Help menus).
    static void OpenManual();

    // A toolbar button by its key: "FIRST", "BACK", "NEXT", "LAST", "ZOOMIN", "ZOOMOUT".
    void Toolbar1_ButtonClick(const std::string& key);
    // A key pressed in the viewer (virtual-key code).
    void GdViewer1_ScrollStep(int keyCode);
    void mnuOpenPDF_Click();
    void mnuSelectPrinter_Click();
    void mnuPrint_Click();
    void mnuExit_Click();

    // The toolbar's button for a key, or nullptr.
    QAction* ToolbarButton(const std::string& key) const;

    QToolBar* Toolbar1;
    platform::PdfView* GdViewer1;
    platform::Label* lblPage;
    platform::MenuItem mnuFile, mnuOpenPDF, mnuSelectPrinter, mnuPrint, mnuExit;

protected:
    void Form_Load() override;
    void Form_Resize() override;

private:
    void ArrangeControls();
    void ShowPageLabel();
};
