#pragma once

#include "gui/editor/ToolDialog.h"

#include <QString>
#include <functional>
#include <memory>
#include <string>

namespace Ui {
class TfrmAddURL;
}

namespace qloom::gui {

class MainWindowOps;

// "Add URL": a link around some inner HTML, with an optional target.
class TfrmAddURL : public ToolDialog {
    Q_OBJECT
public:
    // Asks for an existing file, starting in `folder`; an empty result is a cancel.
    using FilePicker = std::function<QString(QWidget* parent, const QString& folder)>;

    TfrmAddURL(MainWindowOps& ops, QWidget* parent = nullptr);
    ~TfrmAddURL() override;

    void setFilePicker(FilePicker picker) { filePicker_ = std::move(picker); }

    void clearEntries();
    std::string fragment() const;
    QString lastFolder() const { return LastFolder; }

    void FormCreate();
    void btnAddClick();
    void btnCancelClick();
    void btnChooseFileClick();

private:
    std::unique_ptr<Ui::TfrmAddURL> ui;
    FilePicker filePicker_;
    QString LastFolder; // folder of the last file picked during this run
};

} // namespace qloom::gui
