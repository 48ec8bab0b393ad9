#include "platform/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QScreen>
#include <QSpacerItem>
#include <QStringList>
#include <algorithm>

#include "platform/app.h"

namespace platform {

namespace {
ScriptedDialogs* script = nullptr;

QWidget* activeParent() { return QApplication::activeWindow(); }
}  // namespace

// Patterns match without regard to case ("UK.hc" and "UK.HC" alike): each pattern is given in
// its lower and upper case too. The description keeps its words; Qt reads the patterns from
// the brackets, so those are written afresh.
std::string QtFileFilter(const std::string& filter) {
    QStringList parts = QString::fromStdString(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts[i];
        qsizetype bracket = desc.indexOf('(');
        if (bracket >= 0) desc = desc.left(bracket);
        desc = desc.trimmed();
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QRegularExpression("[; ]"), Qt::SkipEmptyParts))
            for (const QString& form : {p, p.toLower(), p.toUpper()})
                if (!patterns.contains(form)) patterns << form;
        out << desc + " (" + patterns.join(' ') + ")";
    }
    return out.join(";;").toStdString();
}

namespace {
QString qtFilter(const std::string& filter) { return QString::fromStdString(QtFileFilter(filter)); }
}  // namespace

ScriptedDialogs::ScriptedDialogs() { script = this; }
ScriptedDialogs::~ScriptedDialogs() {
    if (script == this) script = nullptr;
}

int TitleBarWidth(const std::string& title) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);  // as many window managers draw it
    const QFontMetrics fm(font);
    return fm.horizontalAdvance(QString::fromStdString(title)) + 7 * fm.height();
}

namespace {
// A message box sizes itself by its text and leaves little room for the title: a row as wide
// as the title needs keeps it from being cut short, within the screen.
void widenForTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    int width = TitleBarWidth(box.windowTitle().toStdString());
    if (QScreen* s = box.screen()) width = std::min(width, s->availableGeometry().width() * 9 / 10);
    const QMargins m = grid->contentsMargins();
    grid->addItem(new QSpacerItem(width - m.left() - m.right(), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}
}  // namespace

bool TellSave(const engine::FileResult& r, const std::string& refused, int style, const std::string& title) {
    if (!r.saved()) {
        MsgBox(refused + r.message, style, title);
        return false;
    }
    if (!r.ok()) MsgBox(r.message, style, title);
    return true;
}

int MsgBox(const std::string& prompt, int style, const std::string& title) {
    std::string shownTitle = title.empty() ? kProgramCaption : title;
    int buttons = style & 7;
    if (script) {
        script->messages.push_back({prompt, style, shownTitle});
        if (!script->messageAnswers.empty()) {
            int a = script->messageAnswers.front();
            script->messageAnswers.pop_front();
            return a;
        }
        return buttons == kYesNo ? kYes : kOk;
    }
    QMessageBox box(activeParent());
    box.setWindowTitle(QString::fromStdString(shownTitle));
    QString text = QString::fromStdString(prompt);
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    box.setText(text);
    switch (style & 0x70) {
        case kCritical: box.setIcon(QMessageBox::Critical); break;
        case kQuestion: box.setIcon(QMessageBox::Question); break;
        case kExclamation: box.setIcon(QMessageBox::Warning); break;
        case kInformation: box.setIcon(QMessageBox::Information); break;
        default: box.setIcon(QMessageBox::NoIcon);
    }
    if (buttons == kYesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    } else if (buttons == kOkCancel) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    widenForTitle(box);
    int r = box.exec();
    if (ProgramEnding()) throw EndProgramRequest{};
    switch (r) {
        case QMessageBox::Yes: return kYes;
        case QMessageBox::No: return kNo;
        case QMessageBox::Cancel: return kCancel;
        default: return kOk;
    }
}

std::optional<std::string> FileDialog(const FileDialogRequest& request) {
    if (script) {
        script->fileRequests.push_back(request);
        if (script->fileAnswers.empty()) return std::nullopt;
        auto a = script->fileAnswers.front();
        script->fileAnswers.pop_front();
        return a;
    }
    QString start = QString::fromStdString(request.initialFolder);
    if (!request.fileName.empty())
        start = start.isEmpty() ? QString::fromStdString(request.fileName)
                                : start + "/" + QString::fromStdString(request.fileName);
    QFileDialog::Options options;
    if (!request.promptOverwrite) options |= QFileDialog::DontConfirmOverwrite;
    QString chosen = request.save
                         ? QFileDialog::getSaveFileName(activeParent(), QString::fromStdString(request.title),
                                                        start, qtFilter(request.filter), nullptr, options)
                         : QFileDialog::getOpenFileName(activeParent(), QString::fromStdString(request.title),
                                                        start, qtFilter(request.filter), nullptr, options);
    if (ProgramEnding()) throw EndProgramRequest{};
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.toStdString();
}

std::optional<std::string> ChoosePrinter(const std::string& current) {
    if (script) {
        ++script->printerRequests;
        if (script->printerAnswers.empty()) return std::nullopt;
        auto a = script->printerAnswers.front();
        script->printerAnswers.pop_front();
        return a;
    }
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        MsgBox("No printer is installed on this computer.", kOkOnly | kExclamation);
        return std::nullopt;
    }
    QPrinter printer;
    if (!current.empty()) printer.setPrinterName(QString::fromStdString(current));
    QPrintDialog dialog(&printer, activeParent());
    int r = dialog.exec();
    if (ProgramEnding()) throw EndProgramRequest{};
    if (r != QDialog::Accepted) return std::nullopt;
    return printer.printerName().toStdString();
}

}  // namespace platform
