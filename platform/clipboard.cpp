#include "platform/clipboard.h"

#include <QApplication>
#include <QClipboard>

namespace platform {
void ClipboardClear() { QApplication::clipboard()->clear(); }
void ClipboardSetText(const std::string& text) {
    QApplication::clipboard()->setText(QString::fromStdString(text));
}
std::string ClipboardText() { return QApplication::clipboard()->text().toStdString(); }
}  // namespace platform
