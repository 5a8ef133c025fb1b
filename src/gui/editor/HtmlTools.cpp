#include "gui/editor/HtmlTools.h"

#include "gui/common/EditorRules.h"
#include "gui/common/MainWindowOps.h"
#include "gui/common/TextConv.h"
#include "gui/editor/AddImageDialog.h"
#include "gui/editor/AddLinkDialog.h"
#include "gui/editor/AddTextDialog.h"
#include "gui/editor/HtmlFragments.h"

#include <QAbstractButton>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextCursor>

namespace qloom::gui {

namespace {
constexpr int kCaptionTab = 1;
constexpr int kMenuTab = 2;
} // namespace

HtmlTools::HtmlTools(MainWindowOps& ops, QWidget* mainWindow)
    : QObject(mainWindow), ops_(ops), main_(mainWindow),
      frmAddText_(new AddTextDialog(ops, mainWindow)),
      frmAddURL_(new AddLinkDialog(ops, mainWindow)),
      frmAddImage_(new AddImageDialog(ops, mainWindow)) {
    const auto insert = [this](const std::string& fragment) { insertHtml(fragment); };
    frmAddText_->setInserter(insert);
    frmAddURL_->setInserter(insert);
    frmAddImage_->setInserter(insert);
}

HtmlTools::~HtmlTools() = default;

void HtmlTools::connectButtons() {
    const auto bind = [this](const char* name, void (HtmlTools::*handler)()) {
        if (auto* button = main_->findChild<QAbstractButton*>(QString::fromLatin1(name)))
            connect(button, &QAbstractButton::clicked, this, handler);
    };
    bind("btnAddNEWLINE", &HtmlTools::btnAddNEWLINEClick);
    bind("btnAddText", &HtmlTools::btnAddTextClick);
    bind("btnAddURL", &HtmlTools::btnAddURLClick);
    bind("btnAddimage", &HtmlTools::btnAddimageClick);
}

QPlainTextEdit* HtmlTools::activeTarget() const {
    auto* tabs = main_->findChild<QTabWidget*>(QStringLiteral("tabProp"));
    if (!tabs)
        return nullptr;
    if (tabs->currentIndex() == kCaptionTab)
        return main_->findChild<QPlainTextEdit*>(QStringLiteral("txtCapHTML"));
    if (tabs->currentIndex() == kMenuTab)
        return main_->findChild<QPlainTextEdit*>(QStringLiteral("txtMenuHTML"));
    return nullptr;
}

void HtmlTools::insertHtml(const std::string& fragment) {
    QPlainTextEdit* target = activeTarget();
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
