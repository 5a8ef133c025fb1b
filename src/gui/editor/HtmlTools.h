#pragma once

#include <QObject>
#include <string>

class QPlainTextEdit;
class QWidget;

namespace qloom::gui {

class MainWindowOps;
class AddImageDialog;
class AddTextDialog;
class AddLinkDialog;

// The four HTML tool buttons of the main window and their dialogs. The dialogs are created once,
// in their fixed order, and keep their fields between uses.
class HtmlTools : public QObject {
    Q_OBJECT
public:
    // `mainWindow` holds tabProp, txtCapHTML, txtMenuHTML and the four buttons (by objectName).
    HtmlTools(MainWindowOps& ops, QWidget* mainWindow);
    ~HtmlTools() override;

    // Connects btnAddNEWLINE, btnAddText, btnAddURL and btnAddimage when present.
    void connectButtons();

    // Inserts the fragment and a line break at the caret of the active HTML tab's text box,
    // before any selection; does nothing on the other tabs.
    void insertHtml(const std::string& fragment);

    void btnAddNEWLINEClick();
    void btnAddTextClick();
    void btnAddURLClick();
    void btnAddimageClick();

    AddTextDialog* addTextDialog() const { return frmAddText_; }
    AddLinkDialog* addUrlDialog() const { return frmAddURL_; }
    AddImageDialog* addImageDialog() const { return frmAddImage_; }

private:
    QPlainTextEdit* activeTarget() const;
    template <class Dialog> void runDialog(Dialog& dialog);

    MainWindowOps& ops_;
    QWidget* main_;
    // Owned by the main window, like every window of the program.
    AddTextDialog* frmAddText_;
    AddLinkDialog* frmAddURL_;
    AddImageDialog* frmAddImage_;
};

} // namespace qloom::gui
