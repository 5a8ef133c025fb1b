#pragma once

#include <QGroupBox>
#include <QString>
#include <functional>

class QLineEdit;
class QPushButton;

namespace qloom::gui {

class Prompter;

// The preview's site folder for the active project, in the project settings: the folder whose
// files the preview page may read. Empty means the project folder itself; a chosen folder must
// contain the project folder and must not lay the user's home folder open. It is kept in the
// user's settings for this project folder, never in the project file, and written on OK.
class SiteFolderBox : public QGroupBox {
    Q_OBJECT
public:
    using FolderPicker = std::function<QString(QWidget* parent, const QString& start)>;

    // Its messages go through `prompter` (the session's).
    SiteFolderBox(Prompter& prompter, QWidget* parent = nullptr);

    // Shows the stored choice for `projectFolder`.
    void load(const QString& projectFolder);
    // Stores the shown choice; false (with the store's file) when it could not be written.
    bool save(QString* store = nullptr) const;

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

    Prompter& prompter_;
    QLineEdit* text_;
    QPushButton* choose_;
    QPushButton* reset_;
    QString project_;
    QString folder_;
    FolderPicker picker_;
};

} // namespace qloom::gui
