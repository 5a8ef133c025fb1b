#pragma once

// The folder chooser of the start dialog: a list of the current folder's ancestors and
// subfolders, a root picker, and a path box the user may also type into. The caller sets the
// start folder, proposed name, message and caption before each showing and reads accepted()
// and path() after it.

#include <QDialog>
#include <QHash>
#include <memory>

namespace Ui {
class FolderChooser;
}

class QListWidgetItem;

namespace qloom::gui {

class ProjectSessionApi;

class FolderChooser : public QDialog {
    Q_OBJECT

public:
    FolderChooser(ProjectSessionApi& session, QWidget* parent = nullptr);
    ~FolderChooser() override;

    void setStartFolder(const QString& folder) { startFolder_ = folder; }
    void setProposedName(const QString& name) { proposedName_ = name; }
    void setMessage(const QString& text);
    bool accepted() const { return accepted_; }

    // The path box (pathEdit).
    QString path() const;
    void setPath(const QString& text);

    // The list's current folder; changing it replaces the path box (onCurrentFolderChanged).
    QString currentFolder() const { return currentFolder_; }
    void setCurrentFolder(const QString& folder);
    // The folders the list offers, top to bottom.
    QStringList listedFolders() const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Widens the dialog until its caption fits in the title bar.
    void fitTitle();
    void fillList();
    void fillDrives();
    void entryActivated(QListWidgetItem* item);
    void driveChosen(int index);
    void onCurrentFolderChanged();
    void onOkClicked();

    std::unique_ptr<Ui::FolderChooser> ui;
    ProjectSessionApi& session_;
    QString startFolder_;
    QString proposedName_;
    QString currentFolder_;
    bool accepted_ = false;
    // Each root's last current folder, so that picking a root again returns there.
    QHash<QString, QString> rootFolders_;
};

} // namespace qloom::gui
