#pragma once

#include <QObject>
#include <string>

class QPlainTextEdit;
class QWidget;

namespace qloom::gui {

class ProjectSessionApi;
class PropertyEditor;
class AddImageDialog;
class AddTextDialog;
class AddLinkDialog;

// What the four HTML tool buttons of the property editor do, and their dialogs. The dialogs are
// created once, in their fixed order, and keep their fields between uses.
class HtmlTools : public QObject {
    Q_OBJECT
public:
    // The fragments go into `editor`'s HTML text boxes; the dialogs are children of
    // `dialogParent` (the main window).
    HtmlTools(ProjectSessionApi& session, PropertyEditor& editor, QWidget* dialogParent);
    ~HtmlTools() override;

    // Inserts the fragment and a line break at the caret of the active HTML tab's text box,
    // before any selection; does nothing on the other tabs.
    void insertHtml(const std::string& fragment);

    void onAddLineBreakClicked();
    void onAddTextClicked();
    void onAddLinkClicked();
    void onAddImageClicked();

    AddTextDialog* addTextDialog() const { return addTextDialog_; }
    AddLinkDialog* addLinkDialog() const { return addLinkDialog_; }
    AddImageDialog* addImageDialog() const { return addImageDialog_; }

private:
    template <class Dialog> void runDialog(Dialog& dialog);

    ProjectSessionApi& session_;
    PropertyEditor& editor_;
    // Owned by the main window, like every window of the program.
    AddTextDialog* addTextDialog_;
    AddLinkDialog* addLinkDialog_;
    AddImageDialog* addImageDialog_;
};

} // namespace qloom::gui
