#include "mainwindow/notices.h"

#include "platform/dialogs.h"

bool FailureNotices::Tell(const std::string& what, const engine::FileResult& r) {
    if (r.ok()) return false;
    Tell(what, r.message);
    return true;
}

void FailureNotices::Tell(const std::string& what, const std::string& reason) {
    if (!told_.insert(reason).second) return;
    platform::MsgBox(what.empty() ? reason : what + ": " + reason,
                     platform::kOkOnly | platform::kExclamation);
}
