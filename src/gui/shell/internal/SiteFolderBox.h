#pragma once

#include "model/Result.h"

#include <QGroupBox>
#include <QString>
#include <functional>

class QLineEdit;
class QPushButton;

namespace qloom::gui {

class ProjectSessionApi;

// The preview's site folder for the active project, in the project settings: the folder whose
// files the preview page may read. Empty means the project folder itself; a chosen folder must
// contain the project folder and must not lay the user's home folder open. It is kept in the
// user's settings for this project folder, never in the project file, and written on OK.
class SiteFolderBox : public QGroupBox {
    Q_OBJECT
public:
    using FolderPicker = std::function<QString(QWidget* parent, const QString& start)>;

    // Its messages go through the session's prompter, asked for each one: a test or the ending
    // program may have put in another since.
    SiteFolderBox(ProjectSessionApi& session, QWidget* parent = nullptr);

    // Shows the stored choice for `projectFolder`.
    void load(const QString& projectFolder);
    // Stores the shown choice; a failure names the store's file.
    [[nodiscard]] Status save() const;

    QString folder() const { return folder_; }
    QLineEdit* siteFolderEdit() const { return text_; }
    QPushButton* chooseSiteFolderButton() const { return choose_; }
    QPushButton* projectFolderButton() const { return reset_; }
    // Test seam: replaces the platform folder dialog.
    void setFolderPicker(FolderPicker picker) { picker_ = std::move(picker); }

    void onChooseSiteFolderClicked();
    void onProjectFolderClicked();

private:
    void show(const QString& folder);

    ProjectSessionApi& session_;
    QLineEdit* text_;
    QPushButton* choose_;
    QPushButton* reset_;
    QString project_;
    QString folder_;
    FolderPicker picker_;
};

} // namespace qloom::gui
