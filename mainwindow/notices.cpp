#include "mainwindow/notices.h"

#include "platform/dialogs.h"

bool FailureNotices::Tell(const std::string& what, const engine::FileResult& r, const std::string& advice) {
    if (r.ok()) return false;
    Tell(what, r.message, advice);
    return true;
}

void FailureNotices::Tell(const std::string& what, const std::string& reason, const std::string& advice) {
    if (!told_.insert(reason).second) return;
    std::string text = what.empty() ? reason : what + ": " + reason;
    if (!advice.empty()) text += ". " + advice;
    platform::MsgBox(text, platform::kOkOnly | platform::kExclamation);
}
