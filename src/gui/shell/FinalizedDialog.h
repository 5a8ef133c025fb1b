#pragma once

// Shown after "Finalize": the two lines a web page needs, the files to upload with the script,
// and a way to the project folder.

#include "model/SiteReferences.h"

#include <QDialog>
#include <memory>
#include <vector>

namespace Ui {
class FinalizedDialog;
}

class QListWidget;

namespace qloom::gui {

class MainWindowOps;

class FinalizedDialog : public QDialog {
    Q_OBJECT

public:
    FinalizedDialog(MainWindowOps& main, QWidget* parent = nullptr);
    ~FinalizedDialog() override;

    QString infoText() const;
    // The local files of the project as last listed (when the dialog was shown).
    const std::vector<SiteFile>& files() const { return files_; }
    QListWidget* lstFiles() const;

    // Lists the files the menus refer to again; showing the dialog does this.
    void refreshFiles();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void btnBrowseClick();
    void btnCopyClick();

    std::unique_ptr<Ui::FinalizedDialog> ui;
    MainWindowOps& main_;
    std::vector<SiteFile> files_;
};

} // namespace qloom::gui
