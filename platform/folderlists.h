#pragma once
// Lists to choose a folder with: the mounted volumes, and the folders on the way to a path.

#include <QComboBox>
#include <QTreeWidget>
#include <functional>
#include <string>
#include <vector>

namespace platform {

// A mounted volume by its root path; `readable` is false where its root cannot be listed
// (a volume not ready, a failing disk).
struct Volume {
    std::string root;
    bool readable = true;
};
// The mounted volumes, sorted by root path.
std::vector<Volume> MountedVolumes();
// Test seam: when set, MountedVolumes returns what it gives.
using VolumeSource = std::function<std::vector<Volume>()>;
void SetVolumeSource(VolumeSource source);

// The mounted volumes as a drop-down list. Change fires when the choice changes, by the user or
// by code.
class DriveListBox : public QComboBox {
    Q_OBJECT
public:
    // Lists the volumes and chooses the one holding `folder`, without a Change.
    DriveListBox(QWidget* parent, const std::string& folder);
    // The chosen volume's root path.
    std::string Drive() const;
    // Whether the chosen volume could be read when it was listed.
    bool DriveReady() const;
    // Chooses the volume of that root path; false, with nothing chosen, when none is listed.
    bool SetDrive(const std::string& root);
    std::vector<std::string> Drives() const;
signals:
    void Change();

private:
    std::vector<Volume> volumes_;
};

// The folders from the root to a path, each open, and the folders inside the path. A double
// click on one opens it. Change fires when the path changes.
class DirListBox : public QTreeWidget {
    Q_OBJECT
public:
    // Starts on `folder`, without a Change.
    DirListBox(QWidget* parent, const std::string& folder);
    const std::string& Path() const { return path_; }
    // Opens a folder: "" lists nothing. False when the folder cannot be listed, which then
    // lists nothing below it.
    bool SetPath(const std::string& folder);
    // The folders shown, as paths, top to bottom.
    std::vector<std::string> Folders() const;
signals:
    void Change();

protected:
    // Every folder shown stays open: no branch marks.
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}

private:
    bool list();
    std::string path_;
};

}  // namespace platform
