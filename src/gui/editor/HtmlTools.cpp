#include "gui/editor/HtmlTools.h"

#include "gui/common/EditorRules.h"
#include "gui/common/ProjectSessionApi.h"
#include "gui/common/TextConv.h"
#include "gui/editor/PropertyEditor.h"
#include "gui/editor/internal/AddImageDialog.h"
#include "gui/editor/internal/AddLinkDialog.h"
#include "gui/editor/internal/AddTextDialog.h"
#include "gui/editor/internal/HtmlFragments.h"

#include <QAbstractButton>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace qloom::gui {

HtmlTools::HtmlTools(ProjectSessionApi& session, PropertyEditor& editor, QWidget* dialogParent)
    : QObject(dialogParent), session_(session), editor_(editor),
      addTextDialog_(new AddTextDialog(session, dialogParent)),
      addLinkDialog_(new AddLinkDialog(session, dialogParent)),
      addImageDialog_(new AddImageDialog(session, dialogParent)) {
    const auto insert = [this](const std::string& fragment) { insertHtml(fragment); };
    addTextDialog_->setInserter(insert);
    addLinkDialog_->setInserter(insert);
    addImageDialog_->setInserter(insert);
    const PropertyEditor::HtmlToolButtons buttons = editor.htmlToolButtons();
    connect(buttons.addLineBreak, &QAbstractButton::clicked, this,
            &HtmlTools::onAddLineBreakClicked);
    connect(buttons.addText, &QAbstractButton::clicked, this, &HtmlTools::onAddTextClicked);
    connect(buttons.addLink, &QAbstractButton::clicked, this, &HtmlTools::onAddLinkClicked);
    connect(buttons.addImage, &QAbstractButton::clicked, this, &HtmlTools::onAddImageClicked);
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
    session_.setHelpAvailable(false);
    dialog.clearEntries();
    dialog.exec();
    session_.setHelpAvailable(true);
}

void HtmlTools::onAddLineBreakClicked() {
    insertHtml(std::string(kNewLineFragment));
}

void HtmlTools::onAddTextClicked() {
    runDialog(*addTextDialog_);
}

void HtmlTools::onAddLinkClicked() {
    runDialog(*addLinkDialog_);
}

void HtmlTools::onAddImageClicked() {
    runDialog(*addImageDialog_);
}

} // namespace qloom::gui
