#include "gui/editor/HtmlTools.h"

#include "gui/common/EditorRules.h"
#include "gui/common/MainWindowOps.h"
#include "gui/common/TextConv.h"
#include "gui/editor/AddImageDialog.h"
#include "gui/editor/AddLinkDialog.h"
#include "gui/editor/AddTextDialog.h"
#include "gui/editor/HtmlFragments.h"
#include "gui/editor/PropertyEditor.h"

#include <QAbstractButton>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace qloom::gui {

HtmlTools::HtmlTools(MainWindowOps& ops, PropertyEditor& editor, QWidget* dialogParent)
    : QObject(dialogParent), ops_(ops), editor_(editor),
      frmAddText_(new AddTextDialog(ops, dialogParent)),
      frmAddURL_(new AddLinkDialog(ops, dialogParent)),
      frmAddImage_(new AddImageDialog(ops, dialogParent)) {
    const auto insert = [this](const std::string& fragment) { insertHtml(fragment); };
    frmAddText_->setInserter(insert);
    frmAddURL_->setInserter(insert);
    frmAddImage_->setInserter(insert);
    const PropertyEditor::HtmlToolButtons buttons = editor.htmlToolButtons();
    connect(buttons.newLine, &QAbstractButton::clicked, this, &HtmlTools::btnAddNEWLINEClick);
    connect(buttons.addText, &QAbstractButton::clicked, this, &HtmlTools::btnAddTextClick);
    connect(buttons.addUrl, &QAbstractButton::clicked, this, &HtmlTools::btnAddURLClick);
    connect(buttons.addImage, &QAbstractButton::clicked, this, &HtmlTools::btnAddimageClick);
}

HtmlTools::~HtmlTools() = default;

void HtmlTools::insertHtml(const std::string& fragment) {
    QPlainTextEdit* target = editor_.activeHtmlEdit();
    if (!target)
        return;
    QTextCursor cursor = target->textCursor();
    // The selection stays: the fragment goes in front of it.
    if (cursor.hasSelection())
        cursor.setPosition(cursor.selectionStart());
    // The text box works with single line breaks; its change handler stores them as CR LF.
    cursor.insertText(toQ(HtmlToEditorText(fragment)) + QLatin1Char('\n'));
    target->setTextCursor(cursor);
    target->setFocus();
}

template <class Dialog> void HtmlTools::runDialog(Dialog& dialog) {
    ops_.setHelpButtonEnabled(false);
    dialog.clearEntries();
    dialog.exec();
    ops_.setHelpButtonEnabled(true);
}

void HtmlTools::btnAddNEWLINEClick() {
    insertHtml(std::string(kNewLineFragment));
}

void HtmlTools::btnAddTextClick() {
    runDialog(*frmAddText_);
}

void HtmlTools::btnAddURLClick() {
    runDialog(*frmAddURL_);
}

void HtmlTools::btnAddimageClick() {
    runDialog(*frmAddImage_);
}

} // namespace qloom::gui
