#include "platform/folderlists.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QStyle>
#include <algorithm>

namespace platform {

namespace {

VolumeSource& volumeSource() {
    static VolumeSource source;
    return source;
}

std::vector<Volume> systemVolumes() {
    std::vector<Volume> out;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        // Files mounted over files (a container's /etc/hosts) are no volumes to browse.
        if (!v.isValid() || !QFileInfo(v.rootPath()).isDir()) continue;
        out.push_back({v.rootPath().toStdString(), v.isReady() && QDir(v.rootPath()).isReadable()});
    }
    return out;
}

QString absolute(const std::string& folder) {
    return QDir::cleanPath(QDir(QString::fromStdString(folder)).absolutePath());
}

// Whether `folder` lies on the volume mounted at `root`.
bool onVolume(const QString& folder, const QString& root) {
    if (root == "/") return folder.startsWith('/');
    return folder == root || folder.startsWith(root + '/');
}

constexpr int kPathRole = Qt::UserRole;

}  // namespace

void SetVolumeSource(VolumeSource source) { volumeSource() = std::move(source); }

std::vector<Volume> MountedVolumes() {
    std::vector<Volume> all = volumeSource() ? volumeSource()() : systemVolumes();
    std::stable_sort(all.begin(), all.end(),
                     [](const Volume& a, const Volume& b) { return a.root < b.root; });
    // Of two mounts on one root, the later hides the earlier.
    std::vector<Volume> out;
    for (Volume& v : all) {
        if (!out.empty() && out.back().root == v.root) out.back() = std::move(v);
        else out.push_back(std::move(v));
    }
    return out;
}

DriveListBox::DriveListBox(QWidget* parent, const std::string& folder) : QComboBox(parent) {
    volumes_ = MountedVolumes();
    // The volume the folder really lies on, through any links.
    const QString canonical = QFileInfo(QString::fromStdString(folder)).canonicalFilePath();
    const QString start = canonical.isEmpty() ? absolute(folder) : canonical;
    int chosen = -1;
    size_t longest = 0;
    for (size_t i = 0; i < volumes_.size(); ++i) {
        const QString root = QString::fromStdString(volumes_[i].root);
        addItem(root);
        if (onVolume(start, root) && (chosen < 0 || volumes_[i].root.size() > longest)) {
            chosen = static_cast<int>(i);
            longest = volumes_[i].root.size();
        }
    }
    setCurrentIndex(chosen);
    connect(this, &QComboBox::currentIndexChanged, this, [this] { emit Change(); });
}

std::string DriveListBox::Drive() const {
    const int i = currentIndex();
    return i < 0 ? std::string() : volumes_[static_cast<size_t>(i)].root;
}

bool DriveListBox::DriveReady() const {
    const int i = currentIndex();
    return i >= 0 && volumes_[static_cast<size_t>(i)].readable;
}

bool DriveListBox::SetDrive(const std::string& root) {
    const auto found =
        std::find_if(volumes_.begin(), volumes_.end(), [&](const Volume& v) { return v.root == root; });
    setCurrentIndex(found == volumes_.end() ? -1 : static_cast<int>(found - volumes_.begin()));
    return found != volumes_.end();
}

std::vector<std::string> DriveListBox::Drives() const {
    std::vector<std::string> out;
    for (const Volume& v : volumes_) out.push_back(v.root);
    return out;
}

DirListBox::DirListBox(QWidget* parent, const std::string& folder) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setIndentation(14);
    path_ = absolute(folder).toStdString();
    list();
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { SetPath(item->data(0, kPathRole).toString().toStdString()); });
}

bool DirListBox::SetPath(const std::string& folder) {
    const std::string before = path_;
    path_ = folder.empty() ? std::string() : absolute(folder).toStdString();
    const bool listed = list();
    if (path_ != before) emit Change();
    return listed;
}

bool DirListBox::list() {
    clear();
    if (path_.empty()) return true;
    const QString path = QString::fromStdString(path_);
    const QDir dir(path);
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);

    // The open folders from the root down to the path.
    QStringList parts = path.split('/', Qt::SkipEmptyParts);
    auto* item = new QTreeWidgetItem(this, QStringList{"/"});
    item->setData(0, kPathRole, QStringLiteral("/"));
    item->setIcon(0, open);
    QString sofar;
    for (const QString& part : parts) {
        sofar += '/' + part;
        item = new QTreeWidgetItem(item, QStringList{part});
        item->setData(0, kPathRole, sofar);
        item->setIcon(0, open);
    }
    setCurrentItem(item);

    const bool readable = dir.exists() && dir.isReadable();
    if (readable) {
        const QString prefix = path.endsWith('/') ? path : path + '/';
        for (const QString& name :
             dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
            auto* child = new QTreeWidgetItem(item, QStringList{name});
            child->setData(0, kPathRole, prefix + name);
            child->setIcon(0, closed);
        }
    }
    expandAll();
    scrollToItem(item);
    return readable;
}

std::vector<std::string> DirListBox::Folders() const {
    std::vector<std::string> out;
    const std::function<void(const QTreeWidgetItem*)> walk = [&](const QTreeWidgetItem* item) {
        out.push_back(item->data(0, kPathRole).toString().toStdString());
        for (int i = 0; i < item->childCount(); ++i) walk(item->child(i));
    };
    for (int i = 0; i < topLevelItemCount(); ++i) walk(topLevelItem(i));
    return out;
}

}  // namespace platform
