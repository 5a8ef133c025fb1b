#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <string>

class QAbstractButton;

namespace qloom::gui {

class ProjectSessionApi;

// What the three HTML fragment dialogs share: a fixed-size window that opens centred on the
// desktop the first time and where the user left it after that, "Add" and "Cancel" with the
// standard glyphs, F1 anywhere for help, and handing the built fragment to the main window.
class ToolDialog : public QDialog {
    Q_OBJECT
public:
    using Inserter = std::function<void(const std::string& fragment)>;
    // Asks for a file, starting in `folder`; an empty result is a cancel.
    using FilePicker = std::function<QString(QWidget* parent, const QString& folder)>;

    void setInserter(Inserter inserter) { inserter_ = std::move(inserter); }
    void setFilePicker(FilePicker picker) { filePicker_ = std::move(picker); }
    // The folder the next file dialog starts in: that of the last file picked during this run.
    QString lastFolder() const { return lastFolder_; }

protected:
    explicit ToolDialog(QWidget* parent);

    // Ends a subclass's constructor, once its controls exist: the window is never smaller than
    // `clientArea`, nor than its controls need.
    void finishSetup(ProjectSessionApi& session, QAbstractButton* add, QAbstractButton* cancel,
                     QSize clientArea);

    // "Add" and "Cancel" first put the focus back on the first field, so it has the focus the
    // next time the dialog opens.
    void insertAndClose(QWidget* firstField, const std::string& fragment);
    void cancelAndClose(QWidget* firstField);

    // The file the user picked, starting in lastFolder(); empty when cancelled (or no picker).
    QString pickFile() { return filePicker_ ? filePicker_(this, lastFolder_) : QString(); }
    void setLastFolder(const QString& folder) { lastFolder_ = folder; }

private:
    Inserter inserter_;
    FilePicker filePicker_;
    QString lastFolder_;
};

} // namespace qloom::gui
