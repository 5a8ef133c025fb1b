#pragma once

#include <QDialog>
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
class TfrmAddURL : public QDialog {
    Q_OBJECT
public:
    using Inserter = std::function<void(const std::string& fragment)>;
    // Asks for an existing file, starting in `folder`; an empty result is a cancel.
    using FilePicker = std::function<QString(QWidget* parent, const QString& folder)>;

    TfrmAddURL(MainWindowOps& ops, QWidget* parent = nullptr);
    ~TfrmAddURL() override;

    void setInserter(Inserter inserter) { inserter_ = std::move(inserter); }
    void setFilePicker(FilePicker picker) { filePicker_ = std::move(picker); }

    void clearEntries();
    std::string fragment() const;
    QString lastFolder() const { return LastFolder; }

    void FormCreate();
    void btnAddClick();
    void btnCancelClick();
    void btnChooseFileClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmAddURL> ui;
    Inserter inserter_;
    FilePicker filePicker_;
    QString LastFolder; // folder of the last file picked during this run
};

} // namespace qloom::gui
