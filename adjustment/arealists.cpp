#include "adjustment/arealists.h"

#include <QSignalBlocker>
#include <vector>

#include "adjustment/frmharmadjust.h"
#include "engine/areafile.h"
#include "engine/environment.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "platform/app.h"
#include "platform/dialogs.h"

using namespace engine;
using namespace platform;

void ReselectFile(FileListBox& files, const std::string& path) {
    const QSignalBlocker quiet(&files);
    int row = -1;
    for (int i = 0; i < files.ListCount() && !path.empty(); ++i)
        if (files.Path() + "/" + files.List(i) == path) row = i;
    files.setCurrentRow(row);
}

void PlaceOverAdjustment(Form& dialog) {
    if (IsLoaded<frmHarmAdjust>()) {
        const frmHarmAdjust& a = Get<frmHarmAdjust>();
        dialog.SetLeft((a.Width() - dialog.Width()) / 2);
        dialog.SetTop((a.Height() - dialog.Height()) / 2);
    }
    dialog.KeepOnScreen();
}

void ListAreaFiles(FileListBox& files) {
    files.SetHidden({kScratchAreaFileName});
    files.SetPattern("*.hc");
    files.SetPath(Env().programFolder);
}

bool ListLocations(const std::string& areaPath, ListBox& list) {
    std::vector<PortRecord> ports;
    if (FileResult r = ReadAllPortRecords(areaPath, ports); !r.ok()) {
        MsgBox("The locations cannot be listed: " + r.message, kExclamation);
        return false;
    }
    list.Clear();
    for (const PortRecord& p : ports) list.AddItem(ShownText(p.PortName));
    return true;
}

std::optional<std::string> LocationName(const std::string& areaPath, long k) {
    PortRecord port;
    if (FileResult r = ReadPortRecord(areaPath, k, port); !r.recordRead()) {
        MsgBox("The location cannot be read: " + r.message, kExclamation);
        return std::nullopt;
    }
    return ShownText(port.PortName);
}
